// The system, version and world-clock reports as the board shows them.
#include "calendar/toolsclock.h"
#include "dataaccess/connection.h"
#include "desktop/reportsources.h"
#include "desktop/systemreport.h"
#include "desktop/timezonekeys.h"
#include "desktop/timezonetable.h"
#include "platform/registry.h"
#include "platform/convert.h"
#include "platform/fileversion.h"
#include "platform/formatsettings.h"
#include "toolkit/messageboardform.h"
#include "widgets/flatbutton.h"
#include "toolkit/recordingdialogs.h"
#include "toolkit/tools.h"

#include <QDir>
#include <QFile>
#include <QTimeZone>
#include <map>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using Rows = std::vector<std::pair<QString, QString>>;

Rows boardRows() {
    Rows rows;
    for (int i = 0; i < MessageBoardForm->rowCount(); ++i)
        rows.emplace_back(MessageBoardForm->rowKey(i), MessageBoardForm->rowValue(i));
    return rows;
}

bool boardClosed() { return MessageBoardForm->dxButton1->isEnabled() && MessageBoardForm->dxButton2->isEnabled(); }

class Reports : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        tools = std::make_unique<TTools>(ToolsOptions{&dialogs, dir.path() + u'/', QDate(2026, 12, 9)});
        ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("server"))));
        farm.setServer(QStringLiteral("file:") + dir.filePath(QStringLiteral("server")));
        farm.setUser(QStringLiteral("sa"));
        farm.setDatabase(QStringLiteral("master"));
        farm.connect();
        farm.session().execute(QStringLiteral("CREATE DATABASE Farm"), {});
        farm.disconnect();
        farm.setDatabase(QStringLiteral("Farm"));
        farm.connect();
        tools->ServerConnection = &farm;
        setNowTimeClock([] { return QTime(23, 50, 12); });
        desk::setWorldClockNow([] { return QDateTime(QDate(2026, 12, 9), QTime(23, 50, 12)); });
    }
    void TearDown() override {
        setNowTimeClock({});
        desk::setWorldClockNow({});
        desk::setZoneKeysSource({});
        plat::formatSettings() = plat::FormatSettings();
        tools.reset();
    }
    void sql(const QString& text) { farm.session().execute(text, {}); }

    QTemporaryDir dir;
    RecordingDialogs dialogs;
    da::Connection farm;
    std::unique_ptr<TTools> tools;
};

TEST_F(Reports, VersionRowsInServerOrderAndTheMessageOnFailure) {
    tools->VersionShow();  // no Info table
    EXPECT_EQ(dialogs.texts(RecordingDialogs::Kind::Msg), std::vector<QString>{QStringLiteral("امكان نمايش كنترل نسخ نيست")});
    EXPECT_TRUE(boardRows().empty());
    EXPECT_TRUE(boardClosed());

    sql(QStringLiteral("CREATE TABLE Info (GroupSec nvarchar(50), KeyName nvarchar(50), KeyValue nvarchar(50))"));
    tools->VersionShow();  // no Version rows
    EXPECT_TRUE(boardRows().empty());
    EXPECT_EQ(dialogs.texts(RecordingDialogs::Kind::Msg).size(), 1u);

    sql(QStringLiteral("INSERT INTO Info VALUES ('Version', 'Program', '7.1.09'), ('Other', 'x', 'y'), "
                       "('Version', 'Database', NULL)"));
    tools->VersionShow();
    EXPECT_EQ(boardRows(), (Rows{{"Program", "7.1.09"}, {"Database", ""}}));
    EXPECT_TRUE(boardClosed());
    EXPECT_EQ(dialogs.texts(RecordingDialogs::Kind::Msg).size(), 1u);
}

TEST(SystemReportRows, LayoutsCappedAtSixteenAndTheSerialOrNotDetect) {
    desk::SystemFacts facts;
    facts.today = QStringLiteral("1405/09/18");
    facts.screenHeight = 768;
    facts.screenWidth = 1024;
    for (int i = 0; i < 20; ++i)
        facts.layoutNames << QStringLiteral("L%1").arg(i);
    facts.totalPhys = 24ull << 30;  // beyond what a 32-bit status call could say
    facts.totalVirtual = 1ull << 47;
    facts.shortDate = QStringLiteral("dd/mm/yyyy");
    Rows rows = desk::systemReportRows(facts);
    ASSERT_EQ(rows.size(), 4u + 16u + 7u);
    EXPECT_EQ(rows[3], (std::pair<QString, QString>{"HDD Serial", "Not Detect"}));
    EXPECT_EQ(rows[4].first, QStringLiteral("زبان"));
    EXPECT_EQ(rows[19].second, QStringLiteral("L15"));
    EXPECT_TRUE(rows[21].second.startsWith(QStringLiteral("25165824  ")));
    EXPECT_TRUE(rows[22].second.startsWith(QStringLiteral("137438953472  ")));
    facts.serial = 4294967295u;
    facts.layoutNames.clear();
    rows = desk::systemReportRows(facts);
    EXPECT_EQ(rows.size(), 4u + 7u);
    EXPECT_EQ(rows[3].second, QStringLiteral("4294967295"));
}

