#pragma once
// The T-SQL to SQLite rewriter of the embedded engine: pure functions over tokens.
// It recognises the statement shapes this system sends; anything else is refused with
// an error naming the construct as not supported by the embedded engine.
#include "tsqllexer.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace da::embedded {

// A half-open token range [begin, end).
struct Span {
    int begin = 0;
    int end = 0;
    bool empty() const { return begin >= end; }
};

// Splits a batch into statements the way SQL Server reads them: at ";" and where a
// new statement keyword starts at the outer level. CREATE VIEW and CREATE PROCEDURE
// take the rest of the batch.
std::vector<Span> splitStatements(const Tokens& tokens);

// Index of the token that closes the bracket opened at open, or -1.
int matchingParen(const Tokens& tokens, int open);

// Top-level comma-separated parts of a range.
std::vector<Span> splitTopLevel(const Tokens& tokens, Span span, const char* separator = ",");

// Index of the first bare word at bracket depth 0 within span, or -1.
int findTopLevelWord(const Tokens& tokens, Span span, const char* word);

// A possibly qualified object name: "[dbo].[BV]", "Master.Dbo.sysdatabases", "db..T".
struct ObjectName {
    QString database;  // empty when not given
    QString name;
};

// Reads an object name starting at index i; next receives the index after it.
// Returns false when no name starts there.
bool readObjectName(const Tokens& tokens, int i, ObjectName& out, int& next);

// What an expression rewrite needs to know of its surroundings.
struct RewriteContext {
    QString database;                 // current database (db.dbo.X prefixes)
};

// Rewrites a run of tokens (an expression, a select list, a FROM and WHERE part) into
// SQLite text: names quoted, N'' literals, schema prefixes dropped, catalogue views
// renamed, T-SQL functions mapped. Throws SqlError for what is not supported.
QString rewrite(const Tokens& tokens, Span span, const RewriteContext& context);

// The SQLite collation for a T-SQL collation name; throws SqlError for unknown ones.
QString collationFor(const QString& tsqlCollation);

// A column definition of CREATE TABLE or ALTER TABLE .. ADD.
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

// SQL Server's rule for a SELECT that aggregates without GROUP BY: every column in
// its select list and ORDER BY must stand inside an aggregate. span covers the tokens
// after SELECT. Throws SqlError naming the first column that breaks it.
void checkGrouping(const Tokens& tokens, Span span);

[[noreturn]] void notSupported(const QString& construct);

}  // namespace da::embedded
