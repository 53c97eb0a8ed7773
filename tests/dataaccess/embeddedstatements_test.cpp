// Statement shapes of the embedded engine and SQL Server's answers to them.
#include "embeddedserver.h"

namespace da::testing {
namespace {

class EmbeddedStatements : public EmbeddedServer {
protected:
    void SetUp() override {
        EmbeddedServer::SetUp();
        run(QStringLiteral("CREATE TABLE [dbo].[Main] (Serial int PRIMARY KEY, Sabt nvarchar(50), Weight float)"));
        run(QStringLiteral("INSERT INTO Main VALUES (1, N'abc', 2.5)"));
        run(QStringLiteral("INSERT INTO dbo.Main (Serial, Sabt) VALUES (2, 'ABC')"));
    }
    QStringList column(const QString& sql) {
        QStringList out;
        for (const auto& row : run(sql).rows) out << (row[0].isNull() ? QStringLiteral("NULL") : row[0].toString());
        return out;
    }
};

TEST_F(EmbeddedStatements, FunctionsWithTsqlSemantics) {
    const struct {
        const char* expression;
        const char16_t* expected;
    } cases[] = {
        {"SUBSTRING('abcdef', 2, 3)", u"bcd"},
        {"SUBSTRING('abcdef', 0, 3)", u"ab"},
        {"SUBSTRING('abcdef', -1, 3)", u"a"},
        {"SUBSTRING('abcdef', 5, 100)", u"ef"},
        {"SUBSTRING('abcdef', 7, 2)", u""},
        {"SUBSTRING('abcdef', 2, 0)", u""},
        {"SUBSTRING(N'\u0643\u062a\u0627\u0628', 2, 2)", u"\u062a\u0627"},
        {"SUBSTRING(NULL, 1, 1)", u"NULL"},
        {"LEN('ab  ')", u"2"},
        {"LEN(N'\u0643\u062a\u0627\u0628')", u"4"},
        {"LEN(12345)", u"5"},
        {"UPPER(N'\u00e9t\u00e9')", u"\u00c9T\u00c9"},
        {"LOWER('ABC')", u"abc"},
        {"LTRIM('  a  ') + '|'", u"a  |"},
        {"RTRIM('  a  ')", u"  a"},
        {"ISNULL(NULL, 'x')", u"x"},
        {"LEN(CONVERT(nvarchar(30), GETDATE()))", u"23"},
        {"CHARINDEX('c', 'abcd')", u"3"},
        {"COUNT(DISTINCT Sabt)", u"1"},
    };
    for (const auto& c : cases) {
        const QString sql = QStringLiteral("SELECT %1 FROM Main WHERE Serial = 1").arg(QString::fromUtf8(c.expression));
        EXPECT_EQ(column(sql), QStringList{QString::fromUtf16(c.expected)}) << c.expression;
    }
    // T-SQL's + joins texts and adds numbers, a numeric text beside a number included.
    EXPECT_EQ(column(QStringLiteral("SELECT Sabt + '-' + CAST(Serial AS nvarchar(10)) AS L FROM Main WHERE Serial = 1")),
              QStringList{"abc-1"});
    EXPECT_EQ(column(QStringLiteral("SELECT Serial + 2 * 3 - 1 FROM Main WHERE Sabt + 'X' = 'ABCx' AND Serial = 1")),
              QStringList{"6"});
    EXPECT_EQ(column(QStringLiteral("SELECT '1' + 1")), QStringList{"2"});
    EXPECT_EQ(errorOf(QStringLiteral("SELECT 'a' + 1")),
              QStringLiteral("Conversion failed when converting the nvarchar value 'a' to data type int."));
    EXPECT_EQ(errorOf(QStringLiteral("SELECT SUBSTRING('abc', 1, -1)")),
              QStringLiteral("Invalid length parameter passed to the substring function."));
    EXPECT_EQ(errorOf(QStringLiteral("SELECT SUBSTRING(Serial, 1, 1) FROM Main")),
              QStringLiteral("Argument data type int is invalid for argument 1 of substring function."));
    EXPECT_EQ(errorOf(QStringLiteral("SELECT Serial COLLATE Arabic_CI_AI_KS_WS FROM Main")),
              QStringLiteral("Expression type int is invalid for COLLATE clause."));
}

TEST_F(EmbeddedStatements, ErrorsWordedLikeSqlServer) {
    const struct {
        const char* sql;
        const char* message;
    } cases[] = {
        {"SELECT * FROM Nowhere", "Invalid object name 'Nowhere'."},
        {"SELECT Nothing FROM Main", "Invalid column name 'Nothing'."},
        {"SELECT M.Nothing FROM Main M", "Invalid column name 'Nothing'."},
        {"INSERT INTO Main VALUES (1, 'dup', 0)",
         "Violation of PRIMARY KEY constraint 'PK_Main'. Cannot insert duplicate key in object 'dbo.Main'."},
        {"INSERT INTO Main VALUES (5, 'x')", "Column name or number of supplied values does not match table definition."},
        {"INSERT INTO Main VALUES (5, 'x', 'heavy')", "Error converting data type nvarchar to float."},
        {"INSERT INTO Main (Serial, Sabt) VALUES ('x', 'y')",
         "Conversion failed when converting the nvarchar value 'x' to data type int."},
        {"INSERT INTO Main (Serial, Nothing) VALUES (7, 'y')", "Invalid column name 'Nothing'."},
        {"CREATE TABLE Main (A int)", "There is already an object named 'Main' in the database."},
        {"SELECT * INTO Main FROM Main", "There is already an object named 'Main' in the database."},
        {"ALTER TABLE Main ADD Sabt int", "Column names in each table must be unique. Column name 'Sabt' in table 'Main' "
                                          "is specified more than once."},
        {"DROP TABLE Nowhere", "Cannot drop the table 'Nowhere', because it does not exist or you do not have permission."},
        {"DROP VIEW Main", "Cannot drop the view 'Main', because it does not exist or you do not have permission."},
        {"SELEC 1", "The statement 'SELEC' is not supported by the embedded engine."},
        {"SELECT 1 FROM Main WHERE", "Incorrect syntax near the end of the statement."},
        {"BACKUP DATABASE Farm TO DISK = 'x'", "The statement 'BACKUP' is not supported by the embedded engine."},
        {"SELECT * FROM Other.dbo.Main",
         "The cross-database reference 'Other.dbo.Main' is not supported by the embedded engine."},
        {"SELECT TOP 10 PERCENT * FROM Main", "TOP .. PERCENT is not supported by the embedded engine."},
        {"UPDATE Main SET Weight = 1 FROM Main INNER JOIN Main M2 ON Main.Serial = M2.Serial",
         "UPDATE .. FROM naming the updated table is not supported by the embedded engine."},
        {"CREATE TABLE #Work (A int)", "The temporary table '#Work' is not supported by the embedded engine."},
        {"IF OBJECT_ID('Nowhere') IS NOT NULL DROP TABLE Nowhere", "no error"},
        {"CREATE DATABASE farm", "Database 'farm' already exists. Choose a different database name."},
        {"DROP DATABASE Farm", "Cannot drop database \"Farm\" because it is currently in use."},
        {"EXEC sp_who", "Could not find stored procedure 'sp_who'."},
        {"SELECT Sabt, COUNT(*) FROM Main", "Column 'Sabt' is invalid in the select list because it is not contained "
                                            "in either an aggregate function or the GROUP BY clause."},
        {"Select Count( * ) As Res  FROM Main Order By Sabt",
         "Column \"Sabt\" is invalid in the ORDER BY clause because it is not contained in either an aggregate "
         "function or the GROUP BY clause."},
    };
    for (const auto& c : cases) EXPECT_EQ(errorOf(QLatin1String(c.sql)), QLatin1String(c.message)) << c.sql;
    EXPECT_EQ(column(QStringLiteral("SELECT COUNT(*) AS Res FROM Main ORDER BY Res")), QStringList{"2"});
    EXPECT_EQ(column(QStringLiteral("SELECT Sabt, COUNT(*) FROM Main GROUP BY Sabt")), QStringList{"abc"});
    EXPECT_EQ(column(QStringLiteral("SELECT MAX(Serial) + 1 FROM Main WHERE Sabt = 'x'")), QStringList{"NULL"});
    // Nothing of a failing statement stays.
    EXPECT_EQ(column(QStringLiteral("SELECT COUNT(*) FROM Main")), QStringList{"2"});
}

TEST_F(EmbeddedStatements, DefinitionsAndCatalogue) {
    run(QStringLiteral("CREATE TABLE [dbo].[Cows] ([ID] [int] IDENTITY (1, 1) NOT NULL, [Name] [nvarchar] (40) NULL, "
                       "[Born] [datetime] NULL, [Milk] real, [Active] bit DEFAULT (1), [Notes] ntext, Big bigint, "
                       "CONSTRAINT [PK_Cows] PRIMARY KEY CLUSTERED ([ID])) ON [PRIMARY] TEXTIMAGE_ON [PRIMARY]"));
    run(QStringLiteral("INSERT INTO Cows (Name) VALUES ('a')"));
    run(QStringLiteral("INSERT INTO Cows VALUES ('b', '2024-01-02', 1.5, 0, N'long', 5)"));  // identity left out
    EXPECT_EQ(column(QStringLiteral("SELECT ID FROM Cows ORDER BY ID")), (QStringList{"1", "2"}));
    EXPECT_EQ(column(QStringLiteral("SELECT Active FROM Cows ORDER BY ID")), (QStringList{"1", "0"}));
    EXPECT_EQ(errorOf(QStringLiteral("INSERT INTO Cows (ID, Name) VALUES (5, 'c')")),
              QStringLiteral("Cannot insert explicit value for identity column in table 'Cows' when IDENTITY_INSERT is "
                             "set to OFF."));
    const ResultSet cols = run(QStringLiteral(
        "SELECT COLUMN_NAME, DATA_TYPE, CHARACTER_MAXIMUM_LENGTH, IS_NULLABLE FROM INFORMATION_SCHEMA.COLUMNS "
        "WHERE TABLE_NAME = 'cows' ORDER BY ORDINAL_POSITION"));
    QStringList described;
    for (const auto& r : cols.rows) {
        described << QStringLiteral("%1 %2 %3 %4").arg(r[0].toString(), r[1].toString(), r[2].isNull() ? QStringLiteral("-") : r[2].toString(), r[3].toString());
    }
    EXPECT_EQ(described, (QStringList{"ID int - NO", "Name nvarchar 40 YES", "Born datetime - YES", "Milk real - YES",
                                      "Active bit - YES", "Notes ntext 1073741823 YES", "Big bigint - YES"}));

    run(QStringLiteral("CREATE UNIQUE NONCLUSTERED INDEX IX_Name ON dbo.Cows (Name DESC)"));
    EXPECT_EQ(errorOf(QStringLiteral("INSERT INTO Cows (Name) VALUES ('A')")),
              QStringLiteral("Cannot insert duplicate key row in object 'dbo.Cows' with unique index."));
    run(QStringLiteral("DROP INDEX Cows.IX_Name"));
    run(QStringLiteral("INSERT INTO Cows (Name) VALUES ('A')"));

    run(QStringLiteral("CREATE VIEW dbo.Heavy AS SELECT Serial, Sabt FROM Main WHERE Weight > 1"));
    EXPECT_EQ(column(QStringLiteral("SELECT Serial FROM Heavy")), QStringList{"1"});
    EXPECT_EQ(column(QStringLiteral("SELECT name FROM sysobjects WHERE xtype = 'V'")), QStringList{"Heavy"});
    EXPECT_EQ(column(QStringLiteral("SELECT TABLE_NAME FROM INFORMATION_SCHEMA.TABLES ORDER BY TABLE_NAME")),
              (QStringList{"Cows", "Heavy", "Main"}));
    run(QStringLiteral("DROP VIEW [dbo].[Heavy]"));
    run(QStringLiteral("DROP TABLE Cows"));
    EXPECT_EQ(column(QStringLiteral("SELECT COUNT(*) FROM sysobjects")), QStringList{"1"});
}

TEST_F(EmbeddedStatements, DataStatements) {
    run(QStringLiteral("INSERT INTO Main (Serial, Sabt, Weight) SELECT Serial + 10, Sabt, Weight FROM Main"));
    EXPECT_EQ(column(QStringLiteral("SELECT COUNT(*) FROM Main")), QStringList{"4"});
    EXPECT_EQ(column(QStringLiteral("SELECT TOP 2 Serial FROM Main ORDER BY Serial DESC")), (QStringList{"12", "11"}));
    EXPECT_EQ(column(QStringLiteral("SELECT DISTINCT TOP 1 Sabt FROM Main")).size(), 1);
    run(QStringLiteral("SELECT Serial, Sabt INTO Copy FROM Main WHERE Serial > 10"));
    EXPECT_EQ(column(QStringLiteral("SELECT DATA_TYPE FROM INFORMATION_SCHEMA.COLUMNS WHERE TABLE_NAME = 'Copy' "
                                    "ORDER BY ORDINAL_POSITION")),
              (QStringList{"int", "nvarchar"}));
    EXPECT_EQ(column(QStringLiteral("SELECT COUNT(*) FROM Copy WHERE Sabt = 'ABC'")), QStringList{"2"});
    run(QStringLiteral("UPDATE Copy SET Sabt = LOWER(Sabt) + '' WHERE Serial = 11"));
    run(QStringLiteral("UPDATE Copy SET Serial = M.Serial + 100 FROM Main M WHERE M.Serial = Copy.Serial - 10"));
    EXPECT_EQ(column(QStringLiteral("SELECT Serial FROM Copy ORDER BY Serial")), (QStringList{"101", "102"}));
    run(QStringLiteral("UPDATE Copy SET Serial = Serial - 90"));
    run(QStringLiteral("DELETE Copy WHERE Serial = 12"));
    EXPECT_EQ(column(QStringLiteral("SELECT Sabt FROM Copy")), QStringList{"abc"});
    run(QStringLiteral("TRUNCATE TABLE Copy"));
    EXPECT_EQ(column(QStringLiteral("SELECT COUNT(*) FROM Copy")), QStringList{"0"});
    run(QStringLiteral("IF NOT EXISTS (SELECT * FROM Copy) INSERT INTO Copy VALUES (1, 'x') ELSE DELETE FROM Copy"));
    run(QStringLiteral("IF EXISTS (SELECT * FROM Copy WHERE Sabt = 'X') UPDATE Copy SET Sabt = 'y'"));
    EXPECT_EQ(column(QStringLiteral("SELECT Sabt FROM Copy")), QStringList{"y"});
    run(QStringLiteral("SET NOCOUNT ON; DELETE FROM Copy; SELECT 1"));
    EXPECT_EQ(column(QStringLiteral("SELECT COUNT(*) FROM Copy")), QStringList{"0"});
    EXPECT_EQ(column(QStringLiteral("SELECT [Serial] FROM [Farm].[dbo].[Main] WHERE [Serial] = 1")), QStringList{"1"});
    EXPECT_EQ(column(QStringLiteral("SELECT Serial FROM Farm..Main WHERE Sabt = N'ABC' ORDER BY 1")),
              (QStringList{"1", "2", "11", "12"}));
    EXPECT_EQ(column(QStringLiteral("SELECT SUM(Weight) FROM Main WHERE Weight IS NOT NULL")), QStringList{"5"});
}

// A copy from checked columns skips checking their values again; any other value is
// still checked, and so is every check the table was created with.
TEST_F(EmbeddedStatements, CopiedValuesAreCheckedUnlessTheirColumnsWere) {
    run(QStringLiteral("CREATE TABLE Words (Id int, Word nvarchar(20), Amount float)"));
    run(QStringLiteral("INSERT INTO Words VALUES (1, 'heavy', 2), (2, '3.5', 4)"));
    run(QStringLiteral("CREATE TABLE Copy (Serial int, Weight float, Note nvarchar(20))"));
    run(QStringLiteral("CREATE TABLE Positive (Serial int CHECK (Serial > 1), Weight float)"));
    const struct {
        const char* sql;
        const char* message;
    } cases[] = {
        {"INSERT INTO Copy SELECT M.Serial, M.Weight, M.Sabt FROM Main M", "no error"},
        {"INSERT INTO Copy SELECT W.Id, W.Amount AS A, NULL FROM Words W INNER JOIN Main M ON W.Id = M.Serial", "no error"},
        {"INSERT INTO Copy (Weight, Serial) SELECT NULL, 7", "no error"},
        {"INSERT INTO Copy SELECT W.Id, W.Word, NULL FROM Words W", "Error converting data type nvarchar to float."},
        {"INSERT INTO Copy SELECT W.Id, 'x', NULL FROM Words W", "Error converting data type nvarchar to float."},
        {"INSERT INTO Copy SELECT W.Word, W.Amount, NULL FROM Words W",
         "Conversion failed when converting the nvarchar value 'heavy' to data type int."},
        {"INSERT INTO Copy (Serial) SELECT Word FROM Words",
         "Conversion failed when converting the nvarchar value 'heavy' to data type int."},
        {"INSERT INTO Positive SELECT M.Serial, M.Weight FROM Main M",
         "CHECK constraint failed: Serial"},
    };
    for (const auto& c : cases) {
        const QString sql = QString::fromUtf8(c.sql);
        EXPECT_EQ(errorOf(sql).left(static_cast<int>(qstrlen(c.message))), QString::fromUtf8(c.message)) << c.sql;
    }
    EXPECT_EQ(column(QStringLiteral("SELECT COUNT(*) FROM Copy")), QStringList{"5"});
    EXPECT_EQ(column(QStringLiteral("SELECT COUNT(*) FROM Positive")), QStringList{"0"});
    // The checks are back for the statements after.
    EXPECT_EQ(errorOf(QStringLiteral("INSERT INTO Copy (Weight) VALUES ('x')")),
              QStringLiteral("Error converting data type nvarchar to float."));
    EXPECT_EQ(errorOf(QStringLiteral("UPDATE Copy SET Serial = 'x'")),
              QStringLiteral("Conversion failed when converting the nvarchar value 'x' to data type int."));
}

TEST_F(EmbeddedStatements, CollationsOfComparisons) {
    run(QStringLiteral("CREATE TABLE Words (W nvarchar(20), A nvarchar(20) COLLATE Arabic_CI_AI_KS_WS)"));
    run(QStringLiteral("INSERT INTO Words VALUES (N'caf\u00e9', N'caf\u00e9'), (N'\uff21', N'\uff21')"));
    const struct {
        const char16_t* condition;
        const char* count;
    } cases[] = {
        {u"W = 'CAF\u00c9'", "1"},                        // case-insensitive
        {u"W = 'cafe'", "0"},                             // accent-sensitive
        {u"W COLLATE Arabic_CI_AI_KS_WS = 'CAFE'", "1"},  // accents ignored
        {u"A = 'CAFE'", "1"},                             // column collation
        {u"A = 'A'", "0"},                                // width kept
        {u"W = 'caf\u00e9   '", "1"},                     // trailing blanks
        {u"W LIKE 'CAF%'", "1"},
        {u"W > 'b'", "2"},
    };
    for (const auto& c : cases) {
        const QString where = QString::fromUtf16(c.condition);
        EXPECT_EQ(column(QStringLiteral("SELECT COUNT(*) FROM Words WHERE ") + where), QStringList{c.count})
            << where.toStdString();
    }
}

}  // namespace
}  // namespace da::testing
