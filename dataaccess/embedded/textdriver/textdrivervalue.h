#pragma once
// Values of the text driver's columns: how the type guess sees a value, and the
// conversions used when a row is stored.
#include <QString>
#include <cstdint>
#include <string_view>

namespace da::embedded {

// Types of the staging table's columns. The table declares them under their T-SQL
// names so that the catalogue reports what the server would.
enum class TextColumnType {
    Int,
    BigInt,
    Float,
    Text,
    Bit
};

// "int", "bigint", "float", "nvarchar(255)" (or "nvarchar(width)"), "bit".
QByteArray textColumnSqlType(TextColumnType type, int width = 0);
// The type as schema.ini and messages name it: "Integer", "Float", "Text", ...
QString textColumnTypeName(TextColumnType type);

// What a value looks like to the type guess. A value counts as a number only when
// storing it as one keeps it: no sign but a leading minus, no leading zeros, at most
// 64 bits for an integer and at most 15 significant digits for a number with a point
// or an exponent (a double holds 15 decimal digits exactly). Blanks around a number
// are allowed; a value of blanks only is empty.
// Sixteen bytes without padding, so that it travels in two registers and a batch of
// them stays small.
struct TextValue {
    enum Shape : std::int32_t {
        Empty,
        Int32,
        Int64,
        Float,
        Text
    };
    union {
        std::int64_t integer = 0;  // Int32, Int64
        double real;               // Float
    };
    std::int32_t digits = 0;  // Int32, Int64: digits written; Float: significant digits
    Shape shape = Empty;
};
TextValue classifyTextValue(std::string_view value);

// Conversions for the types that schema.ini forces: a number as a reader of numbers
// takes it (plus sign, leading zeros, blanks around). False when the value is not one.
bool parseForcedInteger(std::string_view value, std::int64_t& out);
bool parseForcedDouble(std::string_view value, double& out);
// True/False, Yes/No, On/Off (any case) or an integer, zero meaning false.
bool parseForcedBit(std::string_view value, bool& out);

}  // namespace da::embedded
