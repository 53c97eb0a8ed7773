#pragma once
// How the text driver guesses a column's type from the values of the rows it scans, and
// how it trims a header name. Shared by the server's reading and this computer's reading
// of the same file, so both make the same columns.
#include "textdrivervalue.h"

#include <algorithm>
#include <string_view>

namespace da::embedded {

// What the scanned rows say about one column's type.
struct TypeGuess {
    bool int32 = false, int64 = false, real = false, text = false;
    int integerDigits = 0;

    void add(std::string_view value) {
        const TextValue v = classifyTextValue(value);
        switch (v.shape) {
        case TextValue::Empty: return;  // no say in the guess
        case TextValue::Int32: int32 = true; break;
        case TextValue::Int64: int64 = true; break;
        case TextValue::Float: real = true; return;
        case TextValue::Text: text = true; return;
        }
        integerDigits = std::max(integerDigits, v.digits);
    }

    // A column without any value is text. Integers of more than 15 digits beside
    // floats stay exact only as text.
    TextColumnType type() const {
        if (text || (real && integerDigits > 15))
            return TextColumnType::Text;
        if (real)
            return TextColumnType::Float;
        if (int64)
            return TextColumnType::BigInt;
        if (int32)
            return TextColumnType::Int;
        return TextColumnType::Text;
    }
};

// Trimmed as the system trims: characters of code 32 or lower off both ends.
inline std::string_view trimmedHeaderName(std::string_view v) {
    while (!v.empty() && static_cast<unsigned char>(v.front()) <= 32)
        v.remove_prefix(1);
    while (!v.empty() && static_cast<unsigned char>(v.back()) <= 32)
        v.remove_suffix(1);
    return v;
}

}  // namespace da::embedded
