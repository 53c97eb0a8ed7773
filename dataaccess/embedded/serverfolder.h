#pragma once
// The embedded engine's "server": a folder with one SQLite file per database
// (NAME.db). The database master always exists; names are matched without regard to
// letter case.
#include <QString>
#include <QStringList>

namespace da::embedded {

class SqliteDb;

class ServerFolder {
public:
    // Throws SqlError when the folder does not exist; creates master when missing.
    explicit ServerFolder(const QString& dir);

    const QString& dir() const { return m_dir; }
    // The file of a database, or empty when there is none.
    QString databaseFile(const QString& name) const;
    // The database's name as its file spells it.
    static QString nameOfFile(const QString& file);
    QStringList databaseNames() const;
    // Throws SqlError when the name is taken or not a valid name.
    void createDatabase(const QString& name);
    void dropDatabase(const QString& name);

    // Settings and catalogue tables every database file gets when it is opened.
    static void prepare(SqliteDb& db);

private:
    // Settings of a database file just created, before anything is stored in it.
    static void startNewFile(SqliteDb& db);

    QString m_dir;
};

}  // namespace da::embedded
