#pragma once
// A throw-away embedded server ("file:DIR" on a temporary folder) with a connected
// farm database, for the data-access tests.
#include "dataaccess/connection.h"
#include "dataaccess/query.h"
#include "dataaccess/sqlerror.h"

#include "tests/fixtures/qstringprint.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace da::testing {

class EmbeddedServer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        connectTo(QStringLiteral("master"));
        run(QStringLiteral("CREATE DATABASE Farm"));
        connectTo(QStringLiteral("Farm"));
    }

    QString server() const { return QStringLiteral("file:") + m_dir.path(); }

    void connectTo(const QString& database) {
        m_connection.disconnect();
        m_connection.setServer(server());
        m_connection.setDatabase(database);
        m_connection.setUser(QStringLiteral("sa"));
        m_connection.setPassword(QString());
        m_connection.connect();
    }

    ResultSet run(const QString& sql, const std::vector<QVariant>& params = {}) {
        return m_connection.session().execute(sql, params);
    }

    // Every row, its cells joined by "|" (NULL as "NULL").
    QStringList values(const QString& sql) {
        QStringList out;
        for (const auto& row : run(sql).rows) {
            QStringList cells;
            for (const QVariant& v : row) cells << (v.isNull() ? QStringLiteral("NULL") : v.toString());
            out << cells.join(u'|');
        }
        return out;
    }

    // The first column of the first row.
    QVariant scalar(const QString& sql) {
        const ResultSet r = run(sql);
        if (r.rows.empty() || r.rows[0].empty()) return {};
        return r.rows[0][0];
    }

    // The message of the error the statement raises, or "no error".
    QString errorOf(const QString& sql) {
        try {
            run(sql);
        } catch (const SqlError& e) {
            return e.message();
        }
        return QStringLiteral("no error");
    }

    QTemporaryDir m_dir;
    Connection m_connection;
};

}  // namespace da::testing
