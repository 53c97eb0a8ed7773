#include "toolkit/sqltext.h"

#include <gtest/gtest.h>

TEST(CountedForm, RewritesTheColumnListUpToTheFirstFrom) {
    struct Case {
        const char* select;
        const char* counted;
    } cases[] = {
        {"SELECT * FROM Main WHERE Serial > 10", "Select Count( * ) As Res  FROM Main WHERE Serial > 10"},
        {"select * from Main", "Select Count( * ) As Res  from Main"},
        {"SELECT DISTINCT Sabt FROM Main", "Select Count( DISTINCT Sabt ) As Res  FROM Main"},
        {"SELECT ValidFrom FROM T", "Select Count( Valid) As Res  From FROM T"},
        {"SELECT a, b FROM T", "Select Count( a, b ) As Res  FROM T"},
        {"SELECT 1", "Select Count() As Res   1"},
        {"SELECT*FROM T", "Select Count(*) As Res  FROM T"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sqltext::countedForm(QString::fromUtf8(c.select)), QString::fromUtf8(c.counted)) << c.select;
}

TEST(CountedForm, OnlyBlanksAreLeadingWhiteSpace) {
    EXPECT_EQ(sqltext::removeLeadingBlanks(QStringLiteral("   SELECT 1")), QStringLiteral("SELECT 1"));
    EXPECT_EQ(sqltext::removeLeadingBlanks(QStringLiteral(" \tSELECT 1")), QStringLiteral("\tSELECT 1"));
    EXPECT_EQ(sqltext::removeLeadingBlanks(QStringLiteral("   ")), QString());
    EXPECT_TRUE(sqltext::startsWithSelect(QStringLiteral("sElEcT x")));
    EXPECT_FALSE(sqltext::startsWithSelect(QStringLiteral("\tSELECT x")));
    EXPECT_FALSE(sqltext::startsWithSelect(QStringLiteral("\r\nSELECT x")));
    EXPECT_FALSE(sqltext::startsWithSelect(QStringLiteral("SELEC")));
}

TEST(ProbeTexts, AreExactWithQuotesDoubled) {
    EXPECT_EQ(sqltext::fieldExistSql(QStringLiteral("BV"), QStringLiteral("CalveDistance_Avg")),
              QStringLiteral("SELECT * FROM INFORMATION_SCHEMA.COLUMNS WHERE TABLE_NAME = 'BV'AND  COLUMN_NAME = "
                             "'CalveDistance_Avg'"));
    EXPECT_EQ(sqltext::tableExistSql(QStringLiteral("O'Brien")),
              QStringLiteral("SELECT  * FROM  INFORMATION_SCHEMA.TABLES Where (Table_Name = 'O''Brien') And "
                             "Table_Type='BASE TABLE' "));
    EXPECT_EQ(sqltext::databaseExistSql(QStringLiteral("Masters")),
              QStringLiteral("select * from Master.Dbo.sysdatabases where Name=(N'Masters') "));
    EXPECT_EQ(sqltext::spExistSql(QStringLiteral("p'1")),
              QStringLiteral("select * from dbo.sysobjects where id = object_id(N'p''1') and OBJECTPROPERTY(id, "
                             "N'IsProcedure') = 1"));
    EXPECT_EQ(sqltext::viewExistSql(QStringLiteral("V")),
              QStringLiteral("SELECT  * FROM  INFORMATION_SCHEMA.TABLES Where (Table_Name = 'V') And "
                             "Table_Type='VIEW' "));
    EXPECT_EQ(sqltext::dropViewSafeSql(QStringLiteral("V'x")),
              QStringLiteral("if exists (SELECT *  FROM  INFORMATION_SCHEMA.TABLES WHERE  (Table_Type = 'View') And "
                             "Table_Name ='V''x')  drop view [dbo].[V'x]"));
}
