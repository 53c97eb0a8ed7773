// Connect strings, driver choice, parameter markers and message clean-up: no driver needed.
#include "dataaccess/odbc/odbchandle.h"
#include "dataaccess/odbc/odbcstatement.h"
#include "dataaccess/odbc/odbctarget.h"

#include <gtest/gtest.h>

using namespace da;
using namespace da::odbc;

TEST(OdbcTarget, ServerNameForms) {
    struct Case {
        QString server;
        QString database;
        QString expected;  // the connect string without credentials
    };
    const QString tail = QStringLiteral("TDS_Version=7.4;ClientCharset=UTF-8;");
    const Case cases[] = {
        {"farmsrv", "Farm", "Driver={FreeTDS};Server=farmsrv;Database=Farm;" + tail},
        {"farmsrv\\SQLEXPRESS", "Farm", "Driver={FreeTDS};Server=farmsrv\\SQLEXPRESS;Database=Farm;" + tail},
        {"10.0.0.5,1433", "Farm", "Driver={FreeTDS};Server=10.0.0.5;Port=1433;Database=Farm;" + tail},
        {" farmsrv , 2301 ", "", "Driver={FreeTDS};Server=farmsrv;Port=2301;" + tail},
        {".", "master", "Driver={FreeTDS};Server=localhost;Database=master;" + tail},
        {"(LOCAL)\\SQLEXPRESS", "", "Driver={FreeTDS};Server=localhost\\SQLEXPRESS;" + tail},
        // not a port: left whole for the driver to refuse
        {"farmsrv,abc", "", "Driver={FreeTDS};Server=farmsrv,abc;" + tail},
        {"farmsrv,70000", "", "Driver={FreeTDS};Server=farmsrv,70000;" + tail},
    };
    for (const Case& c : cases) {
        ConnectParams p;
        p.server = c.server;
        p.database = c.database;
        OdbcTarget t = makeTarget(p, QStringLiteral("FreeTDS"));
        EXPECT_EQ(t.connectString, c.expected) << c.server.toStdString();
        EXPECT_TRUE(t.sqlServer);
        EXPECT_EQ(t.options, "Driver={FreeTDS};" + tail);
    }
}

TEST(OdbcTarget, CredentialsAreQuotedWhenTheyHoldSyntax) {
    ConnectParams p;
    p.server = QStringLiteral("srv");
    p.user = QStringLiteral("sa");
    p.password = QStringLiteral("a;b}c");
    OdbcTarget t = makeTarget(p, QStringLiteral("{FreeTDS}"));
    EXPECT_TRUE(t.connectString.startsWith(QStringLiteral("Driver={FreeTDS};Server=srv;")));
    EXPECT_TRUE(t.connectString.endsWith(QStringLiteral("UID=sa;PWD={a;b}}c};")));
    EXPECT_FALSE(t.options.contains(QStringLiteral("PWD")));

    p.password.clear();
    EXPECT_TRUE(makeTarget(p, QStringLiteral("FreeTDS")).connectString.endsWith(QStringLiteral("UID=sa;PWD=;")));
    p.user.clear();
    EXPECT_FALSE(makeTarget(p, QStringLiteral("FreeTDS")).connectString.contains(QStringLiteral("UID")));
}

TEST(OdbcTarget, ConnectValues) {
    const std::pair<QString, QString> cases[] = {
        {"plain", "plain"},
        {"", ""},
        {"with;semi", "{with;semi}"},
        {"a=b", "{a=b}"},
        {" pad", "{ pad}"},
        {"x}y", "{x}}y}"},
        {"{z", "{{z}"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(connectValue(in), out) << in.toStdString();
}

TEST(OdbcTarget, RawConnectStringAndDriverPath) {
    ConnectParams p;
    p.server = QStringLiteral("odbc:Driver={SQLite3};Database=/tmp/x.db");
    p.database = QStringLiteral("ignored");
    OdbcTarget t = makeTarget(p, QStringLiteral("FreeTDS"));
    EXPECT_FALSE(t.sqlServer);
    EXPECT_EQ(t.connectString, QStringLiteral("Driver={SQLite3};Database=/tmp/x.db;"));
    p.user = QStringLiteral("u");
    p.password = QStringLiteral("p");
    EXPECT_EQ(makeTarget(p, {}).connectString, QStringLiteral("Driver={SQLite3};Database=/tmp/x.db;UID=u;PWD=p;"));

    p = {};
    p.server = QStringLiteral("srv");
    EXPECT_TRUE(makeTarget(p, QStringLiteral("/opt/lib/libtdsodbc.so"))
                    .connectString.startsWith(QStringLiteral("Driver=/opt/lib/libtdsodbc.so;Server=srv;")));
}

TEST(OdbcTarget, DriverChoice) {
    const QStringList registered{QStringLiteral("SQLite3"), QStringLiteral("FreeTDS")};
    const QString lib = QStringLiteral("/usr/lib/odbc/libtdsodbc.so");
    EXPECT_EQ(chooseDriver(QStringLiteral(" MyTds "), registered, lib), QStringLiteral("MyTds"));
    EXPECT_EQ(chooseDriver({}, registered, lib), QStringLiteral("FreeTDS"));
    EXPECT_EQ(chooseDriver({}, {QStringLiteral("freetds")}, lib), QStringLiteral("FreeTDS"));
    EXPECT_EQ(chooseDriver({}, {QStringLiteral("SQLite3")}, lib), lib);
    EXPECT_EQ(chooseDriver({}, {}, {}), QStringLiteral("FreeTDS"));
}

TEST(OdbcTarget, PositionalMarkers) {
    const std::pair<QString, QString> cases[] = {
        {"SELECT * FROM T WHERE A = :a AND B = :b_2", "SELECT * FROM T WHERE A = ? AND B = ?"},
        {"SELECT ? , :x", "SELECT ? , ?"},
        {"SELECT ':a', \":b\", [c:d] FROM T WHERE x = :x", "SELECT ':a', \":b\", [c:d] FROM T WHERE x = ?"},
        {"SELECT 'it''s :q' + :p", "SELECT 'it''s :q' + ?"},
        {"SELECT 1 -- :c\nWHERE :d", "SELECT 1 -- :c\nWHERE ?"},
        {"SELECT /* :c */ :d", "SELECT /* :c */ ?"},
        {"SELECT x::int, '12:30', a: 1", "SELECT x::int, '12:30', a: 1"},
        {"SELECT 'unterminated :a", "SELECT 'unterminated :a"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(positionalMarkers(in), out) << in.toStdString();
}

TEST(OdbcTarget, OriginTagsAreDropped) {
    EXPECT_EQ(stripOriginTags(QStringLiteral("[FreeTDS][SQL Server]Invalid object name 'x'.")),
              QStringLiteral("Invalid object name 'x'."));
    EXPECT_EQ(stripOriginTags(QStringLiteral("[unixODBC][Driver Manager]Data source name not found")),
              QStringLiteral("Data source name not found"));
    EXPECT_EQ(stripOriginTags(QStringLiteral("no tags [here]")), QStringLiteral("no tags [here]"));
    EXPECT_EQ(stripOriginTags(QStringLiteral("[unclosed")), QStringLiteral("[unclosed"));
}
