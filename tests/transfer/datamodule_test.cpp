// Start-up of the farm database module on the embedded engine: connection, hand-over to
// the toolkit, the BV upgrade and every way it fails.
#include "app/datamodule.h"
#include "connection/discoveryhooks.h"
#include "tests/transfer/farmfixture.h"
#include "toolkit/tools.h"

#include <memory>

namespace {

using namespace farmtest;
using Kind = RecordingDialogs::Kind;

const QStringList kNewColumns{"PeriodCount", "BvPro", "BvProPercent", "RankTotalPro", "RankHerdPro",
                              "MilkME_Avg", "FatME_Avg", "FatPerME_Avg", "ProME_Avg", "ProPerME_Avg",
                              "CalveDistance_Avg"};
const QStringList kOldColumns{"Serial", "Date", "RegNo", "BP", "BvMilk",
                              "BvFat", "BvFatPercent", "RankTotalMilk", "RankTotalFat", "RankHerdMilk",
                              "RankHerdFat", "BV1M", "BV1F"};

int g_exitStatus = -1;
void recordExit(int status) { g_exitStatus = status; }

class NeverPrompt : public da::LoginPrompt {
public:
    bool prompt(da::ConnectParams&) override {
        ++calls;
        return false;
    }
    int calls = 0;
};

class DataModuleStart : public FarmFixture {
public:
    void SetUp() override {
        FarmFixture::SetUp();
        g_exitStatus = -1;
        conn::setExitProcess(&recordExit);
    }
    void TearDown() override {
        dm.reset();
        tools.reset();
        conn::setExitProcess(nullptr);
        conn::setCustomerChooser({});
        FarmFixture::TearDown();
    }
    void start() {
        startToolkit(&prompt);
    }
    // Only the start-up's own messages count; kinds of the box and board are not asked.
    std::vector<QString> messages(Kind kind) const { return dialogs.texts(kind); }

