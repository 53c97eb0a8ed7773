#pragma once
// An embedded server in a temporary folder for tests: databases and tables made
// through the data-access layer, as any client would.
#include "dataaccess/connection.h"
#include "dataaccess/query.h"

#include <QDir>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class FarmServer {
public:
    FarmServer() : m_root(m_dir.filePath(QStringLiteral("server"))) { QDir().mkpath(m_root); }

    // "file:DIR", the server name that selects the embedded engine.
    QString name() const { return QStringLiteral("file:") + m_root; }
    QString folder() const { return m_root; }

    void createDatabase(const QString& database) { run(QStringLiteral("master"), "CREATE DATABASE " + database); }

    // Runs statements one after the other in a database.
    void run(const QString& database, const QStringList& statements) {
        da::Connection connection;
        connectTo(connection, database);
        for (const QString& statement : statements) {
            da::Query query(&connection);
            query.addSql(statement);
            query.execute();
        }
    }
    void run(const QString& database, const QString& statement) { run(database, QStringList{statement}); }

    // The rows of a SELECT as texts, columns joined by '|'.
    QStringList rows(const QString& database, const QString& select) {
        da::Connection connection;
        connectTo(connection, database);
        da::Query query(&connection);
        query.addSql(select);
        query.open();
        QStringList out;
        for (; !query.eof(); query.next()) {
            QStringList values;
            for (int i = 0; i < query.fieldCount(); ++i)
                values << (query.field(i).isNull() ? QStringLiteral("NULL") : query.field(i).asString());
            out << values.join(QLatin1Char('|'));
        }
        return out;
    }

private:
    void connectTo(da::Connection& connection, const QString& database) const {
        connection.setServer(name());
        connection.setDatabase(database);
        connection.setUser(QStringLiteral("sa"));
        connection.connect();
    }

    QTemporaryDir m_dir;
    QString m_root;
};
