// The rewriter's pure functions: statement splitting, name and function mapping.
#include "dataaccess/embedded/textdriver/openrowset.h"
#include "dataaccess/embedded/tsqlcolumns.h"
#include "dataaccess/embedded/tsqlrewriter.h"
#include "dataaccess/sqlerror.h"

#include "tests/fixtures/qstringprint.h"

#include <gtest/gtest.h>

namespace da::embedded {
namespace {

QStringList statementsOf(const QString& batch) {
    const Tokens t = tokenize(batch);
    QStringList out;
    for (const Span& s : splitStatements(t)) {
        QStringList words;
        for (int i = s.begin; i < s.end; ++i) words << t[static_cast<size_t>(i)].text;
        out << words.join(u' ');
    }
    return out;
}

QString rewritten(const QString& text) {
    const Tokens t = tokenize(text);
    RewriteContext c;
    c.database = QStringLiteral("Farm");
    return rewrite(t, {0, static_cast<int>(t.size())}, c);
}

TEST(TsqlLexer, LiteralsNamesAndMarkers) {
    const Tokens t = tokenize(QStringLiteral("N'it''s' [a]]b] \"q\" @@VERSION ? :p 1.5e3 <> -- note\n/* c */ x"));
    ASSERT_EQ(t.size(), 9u);
    EXPECT_EQ(t[0].kind, TokenKind::String);
    EXPECT_EQ(t[0].value, QStringLiteral("it's"));
    EXPECT_EQ(t[1].value, QStringLiteral("a]b"));
    EXPECT_EQ(t[2].value, QStringLiteral("q"));
    EXPECT_EQ(t[3].kind, TokenKind::Variable);
    EXPECT_EQ(t[4].kind, TokenKind::Param);
    EXPECT_EQ(t[5].kind, TokenKind::Param);
    EXPECT_EQ(t[6].text, QStringLiteral("1.5e3"));
    EXPECT_TRUE(t[7].isSymbol("<>"));
    EXPECT_TRUE(t[8].isWord("X"));
    EXPECT_THROW(tokenize(QStringLiteral("SELECT 'open")), SqlError);
}

TEST(TsqlSplit, StatementsOfABatch) {
    const struct {
        const char* batch;
        QStringList statements;
    } cases[] = {
        {"CREATE TABLE T (A int) INSERT INTO T VALUES (1) SELECT * FROM T",
         {"CREATE TABLE T ( A int )", "INSERT INTO T VALUES ( 1 )", "SELECT * FROM T"}},
        {"INSERT INTO T SELECT A FROM U; SELECT 1", {"INSERT INTO T SELECT A FROM U", "SELECT 1"}},
        {"UPDATE T SET A = 1 WHERE A IN (SELECT B FROM U)", {"UPDATE T SET A = 1 WHERE A IN ( SELECT B FROM U )"}},
        {"SELECT A FROM T UNION ALL SELECT B FROM U", {"SELECT A FROM T UNION ALL SELECT B FROM U"}},
        {"if exists (SELECT * FROM T) drop view [dbo].[V] SELECT 2",
         {"if exists ( SELECT * FROM T ) drop view [dbo] . [V]", "SELECT 2"}},
        {"IF 1 = 1 SELECT 1 ELSE SELECT 2", {"IF 1 = 1 SELECT 1 ELSE SELECT 2"}},
        {"CREATE PROCEDURE P As Begin Select 1 Into [_X] End", {"CREATE PROCEDURE P As Begin Select 1 Into [_X] End"}},
        {"CREATE VIEW V AS SELECT A FROM T", {"CREATE VIEW V AS SELECT A FROM T"}},
        {";;SELECT 1;", {"SELECT 1"}},
    };
    for (const auto& c : cases) EXPECT_EQ(statementsOf(QLatin1String(c.batch)), c.statements) << c.batch;
}

// The rewritten text where it is the point: the keyed join's table stands in the join,
// and keywords of SQLite used as names are quoted. What rewritten statements give is
// judged by running them (rewriteresults_test.cpp).
TEST(TsqlRewrite, TextWhereTheTextIsThePoint) {
    const Tokens t = tokenize(QStringLiteral("FROM P T INNER JOIN Main M ON T.RegNo COLLATE Arabic_CI_AI_KS_WS = M.Sabt WHERE Abort = 1"));
    RewriteContext c;
    c.database = QStringLiteral("Farm");
    QStringList asked;
    c.keyedJoin = [&asked](const QString& table, const QString& column, const QString& collation) {
        asked << table + u'.' + column + u' ' + collation;
        return QStringLiteral("tsql_keyed$1");
    };
    const QString sql = rewrite(t, {0, static_cast<int>(t.size())}, c);
    EXPECT_EQ(asked, QStringList{QStringLiteral("Main.Sabt TSQL_CI_AI")});
    EXPECT_EQ(sql, QStringLiteral("FROM \"P\" \"T\" INNER JOIN temp.\"tsql_keyed$1\"(\"T\".\"RegNo\") AS \"M\" WHERE \"Abort\" = 1"));
    // A second condition keeps the join as written.
    const Tokens two = tokenize(QStringLiteral("FROM P T JOIN Main M ON T.RegNo COLLATE Arabic_CI_AI_KS_WS = M.Sabt AND 1 = 1"));
    EXPECT_FALSE(rewrite(two, {0, static_cast<int>(two.size())}, c).contains(QLatin1String("tsql_keyed")));
    EXPECT_EQ(asked.size(), 1);
}

TEST(TsqlRewrite, RefusesWhatSqlServerRefusesAndWhatIsNotSupported) {
    const struct {
        const char* tsql;
        const char* message;
    } cases[] = {
        {"Count()", "The count function requires 1 argument(s)."},
        {"Count( a, b )", "The count function requires 1 argument(s)."},
        {"SUBSTRING(a, 1)", "The substring function requires 3 argument(s)."},
        {"Other.dbo.T", "The cross-database reference 'Other.dbo.T' is not supported by the embedded engine."},
        {"A COLLATE Latin1_General_XX", "The collation 'Latin1_General_XX' is not supported by the embedded engine."},
        {"@x", "The variable @x is not supported by the embedded engine."},
        {"INFORMATION_SCHEMA.ROUTINES", "INFORMATION_SCHEMA.ROUTINES is not supported by the embedded engine."},
    };
    for (const auto& c : cases) {
        try {
            rewritten(QLatin1String(c.tsql));
            ADD_FAILURE() << "no error for " << c.tsql;
        } catch (const SqlError& e) {
            EXPECT_EQ(e.message(), QLatin1String(c.message)) << c.tsql;
        }
    }
}

TEST(TsqlColumns, DefinitionsInSqliteTerms) {
    const struct {
        const char* def;
        const char* sqlite;
    } cases[] = {
        {"[Sabt] nvarchar(50) NOT NULL", "\"Sabt\" nvarchar(50) NOT NULL COLLATE TSQL_CI"},
        {"[PeriodCount] float",
         "\"PeriodCount\" float CHECK (\"PeriodCount\" < '' OR \"PeriodCount\" IS NULL OR "
         "tsql_convertible(\"PeriodCount\", 'float'))"},
        {"ID int IDENTITY(1,1) NOT NULL", "\"ID\" INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL"},
        {"Name varchar(10) COLLATE Arabic_CI_AI_KS_WS DEFAULT 'x'",
         "\"Name\" varchar(10) DEFAULT ('x') COLLATE TSQL_CI_AI"},
        {"N int CONSTRAINT PK_T PRIMARY KEY CLUSTERED",
         "\"N\" int PRIMARY KEY CHECK (\"N\" < '' OR \"N\" IS NULL OR tsql_convertible(\"N\", 'int'))"},
        {"D datetime DEFAULT (getdate())", "\"D\" datetime DEFAULT ((tsql_getdate()))"},
    };
    RewriteContext context;
    for (const auto& c : cases) {
        const Tokens t = tokenize(QLatin1String(c.def));
        EXPECT_EQ(translateColumn(t, {0, static_cast<int>(t.size())}, context).sqlite, QLatin1String(c.sqlite)) << c.def;
    }
}

TEST(OpenRowset, DirectoryAndFileAsTheTransferQuotesThem) {
    const struct {
        const char* sql;
        const char* dir;
        const char* file;
    } cases[] = {
        {"OPENROWSET('MSDASQL', 'Driver={Microsoft Text Driver (*.txt; *.csv)};DefaultDir=/data/in/;', "
         "'SELECT * FROM [bv.txt];') Rowset_4",
         "/data/in/", "bv.txt"},
        {"OPENROWSET('MSDASQL', 'Driver={Microsoft Text Driver (*.txt; *.csv)};DefaultDir={/d/a;b}}c/};', "
         "'SELECT * FROM [x]]y z.txt];') AS R",
         "/d/a;b}c/", "x]y z.txt"},
        {"OPENROWSET('MSDASQL', 'Driver={Microsoft Text Driver (*.txt; *.csv)};DefaultDir=/o''k/;', "
         "'SELECT * FROM [it''s.csv]')",
         "/o'k/", "it's.csv"},
        {"OPENROWSET('msdasql', 'DefaultDir=/d/;Driver={Microsoft Text Driver (*.txt; *.csv)}', 'SELECT * FROM bv.txt')",
         "/d/", "bv.txt"},
    };
    for (const auto& c : cases) {
        const Tokens t = tokenize(QString::fromUtf8(c.sql));
        const RowsetSource r = readOpenRowset(t, 0, {0, static_cast<int>(t.size())});
        EXPECT_EQ(r.dir, QString::fromUtf8(c.dir)) << c.sql;
        EXPECT_EQ(r.file, QString::fromUtf8(c.file)) << c.sql;
    }
    const char* refused[] = {
        "OPENROWSET('SQLOLEDB', 'Driver={Microsoft Text Driver (*.txt; *.csv)};DefaultDir=/d/;', 'SELECT * FROM [a]')",
        "OPENROWSET('MSDASQL', 'Driver={SQL Server};Server=x;', 'SELECT * FROM [a]')",
        "OPENROWSET('MSDASQL', 'Driver={Microsoft Text Driver (*.txt; *.csv)};DefaultDir=/d/;', 'SELECT A FROM [a]')",
    };
    for (const char* sql : refused) {
        const Tokens t = tokenize(QString::fromUtf8(sql));
        EXPECT_THROW(readOpenRowset(t, 0, {0, static_cast<int>(t.size())}), SqlError) << sql;
    }
}

}  // namespace
}  // namespace da::embedded
