// The farm files opened by the standard sqlite3 shell with the engine's extension
// loaded: checked, read under the engine's collations and written under its checks.
#include "tests/fixtures/farmbuilder.h"
#include "tests/fixtures/farmserver.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

struct ShellRun {
    int status = -1;
    QString out;
    QString err;
};

class SqliteShell : public ::testing::Test {
protected:
    void SetUp() override {
        m_shell = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
        if (m_shell.isEmpty())
            GTEST_SKIP() << "the sqlite3 shell is not installed";
        bvdata::FarmRecipe recipe;
        recipe.server = m_server.name();
        recipe.animals = 20;
        bvdata::createFarm(recipe);
        m_server.run("Farm", "INSERT INTO BV (Serial, RegNo, RankTotalMilk) VALUES (3, N'IR123', 7)");
        // A copy, as an administrator would take one; the engine is not involved from here.
        m_copy = QDir(m_server.folder()).filePath("Copy.db");
        ASSERT_TRUE(QFile::copy(QDir(m_server.folder()).filePath("Farm.db"), m_copy));
    }
    ShellRun shell(const QString& sql, bool load = true) {
        QStringList args;
        if (load)
            args << "-cmd" << QStringLiteral(".load ") + QStringLiteral(BVTSQL_MODULE);
        args << "-bail" << m_copy << sql;
        QProcess p;
        p.start(m_shell, args);
        p.closeWriteChannel();
        EXPECT_TRUE(p.waitForFinished(60000));
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromUtf8(p.readAllStandardOutput()).trimmed(), QString::fromUtf8(p.readAllStandardError())};
    }
    FarmServer m_server;
    QString m_shell;
    QString m_copy;
};

TEST_F(SqliteShell, WithoutTheExtensionTheTablesCannotBeWritten) {
    const ShellRun r = shell("INSERT INTO BV (Serial, RankTotalMilk) VALUES (4, 1)", false);
    EXPECT_NE(r.status, 0);
    EXPECT_TRUE(r.err.contains("tsql_convertible") || r.err.contains("TSQL_CI")) << r.err.toStdString();
}

TEST_F(SqliteShell, ExtensionLetsTheShellCheckReadAndWriteTheFarm) {
    struct Case {
        const char* name;
        QString sql;
        int status;
        QString out;  // stdout, or a part of stderr when the status is not 0
    };
    const Case cases[] = {
        {"integrity check", "PRAGMA integrity_check", 0, "ok"},
        {"collation ignoring letter case", "SELECT Serial FROM BV WHERE RegNo = 'ir123'", 0, "3"},
        {"insert under the value checks",
         "INSERT INTO BV (Serial, RankTotalMilk) VALUES (4, 12); SELECT count(*) FROM BV", 0, "2"},
        {"a value the check refuses", "INSERT INTO BV (Serial, RankTotalMilk) VALUES (5, 'x')", 1,
         "Conversion failed when converting the nvarchar value 'x' to data type int."},
        {"the engine's functions", "SELECT tsql_substring('h123', 2, 100), tsql_len('ab  ')", 0, "123|2"},
    };
    for (const Case& c : cases) {
        const ShellRun r = shell(c.sql);
        EXPECT_EQ(r.status, c.status) << c.name << ": " << r.err.toStdString();
        if (c.status == 0) {
            EXPECT_EQ(r.out, c.out) << c.name;
        } else {
            EXPECT_TRUE(r.err.contains(c.out)) << c.name << ": " << r.err.toStdString();
        }
    }
    EXPECT_EQ(shell("PRAGMA integrity_check").out, "ok");
}

}  // namespace
