#include "keyedjoin.h"

#include "dataaccess/embedded/catalogue.h"
#include "dataaccess/embedded/sqlitedb.h"
#include "dataaccess/embedded/textcollation.h"
#include "dataaccess/embedded/tsqlcolumns.h"
#include "dataaccess/sqlerror.h"
#include "keyedtable.h"

namespace da::embedded {
namespace {


bool isKeyword(const Token& t) { return t.kind == TokenKind::Word && isTsqlKeyword(t.text.toUpper()); }

// Whether tokens [i, i + 3) are "qualifier . column".
bool isQualifiedColumn(const Tokens& t, int i, int end) {
    return i + 3 <= end && at(t, i).isName() && at(t, i + 1).isSymbol(".") && at(t, i + 2).isName();
}

// The end of the ON condition: the next comma, bracket or keyword other than COLLATE;
// -1 when what ends it starts no clause, so the condition would be more than it.
int conditionEnd(const Tokens& t, int on, int end) {
    int stop = on;
    while (stop < end && !at(t, stop).isSymbol(",") && !at(t, stop).isSymbol(";") && !at(t, stop).isSymbol(")") &&
           !(isKeyword(at(t, stop)) && !at(t, stop).isWord("COLLATE"))) {
        ++stop;
    }
    if (stop < end && at(t, stop).kind == TokenKind::Word) {
        static const char* clauses[] = {"WHERE", "GROUP", "ORDER", "HAVING", "JOIN", "INNER", "LEFT",
                                        "RIGHT", "FULL", "CROSS", "UNION", "EXCEPT", "INTERSECT"};
        bool clause = false;
        for (const char* c : clauses) clause = clause || at(t, stop).isWord(c);
        if (!clause) return -1;
    }
    return stop;
}

}  // namespace

std::optional<KeyedJoinShape> matchKeyedJoin(const Tokens& t, int i, int end) {
    KeyedJoinShape shape;
    shape.left = at(t, i).isWord("LEFT");
    int k = i;
    if (shape.left || at(t, k).isWord("INNER")) ++k;
    if (shape.left && k < end && at(t, k).isWord("OUTER")) ++k;
    if (k >= end || !at(t, k).isWord("JOIN")) return {};
    // A bare JOIN after another word (RIGHT, FULL, CROSS) is not an inner one.
    if (k == i && i > 0 && isKeyword(at(t, i - 1))) return {};
    ++k;
    if (!readTableReference(t, k, {i, end}, shape.table, shape.alias)) return {};
    if (k >= end || !at(t, k).isWord("ON")) return {};
    const int on = k + 1;
    const int stop = conditionEnd(t, on, end);
    // probe COLLATE c = alias.column: 8 tokens and the equals sign.
    if (stop < 0 || stop - on != 9) return {};
    int probe = on;
    int column = on + 6;
    if (!at(t, on + 5).isSymbol("=")) {
        if (!at(t, on + 3).isSymbol("=")) return {};
        probe = on + 4;
        column = on;
    }
    if (!isQualifiedColumn(t, probe, stop) || !at(t, probe + 3).isWord("COLLATE") || !at(t, probe + 4).isName() ||
        !isQualifiedColumn(t, column, stop) || !sameName(at(t, column).value, shape.alias) ||
        sameName(at(t, probe).value, shape.alias)) {
        return {};
    }
    shape.probe = {probe, probe + 3};
    shape.column = at(t, column + 2).value;
    shape.collation = at(t, probe + 4).value;
    shape.end = stop;
    return shape;
}

// On a text column of a table with no index that leads with the column under the
// join's collation.
QString KeyedJoins::keyedTable(const QString& table, const QString& column, const QString& collation) {
    if (collation != QLatin1String(kCollateCi) && collation != QLatin1String(kCollateCiAi)) return {};
    if (m_catalogue.objectType(table) != QLatin1String("table")) return {};
    const QVariant type = m_db.scalar(
        QStringLiteral("SELECT type FROM pragma_table_info(?1, 'main') WHERE name = ?2 COLLATE NOCASE"), {table, column});
    if (type.isNull() || !isTextType(type.toString())) return {};
    const QVariant indexes = m_db.scalar(
        QStringLiteral("SELECT count(*) FROM pragma_index_list(?1, 'main') l, pragma_index_xinfo(l.name, 'main') x "
                       "WHERE x.seqno = 0 AND x.name = ?2 COLLATE NOCASE AND x.coll = ?3 COLLATE NOCASE"),
        {table, column, collation});
    if (indexes.toInt() != 0) return {};
    const QString name = QStringLiteral("tsql_keyed$%1").arg(++m_count);
    m_db.exec(createKeyedTableSql(name, table, column, collation));
    m_tables << name;
    return name;
}

void KeyedJoins::dropAll() noexcept {
    for (const QString& name : std::as_const(m_tables)) {
        try {
            m_db.exec(QStringLiteral("DROP TABLE IF EXISTS temp.") + sqlName(name));
        } catch (...) {
            // Gone with a rolled-back transaction.
        }
    }
    m_tables.clear();
}

}  // namespace da::embedded
