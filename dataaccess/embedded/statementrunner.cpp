#include "statementrunner.h"

#include "dataaccess/scopeexit.h"
#include "dataaccess/sqlerror.h"
#include "dataaccess/sqlquote.h"
#include "fastpaths/checkedcopy.h"
#include "fastpaths/fill.h"
#include "fastpaths/keyedjoin.h"
#include "textcollation.h"
#include "tsqlcolumns.h"
#include "serverfolder.h"
#include "servererrors.h"
#include "sqlitedb.h"
#include "statementshapes.h"

#include <QHash>
#include <optional>
#include <sqlite3.h>

namespace da::embedded {

StatementRunner::StatementRunner(SqliteDb& db, ServerFolder& folder, const QString& database)
    : m_db(db),
      m_folder(folder),
      m_database(database),
      m_catalogue(db, folder, database),
      m_keyedJoins(db, m_catalogue),
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
    const StatementShape* shape = findStatementShape(t, span);
    if (!shape) notSupported(QStringLiteral("The statement '%1'").arg(at(t, span.begin).text.toUpper()));
    const StatementCall call{source, t, span, params};
    if (shape->outsideTransactions) return shape->handler(*this, call);
    // Outside any transaction, a statement that comes down to one SQLite statement is
    // atomic as SQLite runs it; wrapped in a transaction, SQLite would also keep a
    // statement journal holding the old content of every page it changes.
    // The keyed tables of a join are the statement's own.
    const ScopeExit keyedTables([this] { m_keyedJoins.dropAll(); });
    if (sqlite3_get_autocommit(m_db.handle()) != 0 && isOneSqliteStatement(*shape, t, span)) {
        return shape->handler(*this, call);
    }
    SqliteTransaction transaction(m_db);
    ResultSet r = shape->handler(*this, call);
    transaction.commit();
    return r;
}

ResultSet StatementRunner::run(const QString& source, const Tokens& t, Span span, const std::vector<QVariant>& params) {
    const StatementShape* shape = findStatementShape(t, span);
    if (!shape || !shape->afterIf) notSupported(QStringLiteral("The statement '%1'").arg(at(t, span.begin).text.toUpper()));
    return shape->handler(*this, {source, t, span, params});
}

RewriteContext StatementRunner::context() {
    RewriteContext c;
    c.database = m_database;
    if (m_fastPaths.enabled()) {
        c.keyedJoin = [this](const QString& table, const QString& column, const QString& collation) {
            QString keyed = m_keyedJoins.keyedTable(table, column, collation);
            if (!keyed.isEmpty()) m_fastPaths.took(FastPaths::kKeyedJoin);
            return keyed;
        };
    }
    return c;
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
        throw objectExists(target);
    }
    if (readsRowset(t, span, into, i)) {
        if (m_fastPaths.enabled()) {
            ResultSet r;
            r.rowsAffected = fillFromRowset(m_db.handle(), m_folder.dir(), target, t, i + 1, span);
            m_fastPaths.took(FastPaths::kFill);
            return r;
        }
        // The generic way: the file staged in a table of its own, copied by SELECT .. INTO.
        const QString staged = QStringLiteral("tsql_rowset$%1").arg(target);
        fillFromRowset(m_db.handle(), m_folder.dir(), staged, t, i + 1, span);
        const Tokens copy = tokenize(QStringLiteral("SELECT * INTO %1 FROM %2").arg(bracketedName(target), bracketedName(staged)));
        ResultSet r = selectInto(copy, {0, static_cast<int>(copy.size())}, 2, params);
        m_db.exec(QStringLiteral("DROP TABLE ") + sqlName(staged));
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
                                              "'%2' is specified more than once.")
                                   .arg(name, target));
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
                if (v.typeId() == QMetaType::LongLong)
                    types[c] = QStringLiteral("int");
                else if (v.typeId() == QMetaType::Double)
                    types[c] = QStringLiteral("float");
                else if (v.typeId() == QMetaType::QString)
                    types[c] = QStringLiteral("nvarchar(4000)");
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
        throw invalidObject(table);
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
            if (!found) throw invalidColumn(col);
            if (!identity.isEmpty() && col.compare(identity, Qt::CaseInsensitive) == 0) {
                throw SqlError(QStringLiteral("Cannot insert explicit value for identity column in table '%1' when "
                                              "IDENTITY_INSERT is set to OFF.")
                                   .arg(table));
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
        const bool checked = select == i && m_fastPaths.enabled();
        const std::vector<bool> fit = checked ? valuesThatFit(m_db, m_catalogue, t, {i + 1, span.end}, limits)
                                              : std::vector<bool>(limits.size(), false);
        QStringList values;
        bool wrapped = false;
        for (size_t k = 0; k < limits.size(); ++k) {
            const QString v = QStringLiteral("tsql_v%1").arg(k);
            values << (fit[k] ? v : storedColumnValue(v, limits[k]));
            wrapped = wrapped || values.last() != v;
        }
        std::optional<ChecksSkipped> skipped;
        if (m_fastPaths.enabled() && checksCovered(m_db, table, target, fit, limits)) {
            skipped.emplace(m_db.handle());
            m_fastPaths.took(FastPaths::kCheckedCopy);
        }
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
                                                  {table, c})
                                          .toString()));
    }
    return limits;
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
        depth += at(t, end).isSymbol("(") ? 1 : at(t, end).isSymbol(")") ? -1
                                                                         : 0;
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
}  // namespace da::embedded
