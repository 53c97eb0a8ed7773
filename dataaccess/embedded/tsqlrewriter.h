#pragma once
// The T-SQL to SQLite rewriter of the embedded engine: expressions, select lists and
// FROM .. WHERE parts in SQLite's terms.
#include "tsqlsyntax.h"

#include <QString>

#include <functional>

namespace da::embedded {

// What an expression rewrite needs to know of its surroundings.
struct RewriteContext {
    QString database;  // current database (db.dbo.X prefixes)
    // For "INNER JOIN table alias ON x COLLATE c = alias.column": the temporary keyed
    // table (see fastpaths/keyedtable.h) to join instead, c being the SQLite collation, or empty to
    // keep the join. Unset, joins stay as written (a view keeps no plan of the moment).
    std::function<QString(const QString& table, const QString& column, const QString& collation)> keyedJoin;
};

// Rewrites a run of tokens (an expression, a select list, a FROM and WHERE part) into
// SQLite text: names quoted, N'' literals, schema prefixes dropped, catalogue views
// renamed, T-SQL functions mapped. Throws SqlError for what is not supported.
QString rewrite(const Tokens& tokens, Span span, const RewriteContext& context);

// The SQLite text of a SELECT from the tokens after SELECT: DISTINCT, TOP n (as LIMIT)
// and SQL Server's grouping rule (checkGrouping) handled.
QString rewriteSelect(const Tokens& tokens, Span span, const RewriteContext& context);

// The SQLite collation for a T-SQL collation name; throws SqlError for unknown ones.
QString collationFor(const QString& tsqlCollation);

}  // namespace da::embedded
