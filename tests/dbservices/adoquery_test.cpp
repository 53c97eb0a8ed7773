#include "dataaccess/sqlerror.h"
#include "dbservices/adoquery.h"
#include "tests/fixtures/sqlfixture.h"

TEST(AdoConnectionString, PairsAndQuotedValues) {
    struct Case {
        const char* text;
        const char* server;
        const char* database;
        const char* user;
        const char* password;
    } cases[] = {
        {"Provider=SQLOLEDB.1;Persist Security Info=True;Server=srv,1433;Database=Farm;User ID=sa;Password=pw;Provider=X",
         "srv,1433", "Farm", "sa", "pw"},
        {"data source = file:/x ; initial catalog=F;UID=u;PWD=\"a;b\"\"c\";", "file:/x", "F", "u", "a;b\"c"},
        {"Server='it''s';Password=' padded ';junk;Database=", "it's", "", "", " padded "},
        {"", "", "", "", ""},
    };
    for (const Case& c : cases) {
        const da::ConnectParams p = connectParamsOf(QString::fromUtf8(c.text));
        EXPECT_EQ(p.server, QString::fromUtf8(c.server)) << c.text;
        EXPECT_EQ(p.database, QString::fromUtf8(c.database)) << c.text;
        EXPECT_EQ(p.user, QString::fromUtf8(c.user)) << c.text;
        EXPECT_EQ(p.password, QString::fromUtf8(c.password)) << c.text;
    }
}

class AdoQueries : public SqlFixture {
protected:
    void SetUp() override {
        SqlFixture::SetUp();
        run(QStringLiteral("CREATE TABLE T (A int, B nvarchar(10))"));
        run(QStringLiteral("INSERT INTO T VALUES (1, 'one'), (2, 'two'), (3, 'three'), (4, 'four')"));
    }
};

TEST_F(AdoQueries, MadeFromAQueryWithTwoParametersAndOpened) {
    da::Query source(&m_conn);
    source.addSql(QStringLiteral("SELECT B FROM T"));
    source.addSql(QStringLiteral("WHERE A > ? AND B <> :name ORDER BY A"));
    source.setParam(0, 1);
    source.setParam(1, QStringLiteral("three"));

    std::unique_ptr<AdoQuery> ado = m_tools->MsQuery2AdoQuery(&source);
    EXPECT_EQ(ado->sql(), source.sqlLines());
    EXPECT_EQ(ado->connectionString(), QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=True;") +
                                           m_conn.connectString());
    ASSERT_EQ(ado->parameterCount(), 2);
    EXPECT_EQ(ado->parameterValue(0), QVariant(1));
    EXPECT_EQ(ado->parameterValue(1), QVariant(QStringLiteral("three")));
    EXPECT_FALSE(ado->active());
    EXPECT_THROW(ado->setParameterValue(2, 0), da::SqlError);

    ado->open();
    QStringList got;
    for (; !ado->eof(); ado->next()) got << ado->fieldByName(QStringLiteral("B")).asString();
    EXPECT_EQ(got, (QStringList{"two", "four"}));
}

TEST_F(AdoQueries, OpensWithAPasswordThatNeedsQuoting) {
    const QString password = QStringLiteral("p;w\"d ");
    da::Connection master;
    master.setServer(m_server);
    master.setDatabase(QStringLiteral("master"));
    master.connect();
    da::Query login(&master);
    login.setSql(QStringLiteral("INSERT INTO Logins (LoginName, Password) VALUES ('sa', ?)"));
    login.setParam(0, password);
    login.execute();

    da::Connection farm;
    farm.setServer(m_server);
    farm.setDatabase(QStringLiteral("Farm"));
    farm.setUser(QStringLiteral("sa"));
    farm.setPassword(password);
    farm.connect();
    da::Query source(&farm);
    source.setSql(QStringLiteral("SELECT COUNT(*) AS N FROM T"));
    std::unique_ptr<AdoQuery> ado = m_tools->MsQuery2AdoQuery(&source);
    EXPECT_EQ(ado->parameterCount(), 0);
    ado->open();
    EXPECT_EQ(ado->fieldByName(QStringLiteral("N")).asInteger(), 4);

    ado->setConnectionString(adoConnectionPrefix() + QStringLiteral("Server=") + m_server +
                             QStringLiteral(";Database=Farm;User ID=sa;Password=wrong;"));
    EXPECT_THROW(ado->open(), da::SqlError);
}
