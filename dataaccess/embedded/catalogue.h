#pragma once
// What the embedded engine keeps about a database beyond SQLite's own schema: the
// catalogue views standing in for SQL Server's (sysdatabases, sysobjects,
// INFORMATION_SCHEMA.TABLES and .COLUMNS), identity columns and procedures.
#include <QString>
#include <QStringList>
#include <QVariant>

namespace da::embedded {

class ServerFolder;
class SqliteDb;

class Catalogue {
public:
    Catalogue(SqliteDb& db, ServerFolder& folder, const QString& database);

    // The catalogue views of this connection (temporary, per connection).
    void createViews();
    // sysdatabases as the server folder holds them now.
    void refreshDatabaseList();

    // "table", "view", "procedure" or empty, the name matched as the server matches.
    QString objectType(const QString& name);
    // Column names in order; throws SqlError "Invalid object name" for no table.
    QStringList columnsOf(const QString& table);
    QString identityOf(const QString& table);
    void setIdentity(const QString& table, const QString& column);
    void forgetTable(const QString& table);
    bool indexExists(const QString& index);

    // A procedure's body as written, or null when there is none.
    QVariant procedureBody(const QString& name);
    void storeProcedure(const QString& name, const QString& body);
    void dropProcedure(const QString& name);

private:
    SqliteDb& m_db;
    ServerFolder& m_folder;
    QString m_database;
};

}  // namespace da::embedded
