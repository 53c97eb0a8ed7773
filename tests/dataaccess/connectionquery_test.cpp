// Connection and Query objects on the embedded engine.
#include "embeddedserver.h"

#include "dataaccess/field.h"
#include "platform/ansicodec.h"

#include <QDir>
#include <QFile>

namespace da::testing {
namespace {

class ScriptedPrompt : public LoginPrompt {
public:
    bool prompt(ConnectParams& params) override {
        ++calls;
        shown = params;
        if (!accept) return false;
        params.database = database;
        return true;
    }
    int calls = 0;
    bool accept = true;
    QString database;
    ConnectParams shown;
};

class ConnectionQuery : public EmbeddedServer {
protected:
    void SetUp() override {
        EmbeddedServer::SetUp();
        run(QStringLiteral("CREATE TABLE Main (Serial int PRIMARY KEY, Sabt nvarchar(50), Weight float, Born datetime)"));
        run(QStringLiteral("INSERT INTO Main VALUES (1, 'a', 2.5, NULL), (2, NULL, NULL, NULL), (3, 'c', 1e20, NULL)"));
    }
    QString connectError(const QString& server, const QString& database, const QString& user, const QString& password) {
        Connection c;
        c.setServer(server);
        c.setDatabase(database);
        c.setUser(user);
        c.setPassword(password);
        try {
            c.connect();
        } catch (const SqlError& e) {
            EXPECT_FALSE(c.connected());
            return e.message();
        }
        return QStringLiteral("connected to ") + c.database();
    }
};

TEST_F(ConnectionQuery, ConnectRefusalsAreWordedLikeSqlServer) {
    EXPECT_EQ(connectError(server(), QStringLiteral("farm"), QStringLiteral("sa"), {}), QStringLiteral("connected to Farm"));
    EXPECT_EQ(connectError(server(), QString(), QStringLiteral("sa"), {}), QStringLiteral("connected to master"));
    EXPECT_EQ(connectError(server(), QStringLiteral("Nope"), QStringLiteral("sa"), {}),
              QStringLiteral("Cannot open database \"Nope\" requested by the login. The login failed."));
    EXPECT_TRUE(connectError(server() + QStringLiteral("/missing"), QStringLiteral("Farm"), QStringLiteral("sa"), {})
                    .contains(QLatin1String("SQL Server does not exist or access denied")));

    // Logins in master: user and password must match once there is one.
    connectTo(QStringLiteral("master"));
    run(QStringLiteral("INSERT INTO Logins (LoginName, Password) VALUES ('sa', 'Secret')"));
    EXPECT_EQ(connectError(server(), QStringLiteral("Farm"), QStringLiteral("sa"), QStringLiteral("secret")),
              QStringLiteral("Login failed for user 'sa'."));
    EXPECT_EQ(connectError(server(), QStringLiteral("Farm"), QStringLiteral("bob"), QStringLiteral("Secret")),
              QStringLiteral("Login failed for user 'bob'."));
    EXPECT_EQ(connectError(server(), QStringLiteral("Farm"), QStringLiteral("SA"), QStringLiteral("Secret")),
              QStringLiteral("connected to Farm"));
}

TEST_F(ConnectionQuery, PromptConnectStringAndValuesInEffect) {
    ScriptedPrompt prompt;
    prompt.database = QStringLiteral("FARM");
    Connection c;
    c.setServer(server());
    c.setDatabase(QStringLiteral("master"));
    c.setUser(QStringLiteral("sa"));
    c.setPassword(QStringLiteral("pw"));
    c.setConnectDialog(&prompt);
    c.setLoginPrompt(true);
    c.connect();
    EXPECT_EQ(prompt.calls, 1);
    EXPECT_EQ(prompt.shown.database, QStringLiteral("master"));
    EXPECT_TRUE(c.connected());
    EXPECT_EQ(c.database(), QStringLiteral("Farm"));  // as the server spells it
    EXPECT_EQ(c.connectString(), QStringLiteral("Server=") + server() +
                                     QStringLiteral(";Database=Farm;User ID=sa;Password=pw;Provider=SQLite;"));
    c.disconnect();
    EXPECT_FALSE(c.connected());
    EXPECT_THROW(c.session(), SqlError);

    prompt.accept = false;
    EXPECT_THROW(c.connect(), SqlError);
    EXPECT_FALSE(c.connected());
    c.setLoginPrompt(false);
    c.connect();
    EXPECT_EQ(prompt.calls, 2);
}

TEST_F(ConnectionQuery, SqlTextLinesAndFile) {
    Query q(&m_connection);
    q.addSql(QStringLiteral("SELECT *"));
    q.addSql(QStringLiteral("FROM Main WHERE Serial = ?"));
    EXPECT_EQ(q.sqlText(), QStringLiteral("SELECT *\r\nFROM Main WHERE Serial = ?\r\n"));
    EXPECT_EQ(q.paramCount(), 1);
    q.setParam(0, 3);
    q.open();
    EXPECT_EQ(q.recordCount(), 1);
    EXPECT_EQ(q.fieldByName(QStringLiteral("sabt")).asString(), QStringLiteral("c"));
    const QString file = QDir(m_dir.path()).filePath(QStringLiteral("q.txt"));
    q.clearSql();
    EXPECT_EQ(q.paramCount(), 0);
    q.setSql(QStringLiteral("SELECT 'ك' AS K"));
    q.saveSqlToFile(file);
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("SELECT '\xdf' AS K\r\n"));
}

TEST_F(ConnectionQuery, ResultSetNavigationAndFieldReading) {
    Query q(&m_connection);
    q.setSql(QStringLiteral("SELECT Serial, Sabt, Weight, Born FROM Main ORDER BY Serial"));
    q.prepare();
    q.open();
    EXPECT_TRUE(q.active());
    EXPECT_EQ(q.recordCount(), 3);
    EXPECT_EQ(q.fieldCount(), 4);
    EXPECT_EQ(q.field(0).name(), QStringLiteral("Serial"));
    QStringList seen;
    for (q.first(); !q.eof(); q.next()) {
        seen << q.field(0).asString() + u'|' + q.fieldByName(QStringLiteral("Sabt")).asString() + u'|' +
                    q.fieldByName(QStringLiteral("Weight")).asString();
    }
    EXPECT_EQ(seen, (QStringList{"1|a|2.5", "2||", "3|c|1E20"}));
    EXPECT_FALSE(q.hasRow());
    q.first();
    EXPECT_EQ(q.fieldByName(QStringLiteral("Weight")).asFloat(), 2.5);
    EXPECT_EQ(q.fieldByName(QStringLiteral("Weight")).asInteger(), 2);  // rounds half to even
    q.next();
    EXPECT_EQ(q.fieldByName(QStringLiteral("Weight")).asFloat(), 0);  // NULL
    EXPECT_EQ(q.fieldByName(QStringLiteral("Sabt")).asInteger(), 0);
    EXPECT_TRUE(q.fieldByName(QStringLiteral("Sabt")).isNull());
    EXPECT_EQ(q.findField(QStringLiteral("Nothing")), nullptr);
    EXPECT_THROW(q.fieldByName(QStringLiteral("Nothing")), SqlError);
    q.first();
    EXPECT_THROW(q.fieldByName(QStringLiteral("Sabt")).asInteger(), SqlError);  // 'a'

    q.close();
    EXPECT_FALSE(q.active());
    EXPECT_TRUE(q.eof());
    EXPECT_EQ(q.recordCount(), 0);
}

TEST_F(ConnectionQuery, ExecuteStatementsAndBatches) {
    Query q(&m_connection);
    q.setSql(QStringLiteral("UPDATE Main SET Sabt = 'z' WHERE Serial > 1"));
    q.execute();
    EXPECT_FALSE(q.active());
    EXPECT_FALSE(q.executing());
    EXPECT_EQ(q.rowsAffected(), 2);
    // A batch: the result set of its SELECT is open afterwards, on its first row.
    q.clearSql();
    q.addSql(QStringLiteral("INSERT INTO Main (Serial) VALUES (9)"));
    q.addSql(QStringLiteral("SELECT Serial FROM Main WHERE Serial = 9"));
    q.execute();
    ASSERT_TRUE(q.active());
    EXPECT_EQ(q.field(0).asInteger(), 9);
    q.setSql(QStringLiteral("DELETE FROM Main"));
    EXPECT_THROW(q.open(), SqlError);  // no result set
    q.setSql(QStringLiteral("SELEC 1"));
    try {
        q.execute();
        ADD_FAILURE();
    } catch (const SqlError& e) {
        EXPECT_FALSE(e.message().isEmpty());
        EXPECT_FALSE(q.executing());
    }
    Query unconnected;
    unconnected.setSql(QStringLiteral("SELECT 1"));
    EXPECT_THROW(unconnected.open(), SqlError);
}

TEST_F(ConnectionQuery, ParametersByPosition) {
    Query q(&m_connection);
    q.setSql(QStringLiteral("SELECT Serial FROM Main WHERE Serial >= :low AND Sabt <> ? AND Sabt <> '?'"));
    EXPECT_EQ(q.paramCount(), 2);
    q.setParam(0, 2);
    q.setParam(1, QStringLiteral("C"));
    EXPECT_EQ(q.param(1).toString(), QStringLiteral("C"));
    q.open();
    EXPECT_EQ(q.recordCount(), 0);  // 'c' equals 'C' under the database's collation
    EXPECT_THROW(q.param(5), SqlError);
    // In a batch each statement takes its own markers in order.
    q.setSql(QStringLiteral("UPDATE Main SET Sabt = ? WHERE Serial = ?\nIF EXISTS (SELECT * FROM Main WHERE Serial = ?) "
                            "UPDATE Main SET Weight = ? WHERE Serial = 1\nSELECT Sabt, Weight FROM Main WHERE Serial = 1"));
    EXPECT_EQ(q.paramCount(), 4);
    q.setParam(0, QStringLiteral("new"));
    q.setParam(1, 1);
    q.setParam(2, 3);
    q.setParam(3, 7.5);
    q.execute();
    ASSERT_TRUE(q.active());
    EXPECT_EQ(q.field(0).asString(), QStringLiteral("new"));
    EXPECT_EQ(q.field(1).asFloat(), 7.5);
}

TEST(FieldText, GeneralNumberFormatAndConversions) {
    QVariant v(0.1 + 0.2);
    Field f(QStringLiteral("F"), &v);
    EXPECT_EQ(f.asString(), QStringLiteral("0.3"));
    v = QVariant(1e-6);
    EXPECT_EQ(f.asString(), QStringLiteral("1E-6"));
    v = QVariant(qlonglong(42));
    EXPECT_EQ(f.asString(), QStringLiteral("42"));
    EXPECT_EQ(f.asFloat(), 42.0);
    f.setKind(Field::Kind::Float);
    f.setAsString(QStringLiteral(" 3.25 "));
    EXPECT_EQ(v.toDouble(), 3.25);
    EXPECT_THROW(f.setAsString(QStringLiteral("abc")), SqlError);
    f.setKind(Field::Kind::Integer);
    EXPECT_THROW(f.setAsString(QStringLiteral("1.5")), SqlError);
    f.setAsString(QString());
    EXPECT_TRUE(f.isNull());
    EXPECT_EQ(f.asString(), QString());
}

}  // namespace
}  // namespace da::testing
