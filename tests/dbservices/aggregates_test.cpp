#include "dataaccess/sqlerror.h"
#include "dataaccess/table.h"
#include "dbservices/aggregates.h"
#include "tests/fixtures/sqlfixture.h"

TEST(AggregateSql, TextsAsBuilt) {
    using namespace aggregates;
    struct Case {
        QString got;
        const char* expected;
    } cases[] = {
        {sumOfFieldSql("Sales", "Price", ""), "Select Sum(Price)As Answer From Sales"},
        {sumOfFieldSql("Sales", "Price", " \t "), "Select Sum(Price)As Answer From Sales"},
        {sumOfFieldSql("dbo.Sales", "Price", "Count > 1"), "Select Sum(Price)As Answer From dbo.Sales Where Count > 1"},
        {sumAndMultiSql("Sales", "Price", "Count", ""), "Select Sum(Price * Count)As Answer From Sales"},
        {sumAndMultiSql("Sales", "Price", "Count", "Id = 2"), "Select Sum(Price * Count)As Answer From Sales Where Id = 2"},
        {pickListSql(true, "Main", "Sabt", ""), "Select Distinct [Sabt] From [Main]"},
        {pickListSql(true, "Main", "Sabt", "Serial > 1"), "Select Distinct [Sabt] From Main Where Serial > 1"},
        {pickListSql(false, "Main", "Sabt", "\r\n"), "Select [Sabt] From [Main]"},
        {pickListSql(false, "Main", "Sabt", "Serial > 1"), "Select [Sabt] From Main Where Serial > 1"},
        {pickListSql(false, "M]x", "a]b", ""), "Select [a]]b] From [M]]x]"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.got, QString::fromUtf8(c.expected));
}

class Aggregates : public SqlFixture {
protected:
    void SetUp() override {
        SqlFixture::SetUp();
        run(QStringLiteral("CREATE TABLE Sales (Id int, Price float, Count int, Name nvarchar(10))"));
        run(QStringLiteral("INSERT INTO Sales VALUES (1, 2.5, 4, 'A'), (2, 10, 1, ''), (3, 1.5, 2, 'B'), "
                           "(4, NULL, 3, NULL), (5, 7, 2, 'A'), (6, 1, 1, '  '), (7, 1, 1, ' x ')"));
        m_table.setConnection(&m_conn);
        m_table.setTableName(QStringLiteral("Sales"));
    }
    da::Table m_table;
};

TEST_F(Aggregates, SumsReadTheAnswerAsANumber) {
    EXPECT_DOUBLE_EQ(m_tools->SumOfField(&m_table, "Price", ""), 23);
    EXPECT_DOUBLE_EQ(m_tools->SumOfField(&m_table, "Price", "  "), 23);
    EXPECT_DOUBLE_EQ(m_tools->SumOfField(&m_table, "Price", "Id > 100"), 0);  // NULL over no rows
    EXPECT_DOUBLE_EQ(m_tools->SumOfField(&m_table, "Price", "Id = 4"), 0);    // NULL value
    EXPECT_DOUBLE_EQ(m_tools->SumAndMulti(&m_table, "Price", "Count", ""), 10 + 10 + 3 + 14 + 1 + 1);
    EXPECT_DOUBLE_EQ(m_tools->SumAndMulti(&m_table, "Price", "Count", "Name = 'A'"), 24);
    EXPECT_THROW(m_tools->SumOfField(&m_table, "Nothing", ""), da::SqlError);
}

TEST_F(Aggregates, PickListsShowBlankValuesAsDashes) {
    QStringList all{"old"};
    m_tools->FillListWithDataBDistinct(all, "Sales", "Name", "Id < 5");
    EXPECT_EQ(all, (QStringList{"A", "-", "B", "-"}));
    m_tools->FillListWithDataBDistinct(all, "Sales", "Name", "");
    EXPECT_EQ(all, (QStringList{"A", "-", "B", "-", "A", "-", " x "}));

    QStringList distinct;
    m_tools->FillListWithData(distinct, "Sales", "Name", "Id < 6");
    distinct.sort();
    EXPECT_EQ(distinct, (QStringList{"-", "-", "A", "B"}));  // the empty text and NULL stay two values
}

TEST_F(Aggregates, FailingPickListLeavesTheListAlone) {
    const QStringList before{"keep", "these"};
    QStringList items = before;
    EXPECT_THROW(m_tools->FillListWithData(items, "Missing", "Name", ""), da::SqlError);
    EXPECT_THROW(m_tools->FillListWithDataBDistinct(items, "Sales", "Name", "Id ="), da::SqlError);
    EXPECT_THROW(m_tools->FillListWithDataBDistinct(items, "Sales", "No]such", ""), da::SqlError);
    EXPECT_EQ(items, before);
}