TEST_F(Reports, ComputerReportOnTheBoard) {
    tools->GetSystemPeroperties();
    const Rows rows = boardRows();
    ASSERT_GE(rows.size(), 11u);
    EXPECT_EQ(rows[0].second, tools->FarsiToday());
    EXPECT_GT(rows[1].second.toInt(), 0);
    EXPECT_EQ(rows[3].first, QStringLiteral("HDD Serial"));
    EXPECT_EQ(rows[rows.size() - 1].second, QStringLiteral("HH:mm:ss"));
    EXPECT_EQ(rows[rows.size() - 4].second, QStringLiteral("dd/mm/yyyy"));
    EXPECT_GT(rows[rows.size() - 6].second.split(u' ').first().toULongLong(), 0u);  // total memory
    EXPECT_TRUE(boardClosed());
}

TEST_F(Reports, WorldClocksFromTheZoneKeys) {
    desk::setZoneKeysSource([] {
        return std::optional<std::vector<desk::ZoneKey>>({
            {"Arabian Standard Time", "(GMT+04:00) Abu Dhabi, Muscat"},
            {"Eastern Standard Time", "(GMT-05:00) Eastern Time (US & Canada)"},
            {"GTB Standard Time", "(GMT+02:00) Athens"},
            {"Greenland Standard Time", "(GMT-03:00) Greenland"},
            {"GMT Standard Time", "(GMT) Dublin"},
            {"Morocco Standard Time", "(GMT) Casablanca, Monrovia"},
            {"UTC", "(GMT+00:00) Coordinated Universal Time"},
            {"Azores Standard Time", "(GMT-00:00) Azores"},
            {"Missing Standard Time", ""},
            {"Tokyo Standard Time", "(GMT+09:00) Osaka"},
        });
    });
    tools->ShowTimes();
    EXPECT_EQ(boardRows(), (Rows{
                               {"Iran(Tehran)", "23:50"},
                               {"Arabian ( Abu Dhabi, Muscat)[+04:00]", "00:20:12"},
                               {"Eastern ( Eastern Time (US & Canada))[-05:00]", "15:20:12"},
                               {"( Coordinated Universal Time)[+00:00]", "20:20:12"},
                               {"Azores ( Azores)[-00:00]", "20:20:12"},
                               {"Tokyo ( Osaka)[+09:00]", "05:20:12"},
                           }));
    EXPECT_TRUE(boardClosed());
}

TEST_F(Reports, WorldClocksWithoutKeysOrWithAnotherTimeSeparator) {
    desk::setZoneKeysSource([] { return std::optional<std::vector<desk::ZoneKey>>(); });
    tools->ShowTimes();
    EXPECT_EQ(boardRows().size(), 1u);

    desk::setZoneKeysSource([] {
        return std::optional<std::vector<desk::ZoneKey>>(
            {{"Morocco Standard Time", "(GMT) Casablanca"}, {"Arabian Standard Time", "(GMT+04:00) Abu Dhabi"}});
    });
    plat::formatSettings().timeSeparator = u'.';
    // NowTime sets the formats, not the separators: the first zone with an offset raises.
    EXPECT_THROW(tools->ShowTimes(), plat::ConvertError);
    EXPECT_EQ(boardRows().size(), 1u);
    EXPECT_TRUE(boardClosed());  // the board is usable again even so
}

TEST(FileVersion, ReadFromTheExecutableItself) {
    EXPECT_EQ(plat::fileVersion(QStringLiteral(BVTRANSFER_PATH)), QStringLiteral("7.1.9.0"));
    EXPECT_EQ(plat::fileVersion(QStringLiteral(ARGDUMP_PATH)), QString());  // carries none
    EXPECT_EQ(plat::fileVersion(QStringLiteral("/nonexistent")), QString());
    QTemporaryDir dir;
    QFile junk(dir.filePath(QStringLiteral("junk")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray("\x7f"
                          "ELF\x02\x01\x01",
                          7) +
               QByteArray(200, '\xff'));
    junk.close();
    EXPECT_EQ(plat::fileVersion(junk.fileName()), QString());
}

}  // namespace

