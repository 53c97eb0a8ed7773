#pragma once
// Column definitions of CREATE TABLE and ALTER TABLE .. ADD in SQLite's terms: T-SQL
// types kept as declared, text columns under the database's default collation, a
// value check on numeric columns, IDENTITY as SQLite's numbered key.
#include "tsqlrewriter.h"

#include <QString>

struct sqlite3;

namespace da::embedded {

struct ColumnDef {
    QString name;
    QString type;  // declared type as written, "nvarchar(50)"
    bool identity = false;
    bool primaryKey = false;
    QString sqlite;  // the definition in SQLite's terms
};

// Translates one column definition. Throws SqlError.
ColumnDef translateColumn(const Tokens& tokens, Span span, const RewriteContext& context);

// True for the character types whose values compare under a collation.
bool isTextType(const QString& declaredType);

// The name of the value check of a numeric type ("int", "float", ...), or empty.
QString numericCheckType(const QString& declaredType);

// The value check of a numeric column: a number sorts before any text, so numbers and
// NULL pass on the comparisons alone; only a value left as text reaches the function,
// which raises SQL Server's conversion error.
QString valueCheck(const QString& column, const QString& checkType);

// What a column of the declared type keeps its values to: the store kind ("int",
// "smallint", "tinyint", "bigint", "bit", "float", "real" or "text") and for text the
// length in characters (-1: none). Empty for types without limits of their own.
struct StoreLimit {
    QString kind;
    int length = -1;
};
StoreLimit storeLimitOf(const QString& declaredType);

// The value as a column with that limit stores it: tsql_store(..) around sqlExpr, or
// sqlExpr itself for a type without limits.
QString storedValue(const QString& sqlExpr, const StoreLimit& limit);
// The same for a column's value (named once more, so cheap to read again): a text whose
// bytes are within the length goes in as it is, without the call.
QString storedColumnValue(const QString& column, const StoreLimit& limit);

// Whether every value a column of the source type can hold fits the target's limit.
bool limitHolds(const StoreLimit& source, const StoreLimit& target);

// Whether a table's SQLite definition gives the column a value check: the column then
// holds numbers and NULL only.
bool hasValueCheck(const QString& tableSql, const QString& column);

// Whether the definition has checks besides the value checks.
bool hasOtherChecks(const QString& tableSql);

// While it lives, statements prepared on the connection leave the tables' checks out,
// for values known to pass them; the connection's setting comes back at its end.
class ChecksSkipped {
public:
    explicit ChecksSkipped(sqlite3* db);
    ~ChecksSkipped();
    ChecksSkipped(const ChecksSkipped&) = delete;
    ChecksSkipped& operator=(const ChecksSkipped&) = delete;

private:
    sqlite3* m_db;
    bool m_wasSkipping = false;
};

}  // namespace da::embedded
