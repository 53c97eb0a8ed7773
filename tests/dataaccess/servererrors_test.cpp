// Every error of the embedded engine carries SQL Server's native error number and
// SQLSTATE, whether SQLite, the rewriter, the text driver or a value check raised it.
#include "embeddedserver.h"

namespace da::testing {
namespace {

class ServerErrorsTest : public EmbeddedServer {
protected:
    void SetUp() override {
        EmbeddedServer::SetUp();
        run(QStringLiteral("CREATE TABLE Main (Serial int PRIMARY KEY, Sabt nvarchar(5) NOT NULL, Milk float, Small tinyint)"));
        run(QStringLiteral("INSERT INTO Main VALUES (1, N'a', 1.5, 1)"));
    }

    // "number SQLSTATE" of the statement's error.
    QString numbersOf(const QString& sql) {
        try {
            run(sql);
        } catch (const SqlError& e) {
            return QStringLiteral("%1 %2").arg(e.nativeError()).arg(e.sqlState());
        }
        return QStringLiteral("no error");
    }
};

TEST_F(ServerErrorsTest, ErrorsCarrySqlServersNumbers) {
    const struct {
        const char* sql;
        const char* numbers;
    } cases[] = {
        {"SELECT * FROM Nowhere", "208 42S02"},
        {"SELECT Nothing FROM Main", "207 42S22"},
        {"CREATE TABLE Main (x int)", "2714 42S01"},
        {"SELECT * INTO Main FROM Main", "2714 42S01"},
        {"INSERT INTO Main VALUES (1, N'b', 2, 2)", "2627 23000"},
        {"INSERT INTO Main (Serial) VALUES (9)", "515 23000"},
        {"INSERT INTO Main VALUES (2, N'b', 'many', 2)", "8114 22018"},
        {"INSERT INTO Main VALUES ('x2', N'b', 1, 2)", "245 22018"},
        {"INSERT INTO Main VALUES (3, N'b', 1, 300)", "8115 22003"},
        {"INSERT INTO Main VALUES (4, N'toolong', 1, 1)", "8152 22001"},
        {"INSERT INTO Main VALUES (5, N'b')", "213 21S01"},
        {"SELECT * FROM", "102 42000"},
        {"SELECT 1 FROM Main WHERE", "102 42000"},
        {"SELECT 'open", "105 42000"},
        {"SELECT NOSUCHFN(1)", "195 42000"},
        {"DROP TABLE Nowhere", "3701 42S02"},
        {"USE master", "40515 42000"},
        {"RAISERROR('stop', 16, 1)", "50000 42000"},
        {"SELECT * INTO T FROM OPENROWSET('MSDASQL', 'Driver={Microsoft Text Driver (*.txt; *.csv)};DefaultDir={/nonexistent-folder};', "
         "'SELECT * FROM [bv.txt];')",
         "7399 42000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(numbersOf(QString::fromUtf8(c.sql)), QLatin1String(c.numbers)) << c.sql;
}

TEST_F(ServerErrorsTest, AConnectionThatFailsCarriesNumbersToo) {
    m_connection.disconnect();
    m_connection.setServer(server());
    m_connection.setDatabase(QStringLiteral("Nowhere"));
    try {
        m_connection.connect();
        FAIL() << "connected to a database that does not exist";
    } catch (const SqlError& e) {
        EXPECT_EQ(e.nativeError(), 4060);
        EXPECT_EQ(e.sqlState(), QStringLiteral("42000"));
    }
}

}  // namespace
}  // namespace da::testing
