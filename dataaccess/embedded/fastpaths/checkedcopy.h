#pragma once
// The checked copy: an INSERT .. SELECT whose values come from columns (or NULL, or text
// literals) that already hold only what the target columns take, as the copy of the
// staging table into BV. Those values go in as they are, and where every value is so or
// goes through its column's limits, the target's value checks are not run again: they
// would only check what has been checked, at a third of the copy's cost.
#include "dataaccess/embedded/tsqlcolumns.h"
#include "dataaccess/embedded/tsqlsyntax.h"

#include <QStringList>
#include <vector>

namespace da::embedded {

class Catalogue;
class SqliteDb;

// Which values of the SELECT (the tokens after SELECT) fit their target column's limits
// as they are. Only the simple shapes are read: names of tables, qualified columns; for
// any other shape no value is known to fit.
std::vector<bool> valuesThatFit(SqliteDb& db, Catalogue& catalogue, const Tokens& t, Span select,
                                const std::vector<StoreLimit>& limits);

// Whether the target table's checks are all covered: each column's value fits or goes
// through its limits, and the table has no checks but the value checks.
bool checksCovered(SqliteDb& db, const QString& table, const QStringList& columns, const std::vector<bool>& fit,
                   const std::vector<StoreLimit>& limits);

}  // namespace da::embedded
