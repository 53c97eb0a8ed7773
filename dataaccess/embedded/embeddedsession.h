#pragma once
// The embedded engine's session: server "file:DIR", one SQLite file per database.
#include "dataaccess/backend.h"

#include <memory>

namespace da::embedded {

class FastPaths;
class ServerFolder;
class SqliteDb;
class StatementRunner;

class EmbeddedSession : public backend::Session {
public:
    // Checks the login against master's Logins table (no rows: no check) and opens the
    // database (empty: master). Throws SqlError worded as SQL Server words it.
    explicit EmbeddedSession(const ConnectParams& params);
    ~EmbeddedSession() override;

    ResultSet execute(const QString& sql, const std::vector<QVariant>& params = {}) override;
    ConnectParams inEffect() const override { return m_params; }
    QStringList databases() override;
    QStringList primaryKey(const QString& table) override;
    QString connectOptions() const override;

    // The open SQLite connection, for the text reader and tests.
    SqliteDb& database() { return *m_db; }
    // The fast paths the statements took, and the switch that sends them the generic way.
    FastPaths& fastPaths();

private:
    void open();

    ConnectParams m_params;
    std::unique_ptr<ServerFolder> m_folder;
    std::unique_ptr<SqliteDb> m_db;
    std::unique_ptr<StatementRunner> m_runner;
};

// The folder of a "file:DIR" server name, or empty for any other name.
QString serverFolderOf(const QString& server);

}  // namespace da::embedded
