#include "checkedcopy.h"

#include "dataaccess/embedded/catalogue.h"
#include "dataaccess/embedded/sqlitedb.h"
#include "dataaccess/sqlerror.h"

#include <QHash>

namespace da::embedded {
namespace {


QString tableDefinition(SqliteDb& db, const QString& name) {
    return db.scalar(QStringLiteral("SELECT sql FROM sqlite_schema WHERE type = 'table' AND name = ?1 COLLATE NOCASE"), {name})
        .toString();
}

}  // namespace

// Numeric columns with a value check of their own held numbers only when stored.
std::vector<bool> valuesThatFit(SqliteDb& db, Catalogue& catalogue, const Tokens& t, Span select,
                                const std::vector<StoreLimit>& limits) {
    std::vector<bool> fit(limits.size(), false);
    auto definition = [&db](const QString& name) { return tableDefinition(db, name); };
    const int from = findTopLevelWord(t, select, "FROM");
    if (from < 0 || wordAt(t, select.begin, select, "DISTINCT") || wordAt(t, select.begin, select, "TOP")) return fit;
    // FROM: tables with their aliases, joined by commas or JOIN .. ON.
    QHash<QString, QString> tables;
    int k = from + 1;
    try {
        for (;;) {
            ObjectName name;
            QString alias;
            if (!readTableReference(t, k, select, name, alias) || !name.database.isEmpty()) return fit;
            if (catalogue.objectType(name.name) != QLatin1String("table")) return fit;
            tables.insert(alias.toLower(), name.name);
            if (wordAt(t, k, select, "ON")) {
                for (int depth = 0; k < select.end; ++k) {
                    depth += at(t, k).isSymbol("(") ? 1 : at(t, k).isSymbol(")") ? -1
                                                                                 : 0;
                    if (depth == 0 && (at(t, k).isSymbol(",") || at(t, k).isWord("JOIN") || at(t, k).isWord("INNER") ||
                                       at(t, k).isWord("LEFT") || at(t, k).isWord("CROSS") || at(t, k).isWord("WHERE") ||
                                       at(t, k).isWord("GROUP") || at(t, k).isWord("ORDER"))) {
                        break;
                    }
                }
            }
            if (k >= select.end || at(t, k).isWord("WHERE") || at(t, k).isWord("GROUP") || at(t, k).isWord("ORDER")) break;
            if (at(t, k).isSymbol(",")) {
                ++k;
                continue;
            }
            while (wordAt(t, k, select, "INNER") || wordAt(t, k, select, "LEFT") || wordAt(t, k, select, "CROSS") ||
                   wordAt(t, k, select, "OUTER")) {
                ++k;
            }
            if (!wordAt(t, k, select, "JOIN")) return fit;
            ++k;
        }
    } catch (const SqlError&) {
        return fit;
    }
    const std::vector<Span> items = splitTopLevel(t, {select.begin, from});
    if (items.size() != limits.size()) return fit;
    for (size_t c = 0; c < limits.size(); ++c) {
        Span item = items[c];
        // Without its alias.
        if (item.end - item.begin >= 2 && at(t, item.end - 1).isName() && !at(t, item.end - 2).isSymbol(".")) {
            item.end -= wordAt(t, item.end - 2, item, "AS") ? 2 : 1;
        }
        const int size = item.end - item.begin;
        if (size == 1 && at(t, item.begin).isWord("NULL")) {
            fit[c] = true;
            continue;
        }
        if (size == 1 && at(t, item.begin).kind == TokenKind::String) {
            fit[c] = limits[c].kind.isEmpty() ||
                     (limits[c].kind == QLatin1String("text") &&
                      (limits[c].length < 0 || at(t, item.begin).value.size() <= limits[c].length));
            continue;
        }
        if (size != 3 || !at(t, item.begin).isName() || !at(t, item.begin + 1).isSymbol(".") || !at(t, item.begin + 2).isName()) {
            continue;
        }
        const QString source = tables.value(at(t, item.begin).value.toLower());
        if (source.isEmpty()) continue;
        SqliteStatement column(db, QStringLiteral("SELECT name, type FROM pragma_table_info(?1, 'main') WHERE "
                                                  "name = ?2 COLLATE NOCASE"));
        column.bind({source, at(t, item.begin + 2).value});
        if (!column.step()) continue;
        const StoreLimit held = storeLimitOf(column.value(1).toString());
        // A numeric column's values are of its type only where the column checked them.
        if (held.kind != QLatin1String("text") && !hasValueCheck(definition(source), column.value(0).toString())) continue;
        fit[c] = limitHolds(held, limits[c]);
    }
    return fit;
}

bool checksCovered(SqliteDb& db, const QString& table, const QStringList& columns, const std::vector<bool>& fit,
                   const std::vector<StoreLimit>& limits) {
    const QString targetSql = tableDefinition(db, table);
    bool covered = !targetSql.isEmpty() && !hasOtherChecks(targetSql);
    for (size_t k = 0; k < limits.size() && covered; ++k) {
        covered = fit[k] || !limits[k].kind.isEmpty() || !hasValueCheck(targetSql, columns[static_cast<int>(k)]);
    }
    return covered;
}

}  // namespace da::embedded