namespace {

TEST(TimeZoneTable, WindowsZonesFromTheSystemsData) {
    EXPECT_EQ(desk::gmtOffsetText(0), QStringLiteral("(GMT+00:00)"));
    EXPECT_EQ(desk::gmtOffsetText(-5 * 3600), QStringLiteral("(GMT-05:00)"));
    EXPECT_EQ(desk::gmtOffsetText(12600), QStringLiteral("(GMT+03:30)"));
    EXPECT_EQ(desk::gmtOffsetText(-9000), QStringLiteral("(GMT-02:30)"));

    const auto zones = desk::windowsZones(QDateTime(QDate(2026, 12, 9), QTime(12, 0), Qt::UTC),
                                          QStringLiteral("/usr/share/zoneinfo"));
    std::map<QString, QString> byName;
    for (const auto& z : zones)
        byName[z.name] = z.display;
    EXPECT_GE(zones.size(), 130u);
    EXPECT_EQ(byName.size(), zones.size());  // one entry per Windows zone
    EXPECT_EQ(byName[QStringLiteral("Arabian Standard Time")], QStringLiteral("(GMT+04:00) Dubai, Muscat"));
    EXPECT_EQ(byName[QStringLiteral("Iran Standard Time")], QStringLiteral("(GMT+03:30) Tehran"));
    // Standard offsets, not today's daylight-saving ones, and aliases such as Asia/Calcutta count.
    EXPECT_TRUE(byName[QStringLiteral("Pacific Standard Time")].startsWith(QStringLiteral("(GMT-08:00) ")));
    EXPECT_TRUE(byName[QStringLiteral("India Standard Time")].startsWith(QStringLiteral("(GMT+05:30) ")));
    for (size_t i = 1; i < zones.size(); ++i)
        EXPECT_LT(zones[i - 1].name.compare(zones[i].name, Qt::CaseInsensitive), 0);
}

class RegistryClocks : public Reports {
protected:
    void SetUp() override {
        qputenv("BVT_REGISTRY_DIR", registry.path().toLocal8Bit());
        Reports::SetUp();
    }
    void TearDown() override {
        Reports::TearDown();
        qunsetenv("BVT_REGISTRY_DIR");
    }
    QTemporaryDir registry;
};

TEST_F(RegistryClocks, FirstReportFillsTheTimeZoneKeyAndLaterOnesReadIt) {
    tools->ShowTimes();
    Rows rows = boardRows();
    ASSERT_GE(rows.size(), 100u);
    EXPECT_EQ(rows[0], (std::pair<QString, QString>{"Iran(Tehran)", "23:50"}));
    std::map<QString, QString> byTitle(rows.begin(), rows.end());
    EXPECT_EQ(byTitle[QStringLiteral("Arabian ( Dubai, Muscat)[+04:00]")], QStringLiteral("00:20:12"));
    EXPECT_EQ(byTitle[QStringLiteral("Iran ( Tehran)[+03:30]")], QStringLiteral("23:50:12"));
    for (const auto& [title, value] : rows)
        EXPECT_FALSE(title.startsWith(QLatin1String("GTB ")) || title.startsWith(QLatin1String("Greenland ")) ||
                     title.startsWith(QLatin1String("GMT ")))
            << title.toStdString();

    // The key is filled once: a value changed since is what the next report shows.
    const plat::reg::Key arabian = plat::reg::Key::open(
        plat::reg::Root::LocalMachine, desk::kTimeZonesKey + QStringLiteral("\\Arabian Standard Time"), plat::reg::Access::All);
    ASSERT_TRUE(arabian);
    arabian.writeString(QStringLiteral("Display"), QStringLiteral("(GMT+05:00) Somewhere"));
    tools->ShowTimes();
    rows = boardRows();
    byTitle = std::map<QString, QString>(rows.begin(), rows.end());
    EXPECT_EQ(byTitle.count(QStringLiteral("Arabian ( Dubai, Muscat)[+04:00]")), 0u);
    EXPECT_EQ(byTitle[QStringLiteral("Arabian ( Somewhere)[+05:00]")], QStringLiteral("01:20:12"));

    // A "Display" that is no string raises the registry's error after the rows before it.
    arabian.writeDWord(QStringLiteral("Display"), 4);
    EXPECT_THROW(tools->ShowTimes(), plat::reg::RegistryError);
    EXPECT_TRUE(boardClosed());
}

TEST_F(RegistryClocks, MachineHiveThatTakesNoWritesLeavesTehranAlone) {
    plat::reg::Key::create(plat::reg::Root::LocalMachine, QStringLiteral("SOFTWARE\\Other"), plat::reg::Access::All);
    ASSERT_TRUE(QFile::setPermissions(plat::reg::hiveFile(plat::reg::Root::LocalMachine), QFile::ReadOwner));
    tools->ShowTimes();
    EXPECT_EQ(boardRows(), (Rows{{"Iran(Tehran)", "23:50"}}));
}

}  // namespace
