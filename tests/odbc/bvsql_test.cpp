// bvsql run as the administrator runs it: arguments, printed rows, errors and exit status.
#include "dataaccess/odbc/odbcsession.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Outcome {
    int status = -1;
    QString out;
    QString err;
};

Outcome bvsql(const QStringList& args, const QByteArray& input = {}) {
    QProcess p;
    p.start(QStringLiteral(BVSQL_PATH), args);
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

class BvsqlOdbcTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!da::odbc::registeredDrivers().contains(QStringLiteral("SQLite3")))
            GTEST_SKIP() << "SQLite3 ODBC driver not registered";
        ASSERT_TRUE(m_dir.isValid());
        m_server = QStringLiteral("odbc:Driver={SQLite3};Database=") + m_dir.filePath(QStringLiteral("farm.db"));
    }
    QTemporaryDir m_dir;
    QString m_server;
};

}  // namespace

TEST(Bvsql, WrongArgumentsGiveUsage) {
    const QStringList cases[] = {
        {},
        {QStringLiteral("srv"), QStringLiteral("db")},
        {QStringLiteral("srv"), QStringLiteral("db"), QStringLiteral("SELECT 1"), QStringLiteral("extra")},
        {QStringLiteral("srv"), QStringLiteral("db"), QStringLiteral("SELECT 1"), QStringLiteral("--user")},
        {QStringLiteral("--bogus"), QStringLiteral("srv"), QStringLiteral("db"), QStringLiteral("SELECT 1")},
        {QStringLiteral("srv"), QStringLiteral("db"), QStringLiteral("--timeout"), QStringLiteral("x"),
         QStringLiteral("SELECT 1")},
    };
    for (const QStringList& args : cases) {
        Outcome r = bvsql(args);
        EXPECT_EQ(r.status, 2) << args.join(u' ').toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("usage: bvsql"))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

TEST_F(BvsqlOdbcTest, PrintsAHeaderAndTabSeparatedRows) {
    Outcome create = bvsql({m_server, QStringLiteral("farm"),
                            QStringLiteral("CREATE TABLE Cow (Serial INTEGER, Name VARCHAR(40), Milk FLOAT, Note TEXT)")});
    ASSERT_EQ(create.status, 0) << create.err.toStdString();
    EXPECT_TRUE(create.out.isEmpty());
    // The statement from standard input, as scripts hand it over.
    Outcome insert = bvsql({m_server, QStringLiteral("farm"), QStringLiteral("-")},
                           QString::fromUtf8("INSERT INTO Cow VALUES (1, 'گلاب', 2.5, NULL)").toUtf8());
    ASSERT_EQ(insert.status, 0) << insert.err.toStdString();
    ASSERT_EQ(bvsql({m_server, QStringLiteral("farm"),
                     QStringLiteral("INSERT INTO Cow VALUES (2, 'a\tb', 1e20, 'x' || char(13,10) || 'y')")})
                  .status,
              0);

    Outcome r = bvsql({m_server, QStringLiteral("farm"), QStringLiteral("--user"), QStringLiteral("u"),
                       QStringLiteral("--password"), QStringLiteral("p"),
                       QStringLiteral("SELECT Serial, Name, Milk, Note FROM Cow ORDER BY Serial")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QString::fromUtf8("Serial\tName\tMilk\tNote\n"
                                       "1\tگلاب\t2.5\t\n"
                                       "2\ta b\t1E20\tx y\n"));
    EXPECT_TRUE(r.err.isEmpty());

    Outcome empty = bvsql({m_server, QStringLiteral("farm"), QStringLiteral("SELECT Serial FROM Cow WHERE 0")});
    EXPECT_EQ(empty.out, QStringLiteral("Serial\n"));
}

TEST_F(BvsqlOdbcTest, ServerErrorGoesToStandardErrorWithStatusOne) {
    Outcome r = bvsql({m_server, QStringLiteral("farm"), QStringLiteral("SELECT * FROM Missing")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("no such table"))) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
}

TEST(BvsqlEmbedded, SetsUpAndInspectsAFarmDatabase) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString server = QStringLiteral("file:") + dir.path();
    Outcome created = bvsql({server, QStringLiteral("master"), QStringLiteral("CREATE DATABASE Farm")});
    ASSERT_EQ(created.status, 0) << created.err.toStdString();
    Outcome setUp = bvsql({server, QStringLiteral("Farm"), QStringLiteral("--user"), QStringLiteral("sa"),
                           QStringLiteral("CREATE TABLE Main (Sabt nvarchar(20), Serial int, Milk float)\n"
                                          "INSERT INTO Main VALUES (N'100', 1, 30.5), (N'101', 2, NULL)")});
    ASSERT_EQ(setUp.status, 0) << setUp.err.toStdString();
    Outcome r = bvsql({server, QStringLiteral("Farm"), QStringLiteral("SELECT Sabt, Serial, Milk FROM Main ORDER BY Serial")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("Sabt\tSerial\tMilk\n100\t1\t30.5\n101\t2\t\n"));

    Outcome missing = bvsql({server, QStringLiteral("Farm"), QStringLiteral("SELECT * FROM BV")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err.trimmed(), QStringLiteral("Invalid object name 'BV'. (error 208, SQLSTATE 42S02)"));
    Outcome noDatabase = bvsql({server, QStringLiteral("Nowhere"), QStringLiteral("SELECT 1")});
    EXPECT_EQ(noDatabase.status, 1);
    EXPECT_FALSE(noDatabase.err.isEmpty());
}
