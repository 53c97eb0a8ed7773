// The ODBC plumbing (connect, execute, fetch, parameters, batches, errors, keys) against
// the SQLite ODBC driver, so that it runs where no SQL Server is.
#include "dataaccess/odbc/odbcsession.h"
#include "dataaccess/sqlerror.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace da;

namespace {

class OdbcSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!odbc::registeredDrivers().contains(QStringLiteral("SQLite3")))
            GTEST_SKIP() << "SQLite3 ODBC driver not registered";
        ASSERT_TRUE(m_dir.isValid());
        m_params.server = QStringLiteral("odbc:Driver={SQLite3};Database=") + m_dir.filePath(QStringLiteral("farm.db"));
        m_session = odbc::openSession(m_params);
    }

    ResultSet run(const QString& sql, const std::vector<QVariant>& params = {}) {
        return m_session->execute(sql, params);
    }

    QTemporaryDir m_dir;
    ConnectParams m_params;
    std::unique_ptr<backend::Session> m_session;
};

}  // namespace

TEST_F(OdbcSessionTest, FetchesTextIntegerFloatAndNull) {
    run(QStringLiteral("CREATE TABLE Cow (Serial INTEGER PRIMARY KEY, Name VARCHAR(50), Milk FLOAT, Note TEXT)"));
    ResultSet ins = run(QStringLiteral("INSERT INTO Cow VALUES (1, 'Golab', 31.25, NULL)"));
    EXPECT_FALSE(ins.hasRows);
    EXPECT_EQ(ins.rowsAffected, 1);

    ResultSet r = run(QStringLiteral("SELECT Serial, Name, Milk, Note FROM Cow"));
    ASSERT_TRUE(r.hasRows);
    EXPECT_EQ(r.columns, (QStringList{"Serial", "Name", "Milk", "Note"}));
    ASSERT_EQ(r.rows.size(), 1u);
    const auto& row = r.rows[0];
    EXPECT_EQ(row[0].typeId(), QMetaType::LongLong);
    EXPECT_EQ(row[0].toLongLong(), 1);
    EXPECT_EQ(row[1].typeId(), QMetaType::QString);
    EXPECT_EQ(row[1].toString(), QStringLiteral("Golab"));
    EXPECT_EQ(row[2].typeId(), QMetaType::Double);
    EXPECT_DOUBLE_EQ(row[2].toDouble(), 31.25);
    EXPECT_TRUE(row[3].isNull());

    ResultSet none = run(QStringLiteral("SELECT Serial, Name FROM Cow WHERE Serial > 1"));
    EXPECT_TRUE(none.hasRows);
    EXPECT_EQ(none.columns, (QStringList{"Serial", "Name"}));
    EXPECT_TRUE(none.rows.empty());
}

TEST_F(OdbcSessionTest, ParametersByPositionRoundTrip) {
    run(QStringLiteral("CREATE TABLE P (I INTEGER, F FLOAT, S VARCHAR(4000), N VARCHAR(10), B BLOB)"));
    const QString persian = QString::fromUtf8("انتقال خاتمه يافت");
    const QByteArray bytes("\x00\x01\xff\x7f", 4);
    ResultSet ins = run(QStringLiteral("INSERT INTO P VALUES (?, :f, :s, ?, ?)"),
                        {QVariant(42), QVariant(2.5), QVariant(persian), QVariant(), QVariant(bytes)});
    EXPECT_EQ(ins.rowsAffected, 1);
    ResultSet r = run(QStringLiteral("SELECT I, F, S, N, B FROM P WHERE S = ?"), {QVariant(persian)});
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(r.rows[0][0].toLongLong(), 42);
    EXPECT_DOUBLE_EQ(r.rows[0][1].toDouble(), 2.5);
    EXPECT_EQ(r.rows[0][2].toString(), persian);
    EXPECT_TRUE(r.rows[0][3].isNull());
    EXPECT_EQ(r.rows[0][4].toByteArray(), bytes);
}

TEST_F(OdbcSessionTest, LongMultiLineTextComesBackWhole) {
    // Longer than one read buffer, with non-Latin text across the buffer edges.
    QString text;
    for (int i = 0; text.size() < 10000; ++i)
        text += QString::fromUtf8("سطر %1 متن\r\n").arg(i);
    run(QStringLiteral("CREATE TABLE M (Body TEXT)"));
    run(QStringLiteral("INSERT INTO M VALUES (?)"), {QVariant(text)});
    ResultSet r = run(QStringLiteral("SELECT Body FROM M"));
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(r.rows[0][0].toString(), text);
}

TEST_F(OdbcSessionTest, ErrorsCarryTheDriversMessage) {
    struct Case {
        QString sql;
        QString fragment;
    };
    run(QStringLiteral("CREATE TABLE K (Id INTEGER PRIMARY KEY)"));
    run(QStringLiteral("INSERT INTO K VALUES (1)"));
    const Case cases[] = {
        {"SELECT * FROM Missing", "no such table"},
        {"SELEC 1", "syntax error"},
        {"INSERT INTO K VALUES (1)", "UNIQUE"},
    };
    for (const Case& c : cases) {
        try {
            run(c.sql);
            ADD_FAILURE() << "no error for " << c.sql.toStdString();
        } catch (const SqlError& e) {
            EXPECT_TRUE(e.message().contains(c.fragment, Qt::CaseInsensitive)) << e.message().toStdString();
            EXPECT_FALSE(e.message().startsWith(u'[')) << e.message().toStdString();
            EXPECT_EQ(e.sqlState().size(), 5) << e.sqlState().toStdString();
            EXPECT_EQ(e.statement(), c.sql);
        }
    }
    // The session stays usable after an error.
    EXPECT_EQ(run(QStringLiteral("SELECT Id FROM K")).rows.size(), 1u);
}

TEST_F(OdbcSessionTest, PrimaryKeyColumnsInKeyOrder) {
    run(QStringLiteral("CREATE TABLE Info (Section VARCHAR(20), Name VARCHAR(20), Value VARCHAR(50), "
                       "PRIMARY KEY (Section, Name))"));
    run(QStringLiteral("CREATE TABLE Loose (A INTEGER)"));
    EXPECT_EQ(m_session->primaryKey(QStringLiteral("Info")), (QStringList{"Section", "Name"}));
    EXPECT_TRUE(m_session->primaryKey(QStringLiteral("Loose")).isEmpty());
}

TEST(OdbcSessionOpen, UnknownDriverFailsWithTheDriverManagersMessage) {
    ConnectParams p;
    p.server = QStringLiteral("odbc:Driver={NoSuchDriver};Database=x");
    try {
        odbc::openSession(p);
        FAIL() << "connected to a driver that does not exist";
    } catch (const SqlError& e) {
        EXPECT_EQ(e.sqlState(), QStringLiteral("01000"));
        EXPECT_TRUE(e.message().contains(QStringLiteral("NoSuchDriver"))) << e.message().toStdString();
    }
}
