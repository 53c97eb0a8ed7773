#pragma once
// Owners of the SQLite handles of the embedded engine.
#include <QString>
#include <QVariant>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace da::embedded {

// One open database file with the engine's functions and collations registered.
class SqliteDb {
public:
    // How long a statement waits for another connection's lock.
    static constexpr int kBusyTimeoutMs = 5000;
    // Columns of a table at most, as on SQL Server.
    static constexpr int kMaxColumns = 1024;

    // Opens (create: or creates) the file. Throws SqlError.
    SqliteDb(const QString& path, bool create);
    ~SqliteDb();
    SqliteDb(const SqliteDb&) = delete;
    SqliteDb& operator=(const SqliteDb&) = delete;

    sqlite3* handle() const { return m_db; }
    // Runs statements that return nothing. Throws SqlError with the engine's wording.
    void exec(const QString& sql);
    // The first column of the first row, or null.
    QVariant scalar(const QString& sql, const std::vector<QVariant>& params = {});
    long long changes() const;

private:
    sqlite3* m_db = nullptr;
};

// The changes of one statement, kept together: a transaction when none is open, else a
// savepoint inside the open one. Rolled back unless committed.
class SqliteTransaction {
public:
    explicit SqliteTransaction(SqliteDb& db);  // throws SqlError
    ~SqliteTransaction();
    SqliteTransaction(const SqliteTransaction&) = delete;
    SqliteTransaction& operator=(const SqliteTransaction&) = delete;

    void commit();  // throws SqlError

private:
    SqliteDb& m_db;
    bool m_own;  // a transaction of its own, not a savepoint
    bool m_done = false;
};

// One prepared statement.
class SqliteStatement {
public:
    SqliteStatement(SqliteDb& db, const QString& sql);  // throws SqlError
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    void bind(const std::vector<QVariant>& params);
    bool step();  // true while a row is ready; throws SqlError
    int columnCount() const;
    QString columnName(int i) const;
    QString columnDeclType(int i) const;
    QVariant value(int i) const;
    int parameterCount() const;
    sqlite3_stmt* handle() const { return m_stmt; }

private:
    SqliteDb& m_db;
    sqlite3_stmt* m_stmt = nullptr;
};

}  // namespace da::embedded
