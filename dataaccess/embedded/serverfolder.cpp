#include "serverfolder.h"

#include "dataaccess/sqlerror.h"
#include "sqlitedb.h"

#include <QDir>
#include <QFileInfo>
#include <sqlite3.h>

namespace da::embedded {

namespace {
const QString kSuffix = QStringLiteral(".db");
}

ServerFolder::ServerFolder(const QString& dir) : m_dir(dir) {
    const QFileInfo info(dir);
    if (dir.isEmpty() || !info.isDir()) {
        throw SqlError(QStringLiteral("[DBNETLIB][ConnectionOpen (Connect()).]SQL Server does not exist or access "
                                      "denied. (no server folder '%1')")
                           .arg(dir));
    }
    if (databaseFile(QStringLiteral("master")).isEmpty()) {
        SqliteDb master(QDir(m_dir).filePath(QStringLiteral("master") + kSuffix), true);
        startNewFile(master);
        prepare(master);
        master.exec(QStringLiteral(
            "CREATE TABLE IF NOT EXISTS Logins (LoginName nvarchar(128) COLLATE TSQL_CI PRIMARY KEY, "
            "Password nvarchar(128) COLLATE BINARY)"));
    }
}

QString ServerFolder::databaseFile(const QString& name) const {
    const QStringList files = QDir(m_dir).entryList({QStringLiteral("*") + kSuffix}, QDir::Files);
    for (const QString& f : files) {
        if (nameOfFile(f).compare(name.trimmed(), Qt::CaseInsensitive) == 0) return QDir(m_dir).filePath(f);
    }
    return {};
}

QString ServerFolder::nameOfFile(const QString& file) {
    const QString base = QFileInfo(file).fileName();
    return base.left(base.size() - kSuffix.size());
}

QStringList ServerFolder::databaseNames() const {
    QStringList names;
    for (const QString& f : QDir(m_dir).entryList({QStringLiteral("*") + kSuffix}, QDir::Files, QDir::Name)) {
        names << nameOfFile(f);
    }
    return names;
}

void ServerFolder::createDatabase(const QString& name) {
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    bool valid = !name.trimmed().isEmpty() && name.size() <= 128 && !name.startsWith(u'.');
    for (QChar c : name) {
        if (forbidden.contains(c) || c.unicode() < 32) valid = false;
    }
    if (!valid) throw SqlError(QStringLiteral("Incorrect syntax near '%1'.").arg(name));
    if (!databaseFile(name).isEmpty()) {
        throw SqlError(QStringLiteral("Database '%1' already exists. Choose a different database name.").arg(name));
    }
    SqliteDb db(QDir(m_dir).filePath(name + kSuffix), true);
    startNewFile(db);
    prepare(db);
}

void ServerFolder::dropDatabase(const QString& name) {
    const QString file = databaseFile(name);
    if (file.isEmpty()) {
        throw SqlError(QStringLiteral("Cannot drop the database '%1', because it does not exist or you do not have "
                                      "permission.")
                           .arg(name));
    }
    if (name.compare(QLatin1String("master"), Qt::CaseInsensitive) == 0) {
        throw SqlError(QStringLiteral("Cannot drop the database 'master' because it is a system database."));
    }
    QFile::remove(file + QStringLiteral("-journal"));
    QFile::remove(file + QStringLiteral("-wal"));
    QFile::remove(file + QStringLiteral("-shm"));
    if (!QFile::remove(file)) {
        throw SqlError(QStringLiteral("Cannot drop database \"%1\" because it is currently in use.").arg(name));
    }
}

void ServerFolder::startNewFile(SqliteDb& db) {
    // Pages of 16 KiB: the bulk statements step through a quarter of the pages they
    // would with SQLite's 4 KiB. Takes effect on a file that holds no table yet.
    db.exec(QStringLiteral("PRAGMA page_size=16384"));
}

void ServerFolder::prepare(SqliteDb& db) {
    // A rollback journal keeps every statement atomic, a killed process's journal being
    // rolled back at the next opening, and writes the pages a statement appends (a table
    // filled from a file, rows copied into a table) once, where write-ahead logging
    // writes every page twice. NORMAL syncs the journal before the file is changed. A
    // file another connection still holds under write-ahead logging stays so for now.
    sqlite3_busy_timeout(db.handle(), 0);
    try {
        db.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
    } catch (const SqlError&) {
    }
    sqlite3_busy_timeout(db.handle(), SqliteDb::kBusyTimeoutMs);
    // A small page cache: the bulk statements stream through their tables. Temporary
    // indexes (a join's automatic index) stay in memory; statement journals stay small,
    // since a statement that is one SQLite statement runs without one and under the
    // rollback journal a page goes to the journal before any statement journal.
    db.exec(QStringLiteral("PRAGMA synchronous=NORMAL; PRAGMA cache_size=-8192; PRAGMA temp_store=MEMORY"));
    db.exec(QStringLiteral(
        "CREATE TABLE IF NOT EXISTS __bv_procedures (name TEXT COLLATE TSQL_CI PRIMARY KEY, body TEXT);"
        "CREATE TABLE IF NOT EXISTS __bv_identity (table_name TEXT COLLATE TSQL_CI PRIMARY KEY, "
        "column_name TEXT COLLATE TSQL_CI)"));
}

}  // namespace da::embedded
