#pragma once
// The statements the engine runs, one row each of the table in statementshapes.cpp: the
// leading words, the handler, whether it comes down to exactly one SQLite statement (run
// without a transaction of its own then), whether it is run outside any transaction
// (databases are files of the server folder) and whether it may follow IF.
//
// Where a new construct goes: a statement is a row of that table and a handler of
// StatementRunner; a function of an expression a row of tsqlfunctions.cpp; an error a row
// of servererrors.cpp; a statement of the program that needs its own speed a fast path
// under fastpaths/, tried before the generic rewrite.
#include "tsqlsyntax.h"

#include <QVariant>
#include <vector>

namespace da {
struct ResultSet;
}

namespace da::embedded {

class StatementRunner;

struct StatementCall {
    const QString& source;
    const Tokens& tokens;
    Span span;
    const std::vector<QVariant>& params;
};

struct StatementShape {
    enum class Sqlite {
        One,
        Several,
        OneWithoutInto
    };

    const char* first;
    const char* second;  // nullptr: any
    ResultSet (*handler)(StatementRunner& runner, const StatementCall& call);
    Sqlite sqlite;
    bool outsideTransactions;
    bool afterIf;
};

// The shape of the statement, or nullptr for a statement the engine does not know.
const StatementShape* findStatementShape(const Tokens& tokens, Span span);
// Whether the token starts a statement that may follow IF.
bool startsStatementAfterIf(const Token& token);
// Whether the statement comes down to exactly one SQLite statement.
bool isOneSqliteStatement(const StatementShape& shape, const Tokens& tokens, Span span);

}  // namespace da::embedded
