// The rewriter judged by what the rewritten statements give when run: names, literals,
// operators and functions of T-SQL, each case a statement and the rows it must answer.
#include "embeddedserver.h"

namespace da::testing {
namespace {

class RewriteResults : public EmbeddedServer {
protected:
    void SetUp() override {
        EmbeddedServer::SetUp();
        run(QStringLiteral("CREATE TABLE Info (A int, B nvarchar(10), X int, Y int, RegNo nvarchar(20), Sabt nvarchar(20), "
                           "Abort int, Nothing int)"));
        run(QStringLiteral("INSERT INTO Info VALUES (1, NULL, 5, 7, N'hABC', N'habc', 1, NULL)"));
    }
};

TEST_F(RewriteResults, NamesLiteralsOperatorsAndFunctions) {
    const struct {
        const char* tsql;
        QStringList rows;
    } cases[] = {
        // Schema and database prefixes, brackets, aliases.
        {"SELECT A FROM [dbo].[Info]", {"1"}},
        {"SELECT A FROM Dbo.Info", {"1"}},
        {"SELECT A FROM Farm.dbo.Info", {"1"}},
        {"SELECT A FROM Farm..Info", {"1"}},
        {"SELECT COUNT(*) FROM Master.Dbo.sysdatabases WHERE name = 'Farm'", {"1"}},
        {"SELECT T.RegNo FROM Info T", {"hABC"}},
        {"SELECT T.* FROM Info T", {"1|NULL|5|7|hABC|habc|1|NULL"}},
        {"SELECT COUNT(*) FROM INFORMATION_SCHEMA.COLUMNS WHERE TABLE_NAME = 'Info'", {"8"}},
        // SQLite's keywords as names.
        {"SELECT COUNT(*) FROM Info WHERE Abort = 1 AND Nothing IS NULL", {"1"}},
        {"SELECT N'x'", {"x"}},
        // Functions; their text results compare ignoring case, as their column would.
        {"SELECT SUBSTRING(RegNo, 2, 100) FROM Info", {"ABC"}},
        {"SELECT COUNT(*) FROM Info WHERE SUBSTRING(RegNo, 1, 1) = 'H'", {"1"}},
        {"SELECT LEN(RegNo) + ISNULL(B, 0) FROM Info", {"4"}},
        {"SELECT UPPER(RegNo), LOWER(RegNo) FROM Info", {"HABC|habc"}},
        {"SELECT COUNT(*) FROM Info WHERE UPPER(RegNo) = 'habc'", {"1"}},
        {"SELECT LTRIM('  a') + RTRIM('b  ') + 'c'", {"abc"}},
        {"SELECT CHARINDEX('B', RegNo) FROM Info", {"3"}},
        {"SELECT CONVERT(int, '12') + 1", {"13"}},
        {"SELECT Count( DISTINCT Sabt ) FROM Info", {"1"}},
        {"SELECT CASE WHEN @@VERSION LIKE 'Microsoft SQL Server%' THEN 1 ELSE 0 END", {"1"}},
        {"SELECT CASE WHEN OBJECT_ID('Info') IS NOT NULL THEN 1 ELSE 0 END", {"1"}},
        // + joins texts and adds numbers; a NULL part makes the whole NULL.
        {"SELECT 'n' + RegNo + 'x' FROM Info", {"nhABCx"}},
        {"SELECT X * 2 + Y - 3 FROM Info", {"14"}},
        {"SELECT RegNo + 'x' + B FROM Info", {"NULL"}},
        {"SELECT 'n' + CASE WHEN A = 1 THEN 'x' + RegNo ELSE 'y' END FROM Info", {"nxhABC"}},
        {"SELECT -1 - X FROM Info", {"-6"}},
        // Collations: case and accents.
        {"SELECT COUNT(*) FROM Info T, Info M WHERE T.RegNo COLLATE Arabic_CI_AI_KS_WS = M.Sabt", {"1"}},
        {"SELECT CASE WHEN N'caf\u00e9' COLLATE Arabic_CI_AI_KS_WS = 'CAFE' THEN 1 ELSE 0 END", {"1"}},
        {"SELECT CASE WHEN N'caf\u00e9' COLLATE Latin1_General_CI_AS = 'CAFE' THEN 1 ELSE 0 END", {"0"}},
        {"SELECT CASE WHEN 1 !< 1 THEN 1 ELSE 0 END", {"1"}},
    };
    for (const auto& c : cases) EXPECT_EQ(values(QString::fromUtf8(c.tsql)), c.rows) << c.tsql;
}

TEST_F(RewriteResults, ParametersInTheirOrder) {
    const ResultSet r = run(QStringLiteral("SELECT COUNT(*) FROM Info WHERE A = ? AND X = :x AND RegNo = ?"),
                            {1, 5, QStringLiteral("HABC")});
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(r.rows[0][0].toInt(), 1);
}

}  // namespace
}  // namespace da::testing
