#pragma once
// Column definitions of CREATE TABLE and ALTER TABLE .. ADD in SQLite's terms: T-SQL
// types kept as declared, text columns under the database's default collation, a
// value check on numeric columns, IDENTITY as SQLite's numbered key.
#include "tsqlrewriter.h"

#include <QString>

namespace da::embedded {

struct ColumnDef {
    QString name;
    QString type;        // declared type as written, "nvarchar(50)"
    bool identity = false;
    bool primaryKey = false;
    QString sqlite;      // the definition in SQLite's terms
};

// Translates one column definition. Throws SqlError.
ColumnDef translateColumn(const Tokens& tokens, Span span, const RewriteContext& context);

// True for the character types whose values compare under a collation.
bool isTextType(const QString& declaredType);

// The name of the value check of a numeric type ("int", "float", ...), or empty.
QString numericCheckType(const QString& declaredType);

}  // namespace da::embedded
