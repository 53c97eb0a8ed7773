#pragma once
// A hashed equality join for the engine's bulk statements. "T JOIN M ON T.x COLLATE C =
// M.y" with no index on M.y makes SQLite build an automatic index and walk it once for
// every row of T, which dominates a join of a million rows. A virtual table of the
// module tsql_keyed stands for M instead: it has M's columns and a hidden one, the
// probe; "keyed(T.x) AS M" gives the rows of M whose y equals the probe under the
// collation, from a hash of y built when the statement first probes it. It holds the
// columns the statement uses only, and only while the statement runs.
#include <QString>

struct sqlite3;

namespace da::embedded {

// Registers the module on the connection. Throws SqlError.
void registerKeyedJoin(sqlite3* db);

// The statement creating the temporary virtual table name for table's rows keyed by
// column under the SQLite collation.
QString createKeyedTableSql(const QString& name, const QString& table, const QString& column,
                            const QString& collation);

}  // namespace da::embedded