    NeverPrompt prompt;
};

TEST_F(DataModuleStart, ConnectsHandsOverAndUpgradesOldBV) {
    start();
    EXPECT_FALSE(plat::endRequested());
    EXPECT_TRUE(dialogs.entries().empty());
    EXPECT_EQ(DM, dm.get());
    EXPECT_TRUE(dm->MainConnection.connected());
    EXPECT_EQ(tools->ServerConnection, &dm->MainConnection);
    EXPECT_EQ(dm->ProgramPath, appPath);
    EXPECT_EQ(dm->TBV.tableName(), "BV");
    EXPECT_FALSE(dm->TBV.isOpen());
    EXPECT_EQ(bvColumns(), kOldColumns + kNewColumns);
}

TEST_F(DataModuleStart, UpgradedBVIsNotAltered) {
    server->run("Farm", "DROP TABLE BV");
    server->run("Farm", "CREATE TABLE BV (" + bvdata::oldBvColumns() +
                            ", PeriodCount float, BvPro float, BvProPercent float, RankTotalPro float, RankHerdPro float, "
                            "MilkME_Avg float, FatME_Avg float, FatPerME_Avg float, ProME_Avg float, ProPerME_Avg float, "
                            "CalveDistance_Avg float, Remark nvarchar(20))");
    server->run("Farm", "INSERT INTO BV (Serial, RegNo, Remark) VALUES (1, N'x', N'kept')");
    start();
    EXPECT_FALSE(plat::endRequested());
    EXPECT_TRUE(dialogs.entries().empty());
    EXPECT_EQ(bvColumns(), kOldColumns + kNewColumns + QStringList{"Remark"});
    EXPECT_EQ(server->rows("Farm", "SELECT Serial, Remark FROM BV"), QStringList{"1|kept"});
}

TEST_F(DataModuleStart, UpgradeThatCannotRunEndsWithItsMessage) {
    struct Case {
        const char* name;
        QString arrange;
        QStringList columnsAfter;  // empty: no BV
    };
    const Case cases[] = {
        {"some of the eleven columns", "ALTER TABLE BV ADD PeriodCount float, BvPro float",
         kOldColumns + QStringList{"PeriodCount", "BvPro"}},
        {"no BV", "DROP TABLE BV", {}},
    };
    for (const Case& c : cases) {
        TearDown();
        SetUp();
        server->run("Farm", c.arrange);
        start();
        EXPECT_TRUE(plat::endRequested()) << c.name;
        EXPECT_EQ(messages(Kind::Msg), std::vector<QString>{datamodule::kUpgradeFailed}) << c.name;
        EXPECT_TRUE(messages(Kind::Plain).empty()) << c.name;
        EXPECT_EQ(bvColumns(), c.columnsAfter) << c.name;
        EXPECT_TRUE(plat::AppExit::instance().failed()) << c.name;
    }
}

TEST_F(DataModuleStart, RefusedConnectionShowsPlainMessageAndEnds) {
    conn::writeCredentialsFile(appPath + "WTimes.DLL", {server->name(), "NoSuchFarm", "sa", "pw"});
    start();
    EXPECT_TRUE(plat::endRequested());
    EXPECT_EQ(messages(Kind::Plain), std::vector<QString>{datamodule::kConnectFailed});
    EXPECT_TRUE(messages(Kind::Msg).empty());
    EXPECT_FALSE(dm->MainConnection.connected());
}

TEST_F(DataModuleStart, MissingCredentialsFileEndsProcess) {
    QFile::remove(appPath + "WTimes.DLL");
    start();
    EXPECT_EQ(g_exitStatus, 2);
}

TEST_F(DataModuleStart, MultiCustomerConnectsToChosenFarm) {
    QFile(appPath + "Multiusers.Dat").open(QIODevice::WriteOnly);
    server->createDatabase("Masters");
    server->run("Masters", {"CREATE TABLE Masters (DName nvarchar(50), SName nvarchar(200), EngDName nvarchar(50), "
                            "SPass nvarchar(50))",
                            "INSERT INTO Masters VALUES (N'مزرعه نمونه', N'" + server->name() + "', N'Farm', N'pw')"});
    conn::writeRememberedConnection(appPath + "MultiConnect.Dat", {server->name(), "master", "sa", "pw"});
    conn::setCustomerChooser([](const QStringList& names) { return std::optional<QString>(names.value(0)); });
    start();
    EXPECT_FALSE(plat::endRequested());
    EXPECT_TRUE(dialogs.entries().empty());
    EXPECT_EQ(dm->MainConnection.database().toLower(), "farm");
    EXPECT_EQ(dm->MainConnection.user(), "sa");
    EXPECT_EQ(bvColumns(), kOldColumns + kNewColumns);
}

TEST_F(DataModuleStart, RememberedServerGoneEndsWithoutConnectDialog) {
    QFile(appPath + "Multiusers.Dat").open(QIODevice::WriteOnly);
    conn::writeRememberedConnection(appPath + "MultiConnect.Dat",
                                    {"file:" + appPath + "gone/server", "master", "sa", "pw"});
    start();
    EXPECT_TRUE(plat::endRequested());
    EXPECT_EQ(prompt.calls, 0);
    // The module goes on with the empty parameters; their connect fails as well.
    EXPECT_EQ(messages(Kind::Plain), std::vector<QString>{datamodule::kConnectFailed});
}

TEST_F(DataModuleStart, CatalogueErrorReachesUserAndEnds) {
    QFile(appPath + "Multiusers.Dat").open(QIODevice::WriteOnly);
    server->createDatabase("Masters");
    server->run("Masters", {"CREATE TABLE Masters (DName nvarchar(50))", "INSERT INTO Masters VALUES (N'A')"});
    conn::writeRememberedConnection(appPath + "MultiConnect.Dat", {server->name(), "master", "sa", "pw"});
    conn::setCustomerChooser([](const QStringList& names) { return std::optional<QString>(names.value(0)); });
    start();
    EXPECT_TRUE(plat::endRequested());
    const auto plain = messages(Kind::Plain);
    ASSERT_EQ(plain.size(), 1u);
    EXPECT_NE(plain.front(), datamodule::kConnectFailed);
    EXPECT_FALSE(plain.front().isEmpty());
    EXPECT_NE(tools->ServerConnection, &dm->MainConnection);
}

}  // namespace
