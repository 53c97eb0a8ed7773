// The data-access objects (Connection, Query, Field) over the ODBC backend, with the
// SQLite ODBC driver standing in for SQL Server.
#include "dataaccess/connection.h"
#include "dataaccess/odbc/odbcsession.h"
#include "dataaccess/query.h"
#include "dataaccess/sqlerror.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace da;

namespace {

class OdbcConnectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!odbc::registeredDrivers().contains(QStringLiteral("SQLite3")))
            GTEST_SKIP() << "SQLite3 ODBC driver not registered";
        ASSERT_TRUE(m_dir.isValid());
        m_connection.setServer(QStringLiteral("odbc:Driver={SQLite3};Database=") +
                               m_dir.filePath(QStringLiteral("farm.db")));
        m_connection.setUser(QStringLiteral("sa"));
        m_connection.connect();
    }

    QTemporaryDir m_dir;
    Connection m_connection;
};

}  // namespace

TEST_F(OdbcConnectionTest, QueryReadsFieldsAsTextIntegerAndFloat) {
    EXPECT_TRUE(m_connection.connected());
    EXPECT_TRUE(m_connection.connectString().contains(QStringLiteral("Driver={SQLite3}")));
    Query q(&m_connection);
    q.setSql(QStringLiteral("CREATE TABLE BV (Sabt VARCHAR(20), Milk FLOAT, Rank INTEGER, Note VARCHAR(10))"));
    q.execute();
    q.clearSql();
    q.addSql(QStringLiteral("INSERT INTO BV VALUES (:sabt, :milk, :rank, NULL)"));
    q.setParamCount(3);
    const QString sabt = QString::fromUtf8("h۱۲۳");
    q.setParam(0, sabt);
    q.setParam(1, 412.75);
    q.setParam(2, 7);
    q.execute();
    q.setParam(0, QStringLiteral("200"));
    q.setParam(1, -1.5);
    q.setParam(2, 8);
    q.execute();
    EXPECT_EQ(q.rowsAffected(), 1);

    Query s(&m_connection);
    s.setSql(QStringLiteral("SELECT Sabt, Milk, Rank, Note FROM BV ORDER BY Rank"));
    s.open();
    EXPECT_EQ(s.recordCount(), 2);
    EXPECT_EQ(s.fieldCount(), 4);
    EXPECT_EQ(s.fieldByName(QStringLiteral("sabt")).asString(), sabt);
    EXPECT_DOUBLE_EQ(s.fieldByName(QStringLiteral("Milk")).asFloat(), 412.75);
    EXPECT_EQ(s.fieldByName(QStringLiteral("Milk")).asString(), QStringLiteral("412.75"));
    EXPECT_EQ(s.fieldByName(QStringLiteral("Rank")).asInteger(), 7);
    EXPECT_TRUE(s.fieldByName(QStringLiteral("Note")).isNull());
    s.next();
    EXPECT_EQ(s.fieldByName(QStringLiteral("Sabt")).asInteger(), 200);
    s.next();
    EXPECT_TRUE(s.eof());
}
