#include "catalogue.h"

#include "dataaccess/sqlerror.h"
#include "serverfolder.h"
#include "servererrors.h"
#include "sqlitedb.h"
#include "dataaccess/tsqllexer.h"

#include <QDir>

namespace da::embedded {

Catalogue::Catalogue(SqliteDb& db, ServerFolder& folder, const QString& database)
    : m_db(db), m_folder(folder), m_database(database) {}

void Catalogue::createViews() {
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
                  "UNION ALL SELECT name, tsql_objectid(name), 'P', 1, 0, 'P', NULL FROM main.__bv_procedures;")
                  .arg(userObjects));
    m_db.exec(QStringLiteral(
                  "CREATE TEMP VIEW IF NOT EXISTS information_schema_tables AS "
                  "SELECT %1 COLLATE TSQL_CI AS TABLE_CATALOG, 'dbo' COLLATE TSQL_CI AS TABLE_SCHEMA, "
                  "name COLLATE TSQL_CI AS TABLE_NAME, "
                  "(CASE type WHEN 'table' THEN 'BASE TABLE' ELSE 'VIEW' END) COLLATE TSQL_CI AS TABLE_TYPE "
                  "FROM main.sqlite_schema WHERE %2;")
                  .arg(db, userObjects));
    m_db.exec(QStringLiteral(
                  "CREATE TEMP VIEW IF NOT EXISTS information_schema_columns AS "
                  "SELECT %1 COLLATE TSQL_CI AS TABLE_CATALOG, 'dbo' COLLATE TSQL_CI AS TABLE_SCHEMA, "
                  "s.name COLLATE TSQL_CI AS TABLE_NAME, p.name COLLATE TSQL_CI AS COLUMN_NAME, "
                  "p.cid + 1 AS ORDINAL_POSITION, p.dflt_value AS COLUMN_DEFAULT, "
                  "(CASE WHEN p.\"notnull\" THEN 'NO' ELSE 'YES' END) COLLATE TSQL_CI AS IS_NULLABLE, "
                  "tsql_datatype(p.type) COLLATE TSQL_CI AS DATA_TYPE, tsql_maxlength(p.type) AS CHARACTER_MAXIMUM_LENGTH "
                  "FROM main.sqlite_schema s JOIN pragma_table_info(s.name, 'main') p "
                  "WHERE substr(s.name, 1, 7) <> 'sqlite_' AND substr(s.name, 1, 5) <> '__bv_' "
                  "AND s.type IN ('table', 'view');")
                  .arg(db));
}

void Catalogue::refreshDatabaseList() {
    m_db.exec(QStringLiteral("DELETE FROM temp.sysdatabases"));
    int id = 1;
    for (const QString& name : m_folder.databaseNames()) {
        SqliteStatement st(m_db, QStringLiteral(
                                     "INSERT INTO temp.sysdatabases (name, dbid, mode, status, cmptlevel, filename) VALUES (?, ?, 0, 0, 90, ?)"));
        st.bind({name, id++, QDir::toNativeSeparators(m_folder.databaseFile(name))});
        st.step();
    }
}

QString Catalogue::objectType(const QString& name) {
    const QVariant type = m_db.scalar(
        QStringLiteral("SELECT type FROM main.sqlite_schema WHERE name = ? COLLATE TSQL_CI AND type IN ('table', 'view') "
                       "AND substr(name, 1, 7) <> 'sqlite_' AND substr(name, 1, 5) <> '__bv_' "
                       "UNION ALL SELECT 'procedure' FROM main.__bv_procedures WHERE name = ?"),
        {name, name});
    return type.toString();
}

QStringList Catalogue::columnsOf(const QString& table) {
    SqliteStatement st(m_db, QStringLiteral("SELECT name FROM pragma_table_info(?, 'main') ORDER BY cid"));
    st.bind({table});
    QStringList names;
    while (st.step()) names << st.value(0).toString();
    if (names.isEmpty()) throw invalidObject(table);
    return names;
}

QString Catalogue::identityOf(const QString& table) {
    return m_db.scalar(QStringLiteral("SELECT column_name FROM main.__bv_identity WHERE table_name = ?"), {table})
        .toString();
}

void Catalogue::setIdentity(const QString& table, const QString& column) {
    SqliteStatement st(m_db, QStringLiteral("INSERT OR REPLACE INTO main.__bv_identity VALUES (?, ?)"));
    st.bind({table, column});
    st.step();
}

void Catalogue::forgetTable(const QString& table) {
    SqliteStatement st(m_db, QStringLiteral("DELETE FROM main.__bv_identity WHERE table_name = ?"));
    st.bind({table});
    st.step();
}

bool Catalogue::indexExists(const QString& index) {
    return m_db.scalar(QStringLiteral("SELECT 1 FROM main.sqlite_schema WHERE type = 'index' AND name = ? COLLATE TSQL_CI"),
                       {index})
        .isValid();
}

QVariant Catalogue::procedureBody(const QString& name) {
    return m_db.scalar(QStringLiteral("SELECT body FROM main.__bv_procedures WHERE name = ?"), {name});
}

void Catalogue::storeProcedure(const QString& name, const QString& body) {
    SqliteStatement st(m_db, QStringLiteral("INSERT INTO main.__bv_procedures (name, body) VALUES (?, ?)"));
    st.bind({name, body});
    st.step();
}

void Catalogue::dropProcedure(const QString& name) {
    SqliteStatement st(m_db, QStringLiteral("DELETE FROM main.__bv_procedures WHERE name = ?"));
    st.bind({name});
    st.step();
}

}  // namespace da::embedded
