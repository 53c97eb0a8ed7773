#include "embeddedserver.h"

namespace da::testing {
namespace {

class EmbeddedStatements : public EmbeddedServer {};

TEST_F(EmbeddedStatements, CreateInsertSelect) {
    run(QStringLiteral("CREATE TABLE [dbo].[Main] (Serial int PRIMARY KEY, Sabt nvarchar(50), Weight float)"));
    run(QStringLiteral("INSERT INTO Main VALUES (1, N'abc', 2.5)"));
    run(QStringLiteral("INSERT INTO dbo.Main (Serial, Sabt) VALUES (2, 'ABC')"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM Main WHERE Sabt = 'aBc'")).toInt(), 2);
    EXPECT_EQ(scalar(QStringLiteral("Select Count( * ) As Res  FROM INFORMATION_SCHEMA.COLUMNS WHERE TABLE_NAME = 'main'AND  COLUMN_NAME = 'SABT'")).toInt(), 1);
    EXPECT_EQ(scalar(QStringLiteral("SELECT  * FROM  INFORMATION_SCHEMA.TABLES Where (Table_Name = 'Main') And Table_Type='BASE TABLE' ")).toString(), QStringLiteral("Farm"));
}

}  // namespace
}  // namespace da::testing
