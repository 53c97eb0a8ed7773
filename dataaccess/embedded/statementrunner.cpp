#include "statementrunner.h"

#include "dataaccess/sqlerror.h"
#include "serverfolder.h"
#include "sqlitedb.h"
#include "textcollation.h"
#include "textdriver.h"

#include <QDir>
#include <sqlite3.h>

namespace da::embedded {

namespace {

const Token& at(const Tokens& t, int i) { return t[static_cast<size_t>(i)]; }

bool wordAt(const Tokens& t, int i, Span span, const char* w) { return i < span.end && at(t, i).isWord(w); }

int countParams(const Tokens& t, Span span) {
    int n = 0;
    for (int i = span.begin; i < span.end; ++i) n += at(t, i).kind == TokenKind::Param;
    return n;
}

[[noreturn]] void syntaxNear(const Tokens& t, int i, Span span) {
    const QString near = i < span.end ? at(t, i).text : QString();
    if (near.isEmpty()) throw SqlError(QStringLiteral("Incorrect syntax near the end of the statement."));
    throw SqlError(QStringLiteral("Incorrect syntax near '%1'.").arg(near));
}

// Key=value pairs of an ODBC connection string; a value may be enclosed in braces,
// with "}}" standing for "}".
QString connectionValue(const QString& text, const QString& key) {
    int i = 0;
    const int n = text.size();
    while (i < n) {
        const int eq = text.indexOf(u'=', i);
        if (eq < 0) break;
        const QString k = text.mid(i, eq - i).trimmed();
        int j = eq + 1;
        QString value;
        while (j < n && text[j] == u' ') ++j;
        if (j < n && text[j] == u'{') {
            ++j;
            while (j < n) {
                if (text[j] == u'}') {
                    if (j + 1 < n && text[j + 1] == u'}') {
                        value += u'}';
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                value += text[j++];
            }
            const int semi = text.indexOf(u';', j);
            i = semi < 0 ? n : semi + 1;
        } else {
            const int semi = text.indexOf(u';', j);
            value = text.mid(j, (semi < 0 ? n : semi) - j).trimmed();
            i = semi < 0 ? n : semi + 1;
        }
        if (k.compare(key, Qt::CaseInsensitive) == 0) return value;
    }
    return {};
}

}  // namespace

StatementRunner::StatementRunner(SqliteDb& db, ServerFolder& folder, const QString& database)
    : m_db(db), m_folder(folder), m_database(database) {}

void StatementRunner::createCatalogueViews() {
    const QString db = sqlString(m_database);
    const QString userObjects = QStringLiteral(
        "substr(name, 1, 7) <> 'sqlite_' AND substr(name, 1, 5) <> '__bv_' AND type IN ('table', 'view')");
    m_db.exec(QStringLiteral(
        "CREATE TEMP TABLE IF NOT EXISTS sysdatabases (name TEXT COLLATE TSQL_CI, dbid INTEGER, sid BLOB, "
        "mode INTEGER, status INTEGER, status2 INTEGER, crdate TEXT, reserved TEXT, category INTEGER, "
        "cmptlevel INTEGER, filename TEXT COLLATE TSQL_CI, version INTEGER);"));
    m_db.exec(QStringLiteral(
        "CREATE TEMP VIEW IF NOT EXISTS sysobjects AS "
        "SELECT name COLLATE TSQL_CI AS name, tsql_objectid(name) AS id, "
        "(CASE type WHEN 'table' THEN 'U' ELSE 'V' END) COLLATE TSQL_CI AS xtype, 1 AS uid, 0 AS parent_obj, "
        "(CASE type WHEN 'table' THEN 'U' ELSE 'V' END) COLLATE TSQL_CI AS type, NULL AS crdate "
        "FROM main.sqlite_schema WHERE %1 "
        "UNION ALL SELECT name, tsql_objectid(name), 'P', 1, 0, 'P', NULL FROM main.__bv_procedures;").arg(userObjects));
    m_db.exec(QStringLiteral(
        "CREATE TEMP VIEW IF NOT EXISTS information_schema_tables AS "
        "SELECT %1 COLLATE TSQL_CI AS TABLE_CATALOG, 'dbo' COLLATE TSQL_CI AS TABLE_SCHEMA, "
        "name COLLATE TSQL_CI AS TABLE_NAME, "
        "(CASE type WHEN 'table' THEN 'BASE TABLE' ELSE 'VIEW' END) COLLATE TSQL_CI AS TABLE_TYPE "
        "FROM main.sqlite_schema WHERE %2;").arg(db, userObjects));
    m_db.exec(QStringLiteral(
        "CREATE TEMP VIEW IF NOT EXISTS information_schema_columns AS "
        "SELECT %1 COLLATE TSQL_CI AS TABLE_CATALOG, 'dbo' COLLATE TSQL_CI AS TABLE_SCHEMA, "
        "s.name COLLATE TSQL_CI AS TABLE_NAME, p.name COLLATE TSQL_CI AS COLUMN_NAME, "
        "p.cid + 1 AS ORDINAL_POSITION, p.dflt_value AS COLUMN_DEFAULT, "
        "(CASE WHEN p.\"notnull\" THEN 'NO' ELSE 'YES' END) COLLATE TSQL_CI AS IS_NULLABLE, "
        "tsql_datatype(p.type) COLLATE TSQL_CI AS DATA_TYPE, tsql_maxlength(p.type) AS CHARACTER_MAXIMUM_LENGTH "
        "FROM main.sqlite_schema s JOIN pragma_table_info(s.name, 'main') p "
        "WHERE substr(s.name, 1, 7) <> 'sqlite_' AND substr(s.name, 1, 5) <> '__bv_' "
        "AND s.type IN ('table', 'view');").arg(db));
}

void StatementRunner::refreshDatabaseList() {
    m_db.exec(QStringLiteral("DELETE FROM temp.sysdatabases"));
    int id = 1;
    for (const QString& name : m_folder.databaseNames()) {
        SqliteStatement st(m_db, QStringLiteral(
            "INSERT INTO temp.sysdatabases (name, dbid, mode, status, cmptlevel, filename) VALUES (?, ?, 0, 0, 90, ?)"));
        st.bind({name, id++, QDir::toNativeSeparators(m_folder.databaseFile(name))});
        st.step();
    }
}

ResultSet StatementRunner::runBatch(const QString& sql, const std::vector<QVariant>& params) {
    const Tokens tokens = tokenize(sql);
    for (const Token& tk : tokens) {
        if (tk.isName() && tk.value.compare(QLatin1String("sysdatabases"), Qt::CaseInsensitive) == 0) {
            refreshDatabaseList();
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
        const QString name = readName(t, i, span);
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
    m_db.exec(QStringLiteral("SAVEPOINT tsql_statement"));
    try {
        ResultSet r = run(source, t, span, params);
        m_db.exec(QStringLiteral("RELEASE tsql_statement"));
        return r;
    } catch (...) {
        try {
            m_db.exec(QStringLiteral("ROLLBACK TO tsql_statement; RELEASE tsql_statement"));
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
    if (first.isWord("CREATE")) return create(source, t, span, params);
    if (first.isWord("DROP")) return drop(t, span);
    if (first.isWord("ALTER")) return alter(t, span);
    if (first.isWord("IF")) return ifStatement(source, t, span, params);
    if (first.isWord("EXEC") || first.isWord("EXECUTE")) return execProcedure(t, span);
    if (first.isWord("TRUNCATE") && wordAt(t, span.begin + 1, span, "TABLE")) {
        int i = span.begin + 2;
        const QString name = readName(t, i, span);
        if (objectType(name) != QLatin1String("table")) {
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

QString StatementRunner::expr(const Tokens& t, Span span) const {
    RewriteContext c;
    c.database = m_database;
    return rewrite(t, span, c);
}

QString StatementRunner::readName(const Tokens& t, int& i, Span span) const {
    ObjectName name;
    int next = i;
    if (i >= span.end || !readObjectName(t, i, name, next) || next > span.end) syntaxNear(t, i, span);
    if (!name.database.isEmpty() && name.database.compare(m_database, Qt::CaseInsensitive) != 0) {
        notSupported(QStringLiteral("The cross-database reference '%1..%2'").arg(name.database, name.name));
    }
    if (name.name.startsWith(u'#')) notSupported(QStringLiteral("The temporary table '%1'").arg(name.name));
    i = next;
    return name.name;
}

QString StatementRunner::objectType(const QString& name) {
    const QVariant type = m_db.scalar(
        QStringLiteral("SELECT type FROM main.sqlite_schema WHERE name = ? COLLATE TSQL_CI AND type IN ('table', 'view') "
                       "AND substr(name, 1, 7) <> 'sqlite_' AND substr(name, 1, 5) <> '__bv_' "
                       "UNION ALL SELECT 'procedure' FROM main.__bv_procedures WHERE name = ?"),
        {name, name});
    return type.toString();
}

QStringList StatementRunner::columnsOf(const QString& table) {
    SqliteStatement st(m_db, QStringLiteral("SELECT name FROM pragma_table_info(?, 'main') ORDER BY cid"));
    st.bind({table});
    QStringList names;
    while (st.step()) names << st.value(0).toString();
    if (names.isEmpty()) throw SqlError(QStringLiteral("Invalid object name '%1'.").arg(table));
    return names;
}

QString StatementRunner::identityOf(const QString& table) {
    return m_db.scalar(QStringLiteral("SELECT column_name FROM main.__bv_identity WHERE table_name = ?"), {table})
        .toString();
}

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

QString StatementRunner::selectSql(const Tokens& t, Span span) const {
    checkGrouping(t, span);
    int i = span.begin;
    QString head = QStringLiteral("SELECT ");
    if (wordAt(t, i, span, "DISTINCT")) {
        head += QStringLiteral("DISTINCT ");
        ++i;
    } else if (wordAt(t, i, span, "ALL")) {
        ++i;
    }
    QString limit;
    if (wordAt(t, i, span, "TOP")) {
        ++i;
        if (i < span.end && at(t, i).kind == TokenKind::Number) {
            limit = QStringLiteral(" LIMIT ") + at(t, i).text;
            ++i;
        } else if (i < span.end && at(t, i).isSymbol("(")) {
            const int close = matchingParen(t, i);
            limit = QStringLiteral(" LIMIT ") + expr(t, {i, close + 1});
            i = close + 1;
        } else {
            syntaxNear(t, i, span);
        }
        if (wordAt(t, i, span, "PERCENT") || wordAt(t, i, span, "WITH")) notSupported(QStringLiteral("TOP .. PERCENT"));
    }
    return head + expr(t, {i, span.end}) + limit;
}

ResultSet StatementRunner::select(const Tokens& t, Span span, const std::vector<QVariant>& params) {
    const int into = findTopLevelWord(t, {span.begin + 1, span.end}, "INTO");
    if (into >= 0) return selectInto(t, span, into, params);
    return query(selectSql(t, {span.begin + 1, span.end}), params);
}

ResultSet StatementRunner::selectInto(const Tokens& t, Span span, int into, const std::vector<QVariant>& params) {
    int i = into + 1;
    const QString target = readName(t, i, span);
    if (!objectType(target).isEmpty()) {
        throw SqlError(QStringLiteral("There is already an object named '%1' in the database.").arg(target));
    }
    if (wordAt(t, i, span, "FROM") && wordAt(t, i + 1, span, "OPENROWSET")) {
        const Span list{span.begin + 1, into};
        if (!(list.end - list.begin == 1 && at(t, list.begin).isSymbol("*"))) {
            notSupported(QStringLiteral("A column list with OPENROWSET"));
        }
        return openRowset(t, i + 1, target);
    }
    // The select list up to INTO, then the rest from FROM on.
    Tokens joined(t.begin() + span.begin + 1, t.begin() + into);
    joined.insert(joined.end(), t.begin() + i, t.begin() + span.end);
    const QString sql = selectSql(joined, {0, static_cast<int>(joined.size())});
    QStringList defs;
    {
        SqliteStatement st(m_db, sql);
        QStringList seen;
        for (int c = 0; c < st.columnCount(); ++c) {
            const QString name = st.columnName(c);
            const QString type = st.columnDeclType(c);
            for (const QString& s : seen) {
                if (s.compare(name, Qt::CaseInsensitive) == 0) {
                    throw SqlError(QStringLiteral("Column names in each table must be unique. Column name '%1' in "
                                                  "table '%2' is specified more than once.").arg(name, target));
                }
            }
            seen << name;
            QString def = sqlName(name);
            if (!type.isEmpty()) def += u' ' + type;
            if (isTextType(type)) def += QStringLiteral(" COLLATE ") + QLatin1String(kCollateCi);
            defs << def;
        }
    }
    m_db.exec(QStringLiteral("CREATE TABLE %1 (%2)").arg(sqlName(target), defs.join(QLatin1String(", "))));
    ResultSet r = query(QStringLiteral("INSERT INTO %1 ").arg(sqlName(target)) + sql, params);
    return r;
}

// FROM OPENROWSET('MSDASQL', 'Driver={...Text Driver...};DefaultDir=DIR;', 'SELECT * FROM [FILE];') alias
ResultSet StatementRunner::openRowset(const Tokens& t, int i, const QString& target) {
    const Span all{0, static_cast<int>(t.size())};
    if (!(i + 1 < all.end && at(t, i + 1).isSymbol("("))) syntaxNear(t, i + 1, all);
    const int close = matchingParen(t, i + 1);
    const auto args = splitTopLevel(t, {i + 2, close});
    if (args.size() != 3) notSupported(QStringLiteral("This form of OPENROWSET"));
    for (const Span& a : args) {
        if (a.end - a.begin != 1 || at(t, a.begin).kind != TokenKind::String) {
            notSupported(QStringLiteral("This form of OPENROWSET"));
        }
    }
    const QString provider = at(t, args[0].begin).value;
    const QString connection = at(t, args[1].begin).value;
    const QString command = at(t, args[2].begin).value;
    if (provider.compare(QLatin1String("MSDASQL"), Qt::CaseInsensitive) != 0) {
        notSupported(QStringLiteral("The OLE DB provider '%1'").arg(provider));
    }
    if (!connectionValue(connection, QStringLiteral("Driver")).contains(QLatin1String("Text Driver"), Qt::CaseInsensitive)) {
        notSupported(QStringLiteral("The ODBC driver of '%1'").arg(connection));
    }
    const QString dir = connectionValue(connection, QStringLiteral("DefaultDir"));
    const Tokens q = tokenize(command);
    const int n = static_cast<int>(q.size());
    int end = n;
    if (end > 0 && at(q, end - 1).isSymbol(";")) --end;
    if (!(end >= 4 && at(q, 0).isWord("SELECT") && at(q, 1).isSymbol("*") && at(q, 2).isWord("FROM"))) {
        notSupported(QStringLiteral("The text driver query '%1'").arg(command));
    }
    QString file;
    if (end == 4 && at(q, 3).kind == TokenKind::Quoted) {
        file = at(q, 3).value;
    } else {
        // A bare file name such as bv.txt reads as several tokens.
        file = command.mid(at(q, 3).pos, at(q, end - 1).pos + at(q, end - 1).len - at(q, 3).pos);
    }
    int after = close + 1;
    if (wordAt(t, after, all, "AS")) ++after;
    if (after < all.end && at(t, after).isName()) ++after;
    if (after != all.end) syntaxNear(t, after, all);
    fillTableFromTextFile(m_db.handle(), target, dir, file);
    ResultSet r;
    r.rowsAffected = m_db.scalar(QStringLiteral("SELECT count(*) FROM ") + sqlName(target)).toLongLong();
    return r;
}

ResultSet StatementRunner::insert(const Tokens& t, Span span, const std::vector<QVariant>& params) {
    int i = span.begin + 1;
    if (wordAt(t, i, span, "INTO")) ++i;
    const QString table = readName(t, i, span);
    const QString type = objectType(table);
    if (type != QLatin1String("table") && type != QLatin1String("view")) {
        throw SqlError(QStringLiteral("Invalid object name '%1'.").arg(table));
    }
    const QStringList tableColumns = columnsOf(table);
    const QString identity = identityOf(table);
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
            rows << u'(' + expr(t, {row.begin + 1, row.end - 1}) + u')';
        }
        return query(head + QStringLiteral("VALUES ") + rows.join(QLatin1String(", ")), params);
    }
    int select = i;
    if (select < span.end && at(t, select).isSymbol("(")) ++select;  // INSERT T (SELECT ...)
    if (wordAt(t, select, span, "SELECT")) {
        const QString sql = select == i ? selectSql(t, {i + 1, span.end}) : expr(t, {i, span.end});
        {
            SqliteStatement probe(m_db, sql);
            if (probe.columnCount() != target.size()) throw SqlError(mismatch);
        }
        return query(head + sql, params);
    }
    if (wordAt(t, i, span, "EXEC") || wordAt(t, i, span, "EXECUTE")) notSupported(QStringLiteral("INSERT .. EXEC"));
    syntaxNear(t, i, span);
}

ResultSet StatementRunner::update(const Tokens& t, Span span, const std::vector<QVariant>& params) {
    int i = span.begin + 1;
    if (wordAt(t, i, span, "TOP")) notSupported(QStringLiteral("UPDATE TOP"));
    const QString table = readName(t, i, span);
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
    return query(QStringLiteral("UPDATE ") + sqlName(table) + u' ' + expr(t, {i, span.end}), params);
}

ResultSet StatementRunner::remove(const Tokens& t, Span span, const std::vector<QVariant>& params) {
    int i = span.begin + 1;
    if (wordAt(t, i, span, "TOP")) notSupported(QStringLiteral("DELETE TOP"));
    if (wordAt(t, i, span, "FROM")) ++i;
    const QString table = readName(t, i, span);
    if (wordAt(t, i, span, "FROM")) notSupported(QStringLiteral("DELETE with a second FROM"));
    if (i < span.end && !wordAt(t, i, span, "WHERE")) syntaxNear(t, i, span);
    return query(QStringLiteral("DELETE FROM ") + sqlName(table) + u' ' + expr(t, {i, span.end}), params);
}

ResultSet StatementRunner::create(const QString& source, const Tokens& t, Span span, const std::vector<QVariant>&) {
    int i = span.begin + 1;
    if (wordAt(t, i, span, "TABLE")) return createTable(t, span);
    if (wordAt(t, i, span, "UNIQUE") || wordAt(t, i, span, "CLUSTERED") || wordAt(t, i, span, "NONCLUSTERED") ||
        wordAt(t, i, span, "INDEX")) {
        return createIndex(t, span);
    }
    if (wordAt(t, i, span, "VIEW")) {
        ++i;
        const QString name = readName(t, i, span);
        if (!objectType(name).isEmpty()) {
            throw SqlError(QStringLiteral("There is already an object named '%1' in the database.").arg(name));
        }
        QString columns;
        if (i < span.end && at(t, i).isSymbol("(")) {
            const int close = matchingParen(t, i);
            columns = expr(t, {i, close + 1}) + u' ';
            i = close + 1;
        }
        if (!wordAt(t, i, span, "AS") || !wordAt(t, i + 1, span, "SELECT")) syntaxNear(t, i, span);
        m_db.exec(QStringLiteral("CREATE VIEW %1 %2AS ").arg(sqlName(name), columns) + selectSql(t, {i + 2, span.end}));
        return {};
    }
    if (wordAt(t, i, span, "PROCEDURE") || wordAt(t, i, span, "PROC")) {
        ++i;
        const QString name = readName(t, i, span);
        if (!wordAt(t, i, span, "AS")) notSupported(QStringLiteral("A procedure with parameters"));
        if (i + 1 >= span.end) syntaxNear(t, i + 1, span);
        if (!objectType(name).isEmpty()) {
            throw SqlError(QStringLiteral("There is already an object named '%1' in the database.").arg(name));
        }
        // The body is kept as written and run by EXEC.
        const Token& from = at(t, i + 1);
        const Token& to = at(t, span.end - 1);
        const QString body = source.mid(from.pos, to.pos + to.len - from.pos);
        SqliteStatement st(m_db, QStringLiteral("INSERT INTO main.__bv_procedures (name, body) VALUES (?, ?)"));
        st.bind({name, body});
        st.step();
        return {};
    }
    notSupported(QStringLiteral("CREATE %1").arg(i < span.end ? at(t, i).text.toUpper() : QString()));
}

ResultSet StatementRunner::createTable(const Tokens& t, Span span) {
    int i = span.begin + 2;
    const QString table = readName(t, i, span);
    if (!objectType(table).isEmpty()) {
        throw SqlError(QStringLiteral("There is already an object named '%1' in the database.").arg(table));
    }
    if (i >= span.end || !at(t, i).isSymbol("(")) syntaxNear(t, i, span);
    const int close = matchingParen(t, i);
    if (close < 0) syntaxNear(t, span.end, span);
    // Storage clauses after the column list have no meaning here.
    for (int k = close + 1; k < span.end; ++k) {
        if (!(at(t, k).isWord("ON") || at(t, k).isWord("TEXTIMAGE_ON") || at(t, k).isName())) syntaxNear(t, k, span);
    }
    RewriteContext context;
    context.database = m_database;
    QStringList defs;
    QStringList names;
    QString identity;
    QStringList tableKey;
    QStringList constraints;
    for (const Span& item : splitTopLevel(t, {i + 1, close})) {
        int k = item.begin;
        if (wordAt(t, k, item, "CONSTRAINT")) k += 2;
        const bool primary = wordAt(t, k, item, "PRIMARY") && wordAt(t, k + 1, item, "KEY");
        const bool unique = wordAt(t, k, item, "UNIQUE");
        if (primary || unique) {
            k += primary ? 2 : 1;
            while (wordAt(t, k, item, "CLUSTERED") || wordAt(t, k, item, "NONCLUSTERED")) ++k;
            if (k >= item.end || !at(t, k).isSymbol("(")) syntaxNear(t, k, item);
            const int kc = matchingParen(t, k);
            QStringList cols;
            for (const Span& c : splitTopLevel(t, {k + 1, kc})) {
                if (c.empty() || !at(t, c.begin).isName()) syntaxNear(t, c.begin, item);
                cols << at(t, c.begin).value;
            }
            if (primary) tableKey = cols;
            QStringList quoted;
            for (const QString& c : cols) quoted << sqlName(c);
            constraints << (primary ? QStringLiteral("PRIMARY KEY (") : QStringLiteral("UNIQUE (")) +
                               quoted.join(QLatin1String(", ")) + u')';
            continue;
        }
        if (wordAt(t, k, item, "FOREIGN") || wordAt(t, k, item, "CHECK")) {
            notSupported(QStringLiteral("A table constraint %1").arg(at(t, k).text.toUpper()));
        }
        const ColumnDef def = translateColumn(t, item, context);
        for (const QString& n : names) {
            if (n.compare(def.name, Qt::CaseInsensitive) == 0) {
                throw SqlError(QStringLiteral("Column names in each table must be unique. Column name '%1' in table "
                                              "'%2' is specified more than once.").arg(def.name, table));
            }
        }
        names << def.name;
        if (def.identity) {
            if (!identity.isEmpty()) {
                throw SqlError(QStringLiteral("Multiple identity columns specified for table '%1'. Only one identity "
                                              "column per table is allowed.").arg(table));
            }
            identity = def.name;
        }
        defs << def.sqlite;
    }
    if (!identity.isEmpty() && !tableKey.isEmpty()) {
        if (tableKey.size() != 1 || tableKey[0].compare(identity, Qt::CaseInsensitive) != 0) {
            notSupported(QStringLiteral("An identity column beside a primary key on other columns"));
        }
        constraints.removeIf([](const QString& c) { return c.startsWith(QLatin1String("PRIMARY KEY")); });
    }
    defs << constraints;
    m_db.exec(QStringLiteral("CREATE TABLE %1 (%2)").arg(sqlName(table), defs.join(QLatin1String(", "))));
    if (!identity.isEmpty()) {
        SqliteStatement st(m_db, QStringLiteral("INSERT OR REPLACE INTO main.__bv_identity VALUES (?, ?)"));
        st.bind({table, identity});
        st.step();
    }
    return {};
}

ResultSet StatementRunner::createIndex(const Tokens& t, Span span) {
    int i = span.begin + 1;
    bool unique = false;
    while (wordAt(t, i, span, "UNIQUE") || wordAt(t, i, span, "CLUSTERED") || wordAt(t, i, span, "NONCLUSTERED")) {
        unique = unique || at(t, i).isWord("UNIQUE");
        ++i;
    }
    if (!wordAt(t, i, span, "INDEX")) syntaxNear(t, i, span);
    ++i;
    const QString index = readName(t, i, span);
    if (!wordAt(t, i, span, "ON")) syntaxNear(t, i, span);
    ++i;
    const QString table = readName(t, i, span);
    if (i >= span.end || !at(t, i).isSymbol("(")) syntaxNear(t, i, span);
    const int close = matchingParen(t, i);
    QStringList cols;
    for (const Span& c : splitTopLevel(t, {i + 1, close})) {
        if (c.empty() || !at(t, c.begin).isName()) syntaxNear(t, c.begin, span);
        QString col = sqlName(at(t, c.begin).value);
        if (wordAt(t, c.begin + 1, c, "DESC")) col += QStringLiteral(" DESC");
        cols << col;
    }
    for (int k = close + 1; k < span.end; ++k) {
        if (at(t, k).isWord("INCLUDE") || at(t, k).isWord("WHERE")) notSupported(QStringLiteral("This index option"));
    }
    m_db.exec(QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
                  .arg(unique ? QStringLiteral("UNIQUE ") : QString(), sqlName(index), sqlName(table),
                       cols.join(QLatin1String(", "))));
    return {};
}

ResultSet StatementRunner::drop(const Tokens& t, Span span) {
    int i = span.begin + 1;
    if (i >= span.end) syntaxNear(t, i, span);
    const Token& what = at(t, i++);
    bool ifExists = false;
    if (wordAt(t, i, span, "IF") && wordAt(t, i + 1, span, "EXISTS")) {
        ifExists = true;
        i += 2;
    }
    auto missing = [&](const char* kind, const QString& name) {
        return SqlError(QStringLiteral("Cannot drop the %1 '%2', because it does not exist or you do not have "
                                       "permission.").arg(QLatin1String(kind), name));
    };
    if (what.isWord("INDEX")) {
        // DROP INDEX T.IX, dbo.T.IX or IX ON T: the index is the last name.
        if (i >= span.end || !at(t, i).isName()) syntaxNear(t, i, span);
        while (i + 2 < span.end && at(t, i + 1).isSymbol(".") && at(t, i + 2).isName()) i += 2;
        const QString index = at(t, i).value;
        ++i;
        if (wordAt(t, i, span, "ON")) {
            ++i;
            readName(t, i, span);
        }
        if (i != span.end) syntaxNear(t, i, span);
        const bool exists = m_db.scalar(QStringLiteral("SELECT 1 FROM main.sqlite_schema WHERE type = 'index' AND "
                                                       "name = ? COLLATE TSQL_CI"), {index}).isValid();
        if (!exists) {
            if (ifExists) return {};
            throw missing("index", index);
        }
        m_db.exec(QStringLiteral("DROP INDEX ") + sqlName(index));
        return {};
    }
    const bool table = what.isWord("TABLE");
    const bool view = what.isWord("VIEW");
    const bool procedure = what.isWord("PROCEDURE") || what.isWord("PROC");
    if (!table && !view && !procedure) notSupported(QStringLiteral("DROP %1").arg(what.text.toUpper()));
    for (const Span& part : splitTopLevel(t, {i, span.end})) {
        int k = part.begin;
        const QString name = readName(t, k, part);
        if (k != part.end) syntaxNear(t, k, part);
        const QString type = objectType(name);
        const char* kind = table ? "table" : (view ? "view" : "procedure");
        if (type != QLatin1String(kind)) {
            if (ifExists) continue;
            throw missing(kind, name);
        }
        if (procedure) {
            SqliteStatement st(m_db, QStringLiteral("DELETE FROM main.__bv_procedures WHERE name = ?"));
            st.bind({name});
            st.step();
        } else {
            m_db.exec(QStringLiteral("DROP %1 %2").arg(table ? QStringLiteral("TABLE") : QStringLiteral("VIEW"),
                                                         sqlName(name)));
            if (table) {
                SqliteStatement st(m_db, QStringLiteral("DELETE FROM main.__bv_identity WHERE table_name = ?"));
                st.bind({name});
                st.step();
            }
        }
    }
    return {};
}

ResultSet StatementRunner::alter(const Tokens& t, Span span) {
    int i = span.begin + 1;
    if (!wordAt(t, i, span, "TABLE")) notSupported(QStringLiteral("ALTER %1").arg(i < span.end ? at(t, i).text : QString()));
    ++i;
    const QString table = readName(t, i, span);
    if (objectType(table) != QLatin1String("table")) {
        throw SqlError(QStringLiteral("Cannot find the object \"%1\" because it does not exist or you do not have "
                                      "permissions.").arg(table));
    }
    QStringList existing = columnsOf(table);
    if (wordAt(t, i, span, "DROP") && wordAt(t, i + 1, span, "COLUMN")) {
        i += 2;
        for (const Span& part : splitTopLevel(t, {i, span.end})) {
            if (part.end - part.begin != 1 || !at(t, part.begin).isName()) syntaxNear(t, part.begin, span);
            const QString col = at(t, part.begin).value;
            if (!existing.contains(col, Qt::CaseInsensitive)) {
                throw SqlError(QStringLiteral("ALTER TABLE DROP COLUMN failed because column '%1' does not exist in "
                                              "table '%2'.").arg(col, table));
            }
            m_db.exec(QStringLiteral("ALTER TABLE %1 DROP COLUMN %2").arg(sqlName(table), sqlName(col)));
        }
        return {};
    }
    if (!wordAt(t, i, span, "ADD")) notSupported(QStringLiteral("This form of ALTER TABLE"));
    ++i;
    if (wordAt(t, i, span, "CONSTRAINT") || wordAt(t, i, span, "PRIMARY")) {
        notSupported(QStringLiteral("ALTER TABLE .. ADD CONSTRAINT"));
    }
    RewriteContext context;
    context.database = m_database;
    std::vector<ColumnDef> defs;
    for (const Span& part : splitTopLevel(t, {i, span.end})) {
        ColumnDef def = translateColumn(t, part, context);
        if (existing.contains(def.name, Qt::CaseInsensitive)) {
            throw SqlError(QStringLiteral("Column names in each table must be unique. Column name '%1' in table '%2' "
                                          "is specified more than once.").arg(def.name, table));
        }
        if (def.identity || def.primaryKey) notSupported(QStringLiteral("Adding an identity or key column"));
        existing << def.name;
        defs.push_back(std::move(def));
    }
    // All columns or none: the statement's savepoint undoes the earlier ones.
    for (const ColumnDef& def : defs) {
        m_db.exec(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2").arg(sqlName(table), def.sqlite));
    }
    return {};
}

ResultSet StatementRunner::ifStatement(const QString& source, const Tokens& t, Span span,
                                       const std::vector<QVariant>& params) {
    static const char* starters[] = {"SELECT", "INSERT", "UPDATE", "DELETE", "CREATE", "DROP", "ALTER",
                                     "EXEC",   "EXECUTE", "IF",    "TRUNCATE", "SET"};
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

ResultSet StatementRunner::execProcedure(const Tokens& t, Span span) {
    int i = span.begin + 1;
    if (i < span.end && at(t, i).isSymbol("(")) notSupported(QStringLiteral("EXEC of a text"));
    const QString name = readName(t, i, span);
    if (i != span.end) notSupported(QStringLiteral("EXEC with parameters"));
    const QVariant body = m_db.scalar(QStringLiteral("SELECT body FROM main.__bv_procedures WHERE name = ?"), {name});
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
