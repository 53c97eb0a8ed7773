#include "tests/fixtures/sqlfixture.h"

class ProbesTest : public SqlFixture {
protected:
    void SetUp() override {
        SqlFixture::SetUp();
        run(QStringLiteral("CREATE TABLE BV (Serial int, RegNo nvarchar(50))"));
        run(QStringLiteral("CREATE TABLE [O'Brien] (Id int)"));
        run(QStringLiteral("CREATE VIEW Herd AS SELECT * FROM BV"));
        run(QStringLiteral("CREATE TABLE Stock (Id int)"));
    }
};

TEST_F(ProbesTest, TablesViewsAndColumns) {
    EXPECT_TRUE(m_tools->IsTableExist(QStringLiteral("BV")));
    EXPECT_TRUE(m_tools->IsTableExist(QStringLiteral("bv")));  // case-insensitive database default
    EXPECT_TRUE(m_tools->IsTableExist(QStringLiteral("O'Brien")));
    EXPECT_FALSE(m_tools->IsTableExist(QStringLiteral("BVTemp")));
    EXPECT_FALSE(m_tools->IsTableExist(QStringLiteral("Herd")));
    EXPECT_TRUE(m_tools->IsViewExist(QStringLiteral("Herd")));
    EXPECT_FALSE(m_tools->IsViewExist(QStringLiteral("BV")));
    EXPECT_TRUE(m_tools->IsFieldExist(QStringLiteral("BV"), QStringLiteral("RegNo")));
    EXPECT_TRUE(m_tools->IsFieldExist(QStringLiteral("Herd"), QStringLiteral("RegNo")));
    EXPECT_FALSE(m_tools->IsFieldExist(QStringLiteral("BV"), QStringLiteral("CalveDistance_Avg")));
    EXPECT_TRUE(m_dialogs.entries().empty());
    EXPECT_FALSE(plat::endRequested());
}

TEST_F(ProbesTest, DatabasesAndProcedures) {
    EXPECT_TRUE(m_tools->IsDataBaseExist(QStringLiteral("master")));
    EXPECT_TRUE(m_tools->IsDataBaseExist(QStringLiteral("Farm")));
    EXPECT_FALSE(m_tools->IsDataBaseExist(QStringLiteral("Masters")));
    EXPECT_FALSE(m_tools->IsSpExist(QStringLiteral("GetHerd")));
    run(QStringLiteral("CREATE PROCEDURE GetHerd AS SELECT * FROM BV"));
    EXPECT_TRUE(m_tools->IsSpExist(QStringLiteral("GetHerd")));
    EXPECT_FALSE(m_tools->IsSpExist(QStringLiteral("BV")));
}

TEST_F(ProbesTest, NamesHoldingCountAreAProgrammingError) {
    for (const char* name : {"Accounts", "Discounts", "BVCOUNT"}) {
        plat::AppExit::instance().reset();
        m_dialogs.clear();
        EXPECT_FALSE(m_tools->IsTableExist(QString::fromUtf8(name))) << name;
        const auto shown = m_dialogs.texts(RecordingDialogs::Kind::Msg);
        ASSERT_FALSE(shown.empty()) << name;
        EXPECT_EQ(shown[0], QStringLiteral("اشكال در برنامه نويسي"));
        EXPECT_TRUE(plat::endRequested()) << name;
    }
}

TEST_F(ProbesTest, DropViewSafeHonoursItsSwitch) {
    m_tools->ViewCanBeDroped = false;
    EXPECT_FALSE(m_tools->DropViewSafe(QStringLiteral("Herd")));
    EXPECT_TRUE(m_tools->IsViewExist(QStringLiteral("Herd")));

    m_tools->ViewCanBeDroped = true;
    EXPECT_TRUE(m_tools->DropViewSafe(QStringLiteral("Herd")));
    EXPECT_FALSE(m_tools->IsViewExist(QStringLiteral("Herd")));
    EXPECT_TRUE(m_tools->DropViewSafe(QStringLiteral("NoSuchView")));
    EXPECT_TRUE(m_tools->IsTableExist(QStringLiteral("Stock")));
    EXPECT_TRUE(m_dialogs.entries().empty());
}
