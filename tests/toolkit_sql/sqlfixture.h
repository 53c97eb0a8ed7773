#pragma once
// A toolkit on recording dialogs, connected to a fresh database on an embedded server
// in a temporary folder.
#include "dataaccess/connection.h"
#include "dataaccess/query.h"
#include "platform/appexit.h"
#include "toolkit/recordingdialogs.h"
#include "toolkit/tools.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

class SqlFixture : public ::testing::Test {
protected:
    void SetUp() override {
        plat::AppExit::instance().reset();
        ASSERT_TRUE(m_dir.isValid());
        QDir(m_dir.path()).mkpath(QStringLiteral("server"));
        QDir(m_dir.path()).mkpath(QStringLiteral("app"));
        m_server = QStringLiteral("file:") + m_dir.filePath(QStringLiteral("server"));
        {
            da::Connection master;
            master.setServer(m_server);
            master.setDatabase(QStringLiteral("master"));
            master.connect();
            da::Query create(&master);
            create.setSql(QStringLiteral("CREATE DATABASE Farm"));
            create.execute();
        }
        m_conn.setServer(m_server);
        m_conn.setDatabase(QStringLiteral("Farm"));
        m_conn.connect();
        m_tools = std::make_unique<TTools>(
            ToolsOptions{&m_dialogs, m_dir.filePath(QStringLiteral("app")) + u'/', QDate(2026, 12, 9)});
        m_tools->ServerConnection = &m_conn;
        m_dialogs.clear();
    }

    void TearDown() override {
        m_tools.reset();
        plat::AppExit::instance().reset();
    }

    // Runs statements directly on the farm database (test set-up, not under test).
    void run(const QString& sql) {
        da::Query q(&m_conn);
        q.setSql(sql);
        q.execute();
    }

    QString appPath() const { return m_dir.filePath(QStringLiteral("app")) + u'/'; }

    QTemporaryDir m_dir;
    QString m_server;
    da::Connection m_conn;
    RecordingDialogs m_dialogs;
    std::unique_ptr<TTools> m_tools;
};
