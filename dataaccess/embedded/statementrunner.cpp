#include "statementrunner.h"

#include "dataaccess/sqlerror.h"
#include "keyedjoin.h"
#include "openrowset.h"
#include "readablefolders.h"
#include "textcollation.h"
#include "tsqlcolumns.h"
#include "serverfolder.h"
#include "sqlitedb.h"
#include "textdriver.h"

#include <QHash>
#include <optional>
#include <sqlite3.h>

namespace da::embedded {

namespace {

const Token& at(const Tokens& t, int i) { return t[static_cast<size_t>(i)]; }

int countParams(const Tokens& t, Span span) {
    int n = 0;
    for (int i = span.begin; i < span.end; ++i) n += at(t, i).kind == TokenKind::Param;
    return n;
}


// SELECT (without INTO), INSERT, UPDATE and DELETE run as exactly one SQLite
// statement, after reads of the catalogue at most.
bool isSingleStatement(const Tokens& t, Span span) {
    const Token& first = at(t, span.begin);
    if (first.isWord("SELECT")) return findTopLevelWord(t, {span.begin + 1, span.end}, "INTO") < 0;
    return first.isWord("INSERT") || first.isWord("UPDATE") || first.isWord("DELETE");
}

// RAISERROR('text', severity, state): the batch stops with the text as the error.
[[noreturn]] void raiseError(const Tokens& t, Span span) {
    const int open = span.begin + 1;
    if (open >= span.end || !at(t, open).isSymbol("(") || matchingParen(t, open) != span.end - 1) syntaxNear(t, open, span);
    const auto items = splitTopLevel(t, {open + 1, span.end - 1});
    if (items.size() != 3 || at(t, items[0].begin).kind != TokenKind::String) {
        notSupported(QStringLiteral("RAISERROR other than of a text, a severity and a state"));
    }
    throw SqlError(at(t, items[0].begin).value, 50000, QStringLiteral("42000"));
}

}  // namespace

StatementRunner::StatementRunner(SqliteDb& db, ServerFolder& folder, const QString& database)
    : m_db(db),
      m_folder(folder),
      m_database(database),
      m_catalogue(db, folder, database),
      m_definitions(db, m_catalogue, database),
      m_appLocks(folder.dir(), database) {}

void StatementRunner::createCatalogueViews() { m_catalogue.createViews(); }

ResultSet StatementRunner::runBatch(const QString& sql, const std::vector<QVariant>& params) {
    m_variables.clear();  // a batch's variables are its own
    const Tokens tokens = tokenize(sql);
    for (const Token& tk : tokens) {
        if (tk.isName() && tk.value.compare(QLatin1String("sysdatabases"), Qt::CaseInsensitive) == 0) {
            m_catalogue.refreshDatabaseList();
            break;
        }
    }
    return runStatements(sql, tokens, {0, static_cast<int>(tokens.size())}, params);
}

ResultSet StatementRunner::runStatements(const QString& source, const Tokens& tokens, Span span,
                                         std::vector<QVariant> params) {
    Tokens part(tokens.begin() + span.begin, tokens.begin() + span.end);
    ResultSet last;
    long long affected = -1;
    size_t paramAt = 0;
    for (const Span& s : splitStatements(part)) {
        const auto n = static_cast<size_t>(countParams(part, s));
        std::vector<QVariant> own;
        for (size_t k = 0; k < n; ++k) own.push_back(paramAt + k < params.size() ? params[paramAt + k] : QVariant());
        paramAt += n;
        if (batchVariableStatement(part, s)) continue;
        // The batch's variables stand in the statement as their values.
        bool usesVariables = false;
        for (int k = s.begin; k < s.end && !usesVariables; ++k) {
            usesVariables = at(part, k).kind == TokenKind::Variable && m_variables.contains(at(part, k).text.toUpper());
        }
        if (usesVariables) {
            Tokens replaced(part.begin() + s.begin, part.begin() + s.end);
            for (Token& tk : replaced) {
                if (tk.kind != TokenKind::Variable || !m_variables.contains(tk.text.toUpper())) continue;
                const QVariant v = m_variables.value(tk.text.toUpper());
                tk.kind = v.isNull() ? TokenKind::Word : TokenKind::Number;
                tk.text = tk.value = v.isNull() ? QStringLiteral("NULL") : v.toString();
            }
            ResultSet r = runAtomic(source, replaced, {0, static_cast<int>(replaced.size())}, own);
            if (r.rowsAffected >= 0) affected = r.rowsAffected;
            if (r.hasRows) last = std::move(r);
            continue;
        }
        ResultSet r = runAtomic(source, part, s, own);
        if (r.rowsAffected >= 0) affected = r.rowsAffected;
        if (r.hasRows) last = std::move(r);
    }
    last.rowsAffected = affected;
    return last;
}

ResultSet StatementRunner::runAtomic(const QString& source, const Tokens& t, Span span,
                                     const std::vector<QVariant>& params) {
    const Token& first = at(t, span.begin);
    // A database is a file of the folder, outside any transaction of this one.
    if ((first.isWord("CREATE") || first.isWord("DROP")) && wordAt(t, span.begin + 1, span, "DATABASE")) {
        int i = span.begin + 2;
        const QString name = readLocalName(t, i, span, m_database);
        if (i != span.end) syntaxNear(t, i, span);
        if (first.isWord("CREATE")) {
            m_folder.createDatabase(name);
        } else {
            if (name.compare(m_database, Qt::CaseInsensitive) == 0) {
                throw SqlError(QStringLiteral("Cannot drop database \"%1\" because it is currently in use.").arg(name));
            }
            m_folder.dropDatabase(name);
        }
        return {};
    }
    // Outside any transaction, a statement that comes down to one SQLite statement is
    // atomic as SQLite runs it; wrapped in a transaction, SQLite would also keep a
    // statement journal holding the old content of every page it changes.
    // The keyed tables of a join are the statement's own.
    struct KeyedTables {
        StatementRunner& runner;
        ~KeyedTables() { runner.dropKeyedTables(); }
    } keyedTables{*this};
    const bool own = sqlite3_get_autocommit(m_db.handle()) != 0;
    if (own && isSingleStatement(t, span)) return run(source, t, span, params);
    m_db.exec(own ? QStringLiteral("BEGIN") : QStringLiteral("SAVEPOINT tsql_statement"));
    try {
        ResultSet r = run(source, t, span, params);
        m_db.exec(own ? QStringLiteral("COMMIT") : QStringLiteral("RELEASE tsql_statement"));
        return r;
    } catch (...) {
        try {
            m_db.exec(own ? QStringLiteral("ROLLBACK") : QStringLiteral("ROLLBACK TO tsql_statement; RELEASE tsql_statement"));
        } catch (const SqlError&) {
            // The engine rolled the transaction back itself.
        }
        throw;
    }
}

ResultSet StatementRunner::run(const QString& source, const Tokens& t, Span span, const std::vector<QVariant>& params) {
    const Token& first = at(t, span.begin);
    if (first.isWord("SELECT")) return select(t, span, params);
    if (first.isWord("INSERT")) return insert(t, span, params);
    if (first.isWord("UPDATE")) return update(t, span, params);
    if (first.isWord("DELETE")) return remove(t, span, params);
    if (first.isWord("CREATE")) {
        m_definitions.create(source, t, span);
        return {};
    }
    if (first.isWord("DROP")) {
        m_definitions.drop(t, span);
        return {};
    }
    if (first.isWord("ALTER")) {
        m_definitions.alter(t, span);
        return {};
    }
    if (first.isWord("IF")) return ifStatement(source, t, span, params);
    if (first.isWord("RAISERROR")) raiseError(t, span);
    if (first.isWord("EXEC") || first.isWord("EXECUTE")) return execProcedure(t, span);
    if (first.isWord("TRUNCATE") && wordAt(t, span.begin + 1, span, "TABLE")) {
        int i = span.begin + 2;
        const QString name = readLocalName(t, i, span, m_database);
        if (m_catalogue.objectType(name) != QLatin1String("table")) {
            throw SqlError(QStringLiteral("Cannot find the object \"%1\" because it does not exist or you do not have "
                                          "permissions.").arg(name));
        }
        m_db.exec(QStringLiteral("DELETE FROM ") + sqlName(name));
        return {};
    }
    if (first.isWord("SET") && span.end - span.begin == 3) {
        static const char* options[] = {"NOCOUNT", "ANSI_NULLS", "QUOTED_IDENTIFIER", "ANSI_PADDING", "ANSI_WARNINGS",
                                        "XACT_ABORT"};
        for (const char* o : options) {
            if (at(t, span.begin + 1).isWord(o)) return {};  // session options without effect here
        }
    }
    notSupported(QStringLiteral("The statement '%1'").arg(first.text.toUpper()));
}

RewriteContext StatementRunner::context() {
    RewriteContext c;
    c.database = m_database;
    c.keyedJoin = [this](const QString& table, const QString& column, const QString& collation) {
        return keyedTable(table, column, collation);
    };
    return c;
}

// A join reaches a table through its keys where SQLite would build an automatic index
// instead: on a text column of a table with no index that leads with the column under
// the join's collation.
QString StatementRunner::keyedTable(const QString& table, const QString& column, const QString& collation) {
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
    const QString name = QStringLiteral("tsql_keyed$%1").arg(++m_keyedCount);
    m_db.exec(createKeyedTableSql(name, table, column, collation));
    m_keyedTables << name;
    return name;
}

void StatementRunner::dropKeyedTables() noexcept {
    for (const QString& name : std::as_const(m_keyedTables)) {
        try {
            m_db.exec(QStringLiteral("DROP TABLE IF EXISTS temp.") + sqlName(name));
        } catch (...) {
            // Gone with a rolled-back transaction.
        }
    }
    m_keyedTables.clear();
}

QString StatementRunner::expr(const Tokens& t, Span span) { return rewrite(t, span, context()); }





ResultSet StatementRunner::query(const QString& sql, const std::vector<QVariant>& params) {
    SqliteStatement st(m_db, sql);
    st.bind(params);
    ResultSet r;
    const int columns = st.columnCount();
    if (columns > 0) {
        r.hasRows = true;
        for (int c = 0; c < columns; ++c) r.columns << st.columnName(c);
    }
    while (st.step()) {
        std::vector<QVariant> row;
        row.reserve(static_cast<size_t>(columns));
        for (int c = 0; c < columns; ++c) row.push_back(st.value(c));
        r.rows.push_back(std::move(row));
    }
    if (columns == 0) r.rowsAffected = m_db.changes();
    return r;
}


ResultSet StatementRunner::select(const Tokens& t, Span span, const std::vector<QVariant>& params) {
    const int into = findTopLevelWord(t, {span.begin + 1, span.end}, "INTO");
    if (into >= 0) return selectInto(t, span, into, params);
    return query(rewriteSelect(t, {span.begin + 1, span.end}, context()), params);
}

ResultSet StatementRunner::selectInto(const Tokens& t, Span span, int into, const std::vector<QVariant>& params) {
    int i = into + 1;
    const QString target = readLocalName(t, i, span, m_database);
    if (!m_catalogue.objectType(target).isEmpty()) {
        throw SqlError(QStringLiteral("There is already an object named '%1' in the database.").arg(target));
    }
    if (wordAt(t, i, span, "FROM") && wordAt(t, i + 1, span, "OPENROWSET")) {
        const Span list{span.begin + 1, into};
        if (!(list.end - list.begin == 1 && at(t, list.begin).isSymbol("*"))) {
            notSupported(QStringLiteral("A column list with OPENROWSET"));
        }
        const RowsetSource source = readOpenRowset(t, i + 1, span);
        ResultSet r;
        // Read afresh for each fill, so that a changed list holds at once.
        const ReadableFolders readable = ReadableFolders::ofServer(m_folder.dir());
        r.rowsAffected = fillTableFromTextFile(m_db.handle(), target, source.dir, source.file,
                                               [&readable](const QString& path) { return readable.allows(path); });
        return r;
    }
    // The select list up to INTO, then the rest from FROM on.
    Tokens joined(t.begin() + span.begin + 1, t.begin() + into);
    joined.insert(joined.end(), t.begin() + i, t.begin() + span.end);
    const QString sql = rewriteSelect(joined, {0, static_cast<int>(joined.size())}, context());
    QStringList names;
    QStringList types;
    {
        SqliteStatement st(m_db, sql);
        st.bind(params);
        for (int c = 0; c < st.columnCount(); ++c) {
            const QString name = st.columnName(c);
            if (names.contains(name, Qt::CaseInsensitive)) {
                throw SqlError(QStringLiteral("Column names in each table must be unique. Column name '%1' in table "
                               "'%2' is specified more than once.").arg(name, target));
            }
            names << name;
            types << st.columnDeclType(c);
        }
        // Computed columns have no declared type: the first row's values give one,
        // as SQL Server types them from the expressions.
        if (types.contains(QString()) && st.step()) {
            for (int c = 0; c < types.size(); ++c) {
                if (!types[c].isEmpty()) continue;
                const QVariant v = st.value(c);
                if (v.typeId() == QMetaType::LongLong) types[c] = QStringLiteral("int");
                else if (v.typeId() == QMetaType::Double) types[c] = QStringLiteral("float");
                else if (v.typeId() == QMetaType::QString) types[c] = QStringLiteral("nvarchar(4000)");
            }
        }
    }
    QStringList defs;
    for (int c = 0; c < names.size(); ++c) {
        QString def = sqlName(names[c]);
        if (!types[c].isEmpty()) def += u' ' + types[c];
        if (isTextType(types[c])) def += QStringLiteral(" COLLATE ") + QLatin1String(kCollateCi);
        defs << def;
    }
    m_db.exec(QStringLiteral("CREATE TABLE %1 (%2)").arg(sqlName(target), defs.join(QLatin1String(", "))));
    ResultSet r = query(QStringLiteral("INSERT INTO %1 ").arg(sqlName(target)) + sql, params);
    return r;
}

ResultSet StatementRunner::insert(const Tokens& t, Span span, const std::vector<QVariant>& params) {
    int i = span.begin + 1;
    if (wordAt(t, i, span, "INTO")) ++i;
    const QString table = readLocalName(t, i, span, m_database);
    const QString type = m_catalogue.objectType(table);
    if (type != QLatin1String("table") && type != QLatin1String("view")) {
        throw SqlError(QStringLiteral("Invalid object name '%1'.").arg(table));
    }
    const QStringList tableColumns = m_catalogue.columnsOf(table);
    const QString identity = m_catalogue.identityOf(table);
    QStringList target;
    const bool listed = i < span.end && at(t, i).isSymbol("(") && !wordAt(t, i + 1, span, "SELECT");
    if (listed) {
        const int close = matchingParen(t, i);
        for (const Span& s : splitTopLevel(t, {i + 1, close})) {
            if (s.end - s.begin != 1 || !at(t, s.begin).isName()) syntaxNear(t, s.begin, span);
            const QString col = at(t, s.begin).value;
            bool found = false;
            for (const QString& c : tableColumns) found = found || c.compare(col, Qt::CaseInsensitive) == 0;
            if (!found) throw SqlError(QStringLiteral("Invalid column name '%1'.").arg(col));
            if (!identity.isEmpty() && col.compare(identity, Qt::CaseInsensitive) == 0) {
                throw SqlError(QStringLiteral("Cannot insert explicit value for identity column in table '%1' when "
                                              "IDENTITY_INSERT is set to OFF.").arg(table));
            }
            target << col;
        }
        i = close + 1;
    } else {
        for (const QString& c : tableColumns) {
            if (identity.isEmpty() || c.compare(identity, Qt::CaseInsensitive) != 0) target << c;
        }
    }
    const QString mismatch =
        listed ? QStringLiteral("The select list for the INSERT statement contains a different number of items than "
                                "the insert list.")
               : QStringLiteral("Column name or number of supplied values does not match table definition.");
    QStringList quoted;
    for (const QString& c : target) quoted << sqlName(c);
    const QString head = QStringLiteral("INSERT INTO %1 (%2) ").arg(sqlName(table), quoted.join(QLatin1String(", ")));
    const std::vector<StoreLimit> limits = limitsOf(table, target);
    if (wordAt(t, i, span, "DEFAULT") && wordAt(t, i + 1, span, "VALUES") && i + 2 == span.end) {
        return query(QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(sqlName(table)), params);
    }
    if (wordAt(t, i, span, "VALUES")) {
        QStringList rows;
        for (const Span& row : splitTopLevel(t, {i + 1, span.end})) {
            if (row.end - row.begin < 2 || !at(t, row.begin).isSymbol("(") || matchingParen(t, row.begin) != row.end - 1) {
                syntaxNear(t, row.begin, span);
            }
            const auto items = splitTopLevel(t, {row.begin + 1, row.end - 1});
            if (static_cast<int>(items.size()) != target.size()) {
                throw SqlError(listed ? QStringLiteral("There are fewer columns in the INSERT statement than values "
                                                       "specified in the VALUES clause. The number of values in the "
                                                       "VALUES clause must match the number of columns specified in "
                                                       "the INSERT statement.")
                                      : mismatch);
            }
            QStringList values;
            for (size_t k = 0; k < items.size(); ++k) values << storedValue(expr(t, items[k]), limits[k]);
            rows << u'(' + values.join(QLatin1String(", ")) + u')';
        }
        return query(head + QStringLiteral("VALUES ") + rows.join(QLatin1String(", ")), params);
    }
    int select = i;
    if (select < span.end && at(t, select).isSymbol("(")) ++select;  // INSERT T (SELECT ...)
    if (wordAt(t, select, span, "SELECT")) {
        const QString sql = select == i ? rewriteSelect(t, {i + 1, span.end}, context()) : expr(t, {i, span.end});
        {
            SqliteStatement probe(m_db, sql);
            if (probe.columnCount() != target.size()) throw SqlError(mismatch);
        }
        // Values that a column of their source's type held fit as they are; the others go
        // through the target columns' limits, and then the table's value checks would
        // only check again what has been checked: they cost a third of a bulk copy.
        const std::vector<bool> fit = select == i ? valuesThatFit(t, {i + 1, span.end}, limits)
                                                  : std::vector<bool>(limits.size(), false);
        QStringList values;
        bool wrapped = false;
        for (size_t k = 0; k < limits.size(); ++k) {
            const QString v = QStringLiteral("tsql_v%1").arg(k);
            values << (fit[k] ? v : storedValue(v, limits[k]));
            wrapped = wrapped || values.last() != v;
        }
        const QString targetSql = m_db.scalar(
            QStringLiteral("SELECT sql FROM sqlite_schema WHERE type = 'table' AND name = ?1 COLLATE NOCASE"), {table})
                                      .toString();
        bool covered = !targetSql.isEmpty() && !hasOtherChecks(targetSql);
        for (size_t k = 0; k < limits.size() && covered; ++k) {
            covered = fit[k] || !limits[k].kind.isEmpty() || !hasValueCheck(targetSql, target[static_cast<int>(k)]);
        }
        std::optional<ChecksSkipped> skipped;
        if (covered) skipped.emplace(m_db.handle());
        if (!wrapped) return query(head + sql, params);
        QStringList names;
        for (size_t k = 0; k < limits.size(); ++k) names << QStringLiteral("tsql_v%1").arg(k);
        return query(QStringLiteral("WITH tsql_source(%1) AS (%2) ").arg(names.join(QLatin1String(", ")), sql) + head +
                         QStringLiteral("SELECT ") + values.join(QLatin1String(", ")) + QStringLiteral(" FROM tsql_source"),
                     params);
    }
    if (wordAt(t, i, span, "EXEC") || wordAt(t, i, span, "EXECUTE")) notSupported(QStringLiteral("INSERT .. EXEC"));
    syntaxNear(t, i, span);
}

std::vector<StoreLimit> StatementRunner::limitsOf(const QString& table, const QStringList& columns) {
    std::vector<StoreLimit> limits;
    for (const QString& c : columns) {
        limits.push_back(storeLimitOf(m_db.scalar(QStringLiteral("SELECT type FROM pragma_table_info(?1, 'main') WHERE "
                                                                 "name = ?2 COLLATE NOCASE"),
                                                  {table, c}).toString()));
    }
    return limits;
}

// Which values of the SELECT fit their target column as they are: NULL, a text literal
// within a text column's length, or a column of a table whose type's values all fit
// (numeric columns with a value check of their own held numbers only when stored).
// Only the simple shapes are read: names of tables, qualified columns; for any other
// shape no value is known to fit.
std::vector<bool> StatementRunner::valuesThatFit(const Tokens& t, Span select, const std::vector<StoreLimit>& limits) {
    std::vector<bool> fit(limits.size(), false);
    auto definition = [this](const QString& name) {
        return m_db.scalar(QStringLiteral("SELECT sql FROM sqlite_schema WHERE type = 'table' AND name = ?1 COLLATE NOCASE"),
                           {name}).toString();
    };
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
            if (m_catalogue.objectType(name.name) != QLatin1String("table")) return fit;
            tables.insert(alias.toLower(), name.name);
            if (wordAt(t, k, select, "ON")) {
                for (int depth = 0; k < select.end; ++k) {
                    depth += at(t, k).isSymbol("(") ? 1 : at(t, k).isSymbol(")") ? -1 : 0;
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
        SqliteStatement column(m_db, QStringLiteral("SELECT name, type FROM pragma_table_info(?1, 'main') WHERE "
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

ResultSet StatementRunner::update(const Tokens& t, Span span, const std::vector<QVariant>& params) {
    int i = span.begin + 1;
    if (wordAt(t, i, span, "TOP")) notSupported(QStringLiteral("UPDATE TOP"));
    const QString table = readLocalName(t, i, span, m_database);
    if (!wordAt(t, i, span, "SET")) syntaxNear(t, i, span);
    // SQLite's UPDATE .. FROM joins the target with the FROM list; naming the target
    // there again, as T-SQL does, would join it with itself.
    const int from = findTopLevelWord(t, {i, span.end}, "FROM");
    if (from >= 0) {
        for (int k = from + 1; k < span.end && !at(t, k).isWord("WHERE"); ++k) {
            ObjectName name;
            int next = k;
            if ((at(t, k - 1).isWord("FROM") || at(t, k - 1).isWord("JOIN") || at(t, k - 1).isSymbol(",")) &&
                readObjectName(t, k, name, next) && name.name.compare(table, Qt::CaseInsensitive) == 0) {
                notSupported(QStringLiteral("UPDATE .. FROM naming the updated table"));
            }
        }
    }
    // Each assigned value goes through its column's limits.
    int end = i + 1;
    for (int depth = 0; end < span.end; ++end) {
        depth += at(t, end).isSymbol("(") ? 1 : at(t, end).isSymbol(")") ? -1 : 0;
        if (depth == 0 && (at(t, end).isWord("WHERE") || at(t, end).isWord("FROM"))) break;
    }
    QStringList assignments;
    for (const Span& a : splitTopLevel(t, {i + 1, end})) {
        if (a.end - a.begin < 3 || !at(t, a.begin).isName() || !at(t, a.begin + 1).isSymbol("=")) {
            return query(QStringLiteral("UPDATE ") + sqlName(table) + u' ' + expr(t, {i, span.end}), params);
        }
        const QString column = at(t, a.begin).value;
        const StoreLimit limit = limitsOf(table, {column}).front();
        // A column of the table, or a SUBSTRING of one, that holds no longer values than
        // the target needs no checking again, as the repair of the registration numbers.
        Span value{a.begin + 2, a.end};
        if (value.end - value.begin > 3 && at(t, value.begin).isWord("SUBSTRING") && at(t, value.begin + 1).isSymbol("(") &&
            matchingParen(t, value.begin + 1) == value.end - 1) {
            value = splitTopLevel(t, {value.begin + 2, value.end - 1}).front();
        }
        const bool fits = value.end - value.begin == 1 && at(t, value.begin).isName() &&
                          m_catalogue.columnsOf(table).contains(at(t, value.begin).value, Qt::CaseInsensitive) &&
                          limitHolds(limitsOf(table, {at(t, value.begin).value}).front(), limit);
        const QString assigned = expr(t, {a.begin + 2, a.end});
        assignments << sqlName(column) + QStringLiteral(" = ") + (fits ? assigned : storedValue(assigned, limit));
    }
    return query(QStringLiteral("UPDATE ") + sqlName(table) + QStringLiteral(" SET ") +
                     assignments.join(QLatin1String(", ")) + u' ' + expr(t, {end, span.end}),
                 params);
}

ResultSet StatementRunner::remove(const Tokens& t, Span span, const std::vector<QVariant>& params) {
    int i = span.begin + 1;
    if (wordAt(t, i, span, "TOP")) notSupported(QStringLiteral("DELETE TOP"));
    if (wordAt(t, i, span, "FROM")) ++i;
    const QString table = readLocalName(t, i, span, m_database);
    if (wordAt(t, i, span, "FROM")) notSupported(QStringLiteral("DELETE with a second FROM"));
    if (i < span.end && !wordAt(t, i, span, "WHERE")) syntaxNear(t, i, span);
    return query(QStringLiteral("DELETE FROM ") + sqlName(table) + u' ' + expr(t, {i, span.end}), params);
}






ResultSet StatementRunner::ifStatement(const QString& source, const Tokens& t, Span span,
                                       const std::vector<QVariant>& params) {
    static const char* starters[] = {"SELECT", "INSERT", "UPDATE", "DELETE", "CREATE", "DROP", "ALTER",
                                     "EXEC",   "EXECUTE", "IF",    "TRUNCATE", "SET", "RAISERROR"};
    auto isStarter = [](const Token& tk) {
        for (const char* w : starters) {
            if (tk.isWord(w)) return true;
        }
        return false;
    };
    int depth = 0;
    int body = -1;
    for (int i = span.begin + 1; i < span.end && body < 0; ++i) {
        if (at(t, i).isSymbol("(")) ++depth;
        if (at(t, i).isSymbol(")")) --depth;
        if (depth == 0 && isStarter(at(t, i))) body = i;
    }
    if (body < 0 || body == span.begin + 1) syntaxNear(t, body < 0 ? span.end : body, span);
    // ELSE at the outer level, outside any CASE .. END.
    int elseAt = -1;
    int cases = 0;
    depth = 0;
    for (int i = body; i < span.end; ++i) {
        const Token& tk = at(t, i);
        if (tk.isSymbol("(")) ++depth;
        if (tk.isSymbol(")")) --depth;
        if (depth != 0) continue;
        if (tk.isWord("CASE")) ++cases;
        if (tk.isWord("END") && cases > 0) --cases;
        if (tk.isWord("ELSE") && cases == 0) {
            elseAt = i;
            break;
        }
    }
    const Span condition{span.begin + 1, body};
    const int conditionParams = countParams(t, condition);
    std::vector<QVariant> own(params.begin(), params.begin() + std::min<size_t>(params.size(), conditionParams));
    const bool holds =
        m_db.scalar(QStringLiteral("SELECT CASE WHEN (") + expr(t, condition) + QStringLiteral(") THEN 1 ELSE 0 END"),
                    own).toInt() == 1;
    const Span thenPart{body, elseAt < 0 ? span.end : elseAt};
    const Span elsePart{elseAt < 0 ? span.end : elseAt + 1, span.end};
    const Span chosen = holds ? thenPart : elsePart;
    if (chosen.empty()) return {};
    std::vector<QVariant> rest;
    size_t skip = static_cast<size_t>(conditionParams) + (holds ? 0 : static_cast<size_t>(countParams(t, thenPart)));
    for (size_t k = skip; k < params.size(); ++k) rest.push_back(params[k]);
    return run(source, t, chosen, rest);
}

// DECLARE @v int and EXEC @v = procedure: the variables of a batch that takes an
// application lock and tests the answer. Other uses of variables are not supported.
bool StatementRunner::batchVariableStatement(const Tokens& t, Span span) {
    const Token& first = at(t, span.begin);
    if (first.isWord("DECLARE")) {
        int i = span.begin + 1;
        if (i >= span.end || at(t, i).kind != TokenKind::Variable || at(t, i).text.startsWith(QLatin1String("@@"))) {
            syntaxNear(t, i, span);
        }
        const QString name = at(t, i).text.toUpper();
        if (i + 2 != span.end || !at(t, i + 1).isWord("INT")) notSupported(QStringLiteral("DECLARE other than of one int"));
        if (m_variables.contains(name)) {
            throw SqlError(QStringLiteral("The variable name '%1' has already been declared. Variable names must be "
                                          "unique within a query batch or stored procedure.").arg(at(t, i).text));
        }
        m_variables.insert(name, QVariant());
        return true;
    }
    if ((first.isWord("EXEC") || first.isWord("EXECUTE")) && span.begin + 2 < span.end &&
        at(t, span.begin + 1).kind == TokenKind::Variable && at(t, span.begin + 2).isSymbol("=")) {
        const QString name = at(t, span.begin + 1).text.toUpper();
        if (!m_variables.contains(name)) {
            throw SqlError(QStringLiteral("Must declare the scalar variable \"%1\".").arg(at(t, span.begin + 1).text));
        }
        int i = span.begin + 3;
        const QString procedure = readLocalName(t, i, span, m_database);
        m_variables.insert(name, systemProcedure(procedure, t, {i, span.end}));
        return true;
    }
    return false;
}

// sp_getapplock and sp_releaseapplock with named arguments; the answer is their return
// status. The lock's owner is always the session.
int StatementRunner::systemProcedure(const QString& name, const Tokens& t, Span args) {
    const bool get = name.compare(QLatin1String("sp_getapplock"), Qt::CaseInsensitive) == 0;
    if (!get && name.compare(QLatin1String("sp_releaseapplock"), Qt::CaseInsensitive) != 0) {
        throw SqlError(QStringLiteral("Could not find stored procedure '%1'.").arg(name));
    }
    QHash<QString, QString> values;
    for (const Span& a : splitTopLevel(t, args)) {
        if (a.end - a.begin != 3 || at(t, a.begin).kind != TokenKind::Variable || !at(t, a.begin + 1).isSymbol("=")) {
            notSupported(QStringLiteral("%1 without named arguments").arg(name));
        }
        const Token& v = at(t, a.begin + 2);
        if (v.kind != TokenKind::String && v.kind != TokenKind::Number && !(v.kind == TokenKind::Word)) {
            syntaxNear(t, a.begin + 2, args);
        }
        values.insert(at(t, a.begin).text.toLower(), v.value);
    }
    const QString resource = values.value(QStringLiteral("@resource"));
    const QString owner = values.value(QStringLiteral("@lockowner"), QStringLiteral("Transaction"));
    if (resource.isEmpty()) {
        throw SqlError(QStringLiteral("Procedure or function '%1' expects parameter '@Resource', which was not "
                                      "supplied.").arg(name));
    }
    if (owner.compare(QLatin1String("Session"), Qt::CaseInsensitive) != 0) {
        notSupported(QStringLiteral("An application lock owned by a transaction"));
    }
    if (!get) {
        if (m_appLocks.release(resource) != 0) {
            throw SqlError(QStringLiteral("Cannot release the application lock (Database Principal: 'public', "
                                          "Resource: '%1') because it is not currently held.").arg(resource), 1223);
        }
        return 0;
    }
    const QString mode = values.value(QStringLiteral("@lockmode"));
    const bool exclusive = mode.compare(QLatin1String("Exclusive"), Qt::CaseInsensitive) == 0;
    if (!exclusive && mode.compare(QLatin1String("Shared"), Qt::CaseInsensitive) != 0) {
        notSupported(QStringLiteral("The lock mode '%1'").arg(mode));
    }
    bool ok = true;
    const int timeout = values.value(QStringLiteral("@locktimeout"), QStringLiteral("-1")).toInt(&ok);
    if (!ok) throw SqlError(QStringLiteral("Error converting data type varchar to int."), 8114);
    return m_appLocks.acquire(resource, exclusive, timeout);
}

ResultSet StatementRunner::execProcedure(const Tokens& t, Span span) {
    int i = span.begin + 1;
    if (i < span.end && at(t, i).isSymbol("(")) notSupported(QStringLiteral("EXEC of a text"));
    const QString name = readLocalName(t, i, span, m_database);
    if (name.startsWith(QLatin1String("sp_"), Qt::CaseInsensitive) && !m_catalogue.procedureBody(name).isValid()) {
        systemProcedure(name, t, {i, span.end});
        return {};
    }
    if (i != span.end) notSupported(QStringLiteral("EXEC with parameters"));
    const QVariant body = m_catalogue.procedureBody(name);
    if (!body.isValid()) {
        throw SqlError(QStringLiteral("Could not find stored procedure '%1'.").arg(name));
    }
    if (m_depth >= 32) {
        throw SqlError(QStringLiteral("Maximum stored procedure, function, trigger, or view nesting level exceeded "
                                      "(limit 32)."));
    }
    const QString text = body.toString();
    const Tokens bodyTokens = tokenize(text);
    Span all{0, static_cast<int>(bodyTokens.size())};
    if (all.end >= 2 && at(bodyTokens, 0).isWord("BEGIN") && at(bodyTokens, all.end - 1).isWord("END")) {
        all = {1, all.end - 1};
    }
    ++m_depth;
    struct Depth {
        int& d;
        ~Depth() { --d; }
    } guard{m_depth};
    return runStatements(text, bodyTokens, all, {});
}

}  // namespace da::embedded
