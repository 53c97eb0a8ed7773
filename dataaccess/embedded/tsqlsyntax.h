#pragma once
// The shape of T-SQL statements for the embedded engine: splitting a batch, brackets,
// lists and object names. Pure functions over tokens.
#include "dataaccess/tsqllexer.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace da::embedded {

// A half-open token range [begin, end).
// The token at an index of int, as spans count them.
inline const Token& at(const Tokens& t, int i) { return t[static_cast<size_t>(i)]; }

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

// Whether token i lies within span and is the bare word.
bool wordAt(const Tokens& tokens, int i, Span span, const char* word);

// A possibly qualified object name: "[dbo].[BV]", "Master.Dbo.sysdatabases", "db..T".
struct ObjectName {
    QString database;  // empty when not given
    QString name;
};

// Reads an object name starting at index i; next receives the index after it.
// Returns false when no name starts there.
bool readObjectName(const Tokens& tokens, int i, ObjectName& out, int& next);

// A table of FROM or JOIN at i: its name, then "[AS] alias" or the name as alias. Moves
// i past them; false when no name starts there.
bool readTableReference(const Tokens& tokens, int& i, Span span, ObjectName& table, QString& alias);

// Reads an object name of the current database (db.dbo. prefixes of it allowed) at i
// and moves i past it. Throws SqlError for another database or a temporary table.
QString readLocalName(const Tokens& tokens, int& i, Span span, const QString& database);

// The schema part "dbo" (any letter case) or an empty one ("db..T").
bool isDbo(const QString& part);
// Names compared as the server compares them (letter case ignored).
bool sameName(const QString& a, const QString& b);
// The ? parameters of the tokens.
int countParams(const Tokens& tokens, Span span);
// The tokens as written, joined by blanks.
QString rawText(const Tokens& tokens, Span span);
// T-SQL's reserved words that can stand in the statements the engine rewrites
// (upper-case); any other bare word is a name.
bool isTsqlKeyword(const QString& upperWord);

// SQL Server's rule for a SELECT that aggregates without GROUP BY: every column in
// its select list and ORDER BY must stand inside an aggregate. span covers the tokens
// after SELECT. Throws SqlError naming the first column that breaks it.
void checkGrouping(const Tokens& tokens, Span span);

// "Incorrect syntax near 'X'." for token i (or the end of the statement).
[[noreturn]] void syntaxNear(const Tokens& tokens, int i, Span span);
[[noreturn]] void notSupported(const QString& construct);

}  // namespace da::embedded
