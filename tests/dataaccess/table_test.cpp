// Table objects: the whole table held on the client, located, edited and posted.
#include "embeddedserver.h"

#include "dataaccess/table.h"

namespace da::testing {
namespace {

class TableTest : public EmbeddedServer {
protected:
    void SetUp() override {
        EmbeddedServer::SetUp();
        run(QStringLiteral("CREATE TABLE Info (GroupSec nvarchar(50), KeyName nvarchar(50), KeyValue nvarchar(255), "
                           "Discription nvarchar(255))"));
        run(QStringLiteral("INSERT INTO Info VALUES ('DEFAULT', 'K', 'v1', 'd'), ('DEFAULT', 'k', 'v2', NULL), "
                           "('Version', 'App', '1.0', NULL)"));
        run(QStringLiteral("CREATE TABLE SqlCommands (ID int IDENTITY(1,1) PRIMARY KEY, Sec nvarchar(30), "
                           "Titr nvarchar(100), Seq int, SDate nvarchar(10), SqlCmd ntext)"));
    }
};

TEST_F(TableTest, LocateIsExactAndCaseSensitive) {
    Table t(&m_connection, QStringLiteral("Dbo.Info"));
    t.open();
    EXPECT_TRUE(t.isOpen());
    EXPECT_EQ(t.recordCount(), 3);
    EXPECT_EQ(t.fieldNames(), (QStringList{"GroupSec", "KeyName", "KeyValue", "Discription"}));
    EXPECT_TRUE(t.locate(QStringLiteral("GroupSec;KeyName"), {QStringLiteral("DEFAULT"), QStringLiteral("k")}));
    EXPECT_EQ(t.fieldByName(QStringLiteral("KeyValue")).asString(), QStringLiteral("v2"));
    EXPECT_TRUE(t.locate(QStringLiteral("GroupSec;KeyName"), {QStringLiteral("DEFAULT"), QStringLiteral("K")}));
    EXPECT_EQ(t.fieldByName(QStringLiteral("KeyValue")).asString(), QStringLiteral("v1"));
    EXPECT_FALSE(t.locate(QStringLiteral("GroupSec;KeyName"), {QStringLiteral("default"), QStringLiteral("K")}));
    EXPECT_FALSE(t.locate(QStringLiteral("KeyName"), {QStringLiteral("Ap")}));
    EXPECT_THROW(t.locate(QStringLiteral("Nothing"), {QStringLiteral("x")}), SqlError);
    t.close();
    EXPECT_FALSE(t.isOpen());
    Table missing(&m_connection, QStringLiteral("Nowhere"));
    EXPECT_THROW(missing.open(), SqlError);
}

TEST_F(TableTest, EditWithoutPrimaryKeyFindsTheRowByItsOriginalValues) {
    Table t(&m_connection, QStringLiteral("Dbo.Info"));
    t.open();
    ASSERT_TRUE(t.locate(QStringLiteral("GroupSec;KeyName"), {QStringLiteral("DEFAULT"), QStringLiteral("k")}));
    EXPECT_THROW(t.fieldByName(QStringLiteral("KeyValue")).setAsString(QStringLiteral("x")), SqlError);  // browsing
    t.edit();
    EXPECT_TRUE(t.editing());
    t.fieldByName(QStringLiteral("KeyValue")).setAsString(QStringLiteral("new"));
    t.post();
    EXPECT_FALSE(t.editing());
    // 'K' and 'k' are one value to the server, but the NULL description singles the row out.
    EXPECT_EQ(values(QStringLiteral("SELECT KeyName, KeyValue FROM Info WHERE GroupSec = 'DEFAULT' ORDER BY KeyValue")),
              (QStringList{"k|new", "K|v1"}));
    EXPECT_EQ(t.fieldByName(QStringLiteral("KeyValue")).asString(), QStringLiteral("new"));

    t.insert();
    t.fieldByName(QStringLiteral("GroupSec")).setAsString(QStringLiteral("G"));
    t.fieldByName(QStringLiteral("KeyName")).setAsString(QStringLiteral("N"));
    t.fieldByName(QStringLiteral("KeyValue")).setAsString(QStringLiteral("V"));
    t.post();
    EXPECT_EQ(values(QStringLiteral("SELECT * FROM Info WHERE GroupSec = 'G'")), (QStringList{"G|N|V|NULL"}));
    EXPECT_EQ(t.recordCount(), 4);
    EXPECT_TRUE(t.locate(QStringLiteral("GroupSec;KeyName"), {QStringLiteral("G"), QStringLiteral("N")}));

    // A row changed behind the table's back cannot be found for the update.
    run(QStringLiteral("UPDATE Info SET KeyValue = 'other' WHERE GroupSec = 'G'"));
    t.edit();
    t.fieldByName(QStringLiteral("KeyValue")).setAsString(QStringLiteral("mine"));
    EXPECT_THROW(t.post(), SqlError);
    EXPECT_TRUE(t.editing());
    t.cancel();
    EXPECT_EQ(t.fieldByName(QStringLiteral("KeyValue")).asString(), QStringLiteral("V"));
}

TEST_F(TableTest, CatalogueRowsWithKeyMemoFiltersAndConversions) {
    Table t(&m_connection, QStringLiteral("SqlCommands"));
    t.open();
    for (const char* sec : {"Herd", "Herd", "Milk"}) {
        t.insert();
        t.fieldByName(QStringLiteral("Sec")).setAsString(QLatin1String(sec));
        t.fieldByName(QStringLiteral("Titr")).setAsString(QStringLiteral("T%1").arg(t.recordCount()));
        t.fieldByName(QStringLiteral("Seq")).setAsString(QStringLiteral("0"));
        t.fieldByName(QStringLiteral("SqlCmd")).setAsString(QStringLiteral("Select 1\r\nFrom Main\r\n"));
        t.post();
    }
    EXPECT_THROW(t.fieldByName(QStringLiteral("Seq")).setAsString(QStringLiteral("x")), SqlError);
    // A row just inserted is found again by the key the server gave it.
    EXPECT_EQ(t.fieldByName(QStringLiteral("ID")).asInteger(), 3);
    t.edit();
    t.fieldByName(QStringLiteral("Seq")).setAsString(QStringLiteral("7"));
    t.post();
    EXPECT_EQ(values(QStringLiteral("SELECT Seq FROM SqlCommands WHERE ID = 3")), QStringList{"7"});
    t.edit();
    t.fieldByName(QStringLiteral("Seq")).setAsString(QStringLiteral("0"));
    t.post();
    t.close();
    t.open();  // identity values as the server gave them
    EXPECT_EQ(values(QStringLiteral("SELECT ID, Sec, Titr, Seq FROM SqlCommands")),
              (QStringList{"1|Herd|T0|0", "2|Herd|T1|0", "3|Milk|T2|0"}));
    ASSERT_TRUE(t.locate(QStringLiteral("Sec;Titr"), {QStringLiteral("Herd"), QStringLiteral("T1")}));
    EXPECT_EQ(t.fieldByName(QStringLiteral("SqlCmd")).asString(), QStringLiteral("Select 1\r\nFrom Main\r\n"));
    t.edit();
    t.fieldByName(QStringLiteral("SqlCmd")).setAsString(QStringLiteral("Select 2\r\n"));
    t.fieldByName(QStringLiteral("SDate")).setAsString(QStringLiteral("1403/01/01"));
    t.post();
    EXPECT_EQ(values(QStringLiteral("SELECT ID, SDate, SqlCmd FROM SqlCommands WHERE SDate IS NOT NULL")),
              (QStringList{"2|1403/01/01|Select 2\r\n"}));

    t.setFilter(QStringLiteral("Sec='Herd'"));
    t.setFiltered(true);
    EXPECT_EQ(t.recordCount(), 2);
    QStringList titles;
    for (t.first(); !t.eof(); t.next()) titles << t.fieldByName(QStringLiteral("Titr")).asString();
    EXPECT_EQ(titles, (QStringList{"T0", "T1"}));
    EXPECT_FALSE(t.locate(QStringLiteral("Sec"), {QStringLiteral("Milk")}));
    t.setFilter(QStringLiteral("Sec='herd'"));  // the client-side filter keeps letter case
    t.setFiltered(true);
    EXPECT_EQ(t.recordCount(), 0);
    t.setFilter(QStringLiteral("Seq = 0 AND NOT (Titr = 'T0' OR Titr = 'T2')"));
    t.setFiltered(true);
    EXPECT_EQ(t.recordCount(), 1);
    t.setFiltered(false);
    EXPECT_EQ(t.recordCount(), 3);

    t.setServerFilter(QStringLiteral("Sec = 'MILK'"));  // the server's comparison ignores case
    t.open();
    EXPECT_EQ(t.recordCount(), 1);
}

}  // namespace
}  // namespace da::testing
