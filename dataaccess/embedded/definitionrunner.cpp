#include "definitionrunner.h"

#include "catalogue.h"
#include "dataaccess/sqlerror.h"
#include "servererrors.h"
#include "sqlitedb.h"
#include "tsqlcolumns.h"

namespace da::embedded {

DefinitionRunner::DefinitionRunner(SqliteDb& db, Catalogue& catalogue, const QString& database)
    : m_db(db), m_catalogue(catalogue), m_database(database) {}

QString DefinitionRunner::expr(const Tokens& t, Span span) const {
    RewriteContext c;
    c.database = m_database;
    return rewrite(t, span, c);
}

QString DefinitionRunner::readName(const Tokens& t, int& i, Span span) const {
    return readLocalName(t, i, span, m_database);
}

void DefinitionRunner::create(const QString& source, const Tokens& t, Span span) {
    RewriteContext context;
    context.database = m_database;
    int i = span.begin + 1;
    if (wordAt(t, i, span, "TABLE")) return createTable(t, span);
    if (wordAt(t, i, span, "UNIQUE") || wordAt(t, i, span, "CLUSTERED") || wordAt(t, i, span, "NONCLUSTERED") ||
        wordAt(t, i, span, "INDEX")) {
        return createIndex(t, span);
    }
    if (wordAt(t, i, span, "VIEW")) {
        ++i;
        const QString name = readName(t, i, span);
        if (!m_catalogue.objectType(name).isEmpty()) {
            throw objectExists(name);
        }
        QString columns;
        if (i < span.end && at(t, i).isSymbol("(")) {
            const int close = matchingParen(t, i);
            columns = expr(t, {i, close + 1}) + u' ';
            i = close + 1;
        }
        if (!wordAt(t, i, span, "AS") || !wordAt(t, i + 1, span, "SELECT")) syntaxNear(t, i, span);
        m_db.exec(QStringLiteral("CREATE VIEW %1 %2AS ").arg(sqlName(name), columns) + rewriteSelect(t, {i + 2, span.end}, context));
        return;
    }
    if (wordAt(t, i, span, "PROCEDURE") || wordAt(t, i, span, "PROC")) {
        ++i;
        const QString name = readName(t, i, span);
        if (!wordAt(t, i, span, "AS")) notSupported(QStringLiteral("A procedure with parameters"));
        if (i + 1 >= span.end) syntaxNear(t, i + 1, span);
        if (!m_catalogue.objectType(name).isEmpty()) {
            throw objectExists(name);
        }
        // The body is kept as written and run by EXEC.
        const Token& from = at(t, i + 1);
        const Token& to = at(t, span.end - 1);
        const QString body = source.mid(from.pos, to.pos + to.len - from.pos);
        m_catalogue.storeProcedure(name, body);
        return;
    }
    notSupported(QStringLiteral("CREATE %1").arg(i < span.end ? at(t, i).text.toUpper() : QString()));
}

void DefinitionRunner::createTable(const Tokens& t, Span span) {
    int i = span.begin + 2;
    const QString table = readName(t, i, span);
    if (!m_catalogue.objectType(table).isEmpty()) {
        throw objectExists(table);
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
                                              "'%2' is specified more than once.")
                                   .arg(def.name, table));
            }
        }
        names << def.name;
        if (def.identity) {
            if (!identity.isEmpty()) {
                throw SqlError(QStringLiteral("Multiple identity columns specified for table '%1'. Only one identity "
                                              "column per table is allowed.")
                                   .arg(table));
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
    if (!identity.isEmpty()) m_catalogue.setIdentity(table, identity);
}

void DefinitionRunner::createIndex(const Tokens& t, Span span) {
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
}

void DefinitionRunner::drop(const Tokens& t, Span span) {
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
                                       "permission.")
                            .arg(QLatin1String(kind), name));
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
        if (!m_catalogue.indexExists(index)) {
            if (ifExists) return;
            throw missing("index", index);
        }
        m_db.exec(QStringLiteral("DROP INDEX ") + sqlName(index));
        return;
    }
    const bool table = what.isWord("TABLE");
    const bool view = what.isWord("VIEW");
    const bool procedure = what.isWord("PROCEDURE") || what.isWord("PROC");
    if (!table && !view && !procedure) notSupported(QStringLiteral("DROP %1").arg(what.text.toUpper()));
    for (const Span& part : splitTopLevel(t, {i, span.end})) {
        int k = part.begin;
        const QString name = readName(t, k, part);
        if (k != part.end) syntaxNear(t, k, part);
        const QString type = m_catalogue.objectType(name);
        const char* kind = table ? "table" : (view ? "view" : "procedure");
        if (type != QLatin1String(kind)) {
            if (ifExists) continue;
            throw missing(kind, name);
        }
        if (procedure) {
            m_catalogue.dropProcedure(name);
        } else {
            m_db.exec(QStringLiteral("DROP %1 %2").arg(table ? QStringLiteral("TABLE") : QStringLiteral("VIEW"), sqlName(name)));
            if (table) m_catalogue.forgetTable(name);
        }
    }
}

void DefinitionRunner::alter(const Tokens& t, Span span) {
    int i = span.begin + 1;
    if (!wordAt(t, i, span, "TABLE")) notSupported(QStringLiteral("ALTER %1").arg(i < span.end ? at(t, i).text : QString()));
    ++i;
    const QString table = readName(t, i, span);
    if (m_catalogue.objectType(table) != QLatin1String("table")) {
        throw SqlError(QStringLiteral("Cannot find the object \"%1\" because it does not exist or you do not have "
                                      "permissions.")
                           .arg(table));
    }
    QStringList existing = m_catalogue.columnsOf(table);
    if (wordAt(t, i, span, "DROP") && wordAt(t, i + 1, span, "COLUMN")) {
        i += 2;
        for (const Span& part : splitTopLevel(t, {i, span.end})) {
            if (part.end - part.begin != 1 || !at(t, part.begin).isName()) syntaxNear(t, part.begin, span);
            const QString col = at(t, part.begin).value;
            if (!existing.contains(col, Qt::CaseInsensitive)) {
                throw SqlError(QStringLiteral("ALTER TABLE DROP COLUMN failed because column '%1' does not exist in "
                                              "table '%2'.")
                                   .arg(col, table));
            }
            m_db.exec(QStringLiteral("ALTER TABLE %1 DROP COLUMN %2").arg(sqlName(table), sqlName(col)));
        }
        return;
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
                                          "is specified more than once.")
                               .arg(def.name, table));
        }
        if (def.identity || def.primaryKey) notSupported(QStringLiteral("Adding an identity or key column"));
        existing << def.name;
        defs.push_back(std::move(def));
    }
    // All columns or none: the statement's savepoint undoes the earlier ones.
    for (const ColumnDef& def : defs) {
        m_db.exec(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2").arg(sqlName(table), def.sqlite));
    }
}

}  // namespace da::embedded
