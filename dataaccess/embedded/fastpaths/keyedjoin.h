#pragma once
// The keyed join: "[INNER | LEFT [OUTER]] JOIN table [AS] alias ON probe COLLATE c =
// alias.column" (sides either way round, the probe a column of a table before it), the
// copy's join of the breeding values with the animals. Where the table has no index
// leading with the column under that collation, the join reads a keyed table of it
// (keyedtable.h) instead of the automatic index SQLite would build and search per row.
#include "dataaccess/embedded/tsqlsyntax.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace da::embedded {

class Catalogue;
class SqliteDb;

struct KeyedJoinShape {
    bool left = false;
    ObjectName table;
    QString alias;
    Span probe;         // "qualifier . column" of the table before
    QString column;     // of the joined table
    QString collation;  // T-SQL
    int end = 0;        // the token after the condition
};

// The keyed join's shape at token i (INNER, LEFT or JOIN) up to end, or none.
std::optional<KeyedJoinShape> matchKeyedJoin(const Tokens& tokens, int i, int end);

// The keyed tables of the statement running now.
class KeyedJoins {
public:
    KeyedJoins(SqliteDb& db, Catalogue& catalogue) : m_db(db), m_catalogue(catalogue) {}

    // The keyed table to join for table's column under the SQLite collation, or empty
    // where the join should stay as written (an index serves it, not a text column).
    QString keyedTable(const QString& table, const QString& column, const QString& collation);
    // Drops the statement's keyed tables.
    void dropAll() noexcept;

private:
    SqliteDb& m_db;
    Catalogue& m_catalogue;
    QStringList m_tables;
    int m_count = 0;
};

}  // namespace da::embedded
