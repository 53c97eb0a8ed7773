// Hives shared between processes: two writers, a change made by another process, and a
// process killed in the middle of a save. The other processes run the regwriter helper.
#include "tempregistry.h"

#include <QDir>
#include <QProcess>

using namespace plat::reg;

namespace {

class RegistryProcessTest : public TempRegistryTest {
protected:
    std::unique_ptr<QProcess> start(const QStringList& args) {
        auto p = std::make_unique<QProcess>();
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(QStringLiteral(REGWRITER_PATH), args);
        EXPECT_TRUE(p->waitForStarted(-1));
        return p;
    }
    static void finish(QProcess& p) {
        ASSERT_TRUE(p.waitForFinished(-1));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), 0);
    }
    std::map<std::string, hivetest::RawKey> userFile() { return file(Root::CurrentUser); }
};

TEST_F(RegistryProcessTest, TwoWritersKeepEachOthersKeys) {
    constexpr int kKeys = 60;
    auto a = start({"keys", "A", QString::number(kKeys)});
    auto b = start({"keys", "B", QString::number(kKeys)});
    finish(*a);
    finish(*b);
    const auto keys = userFile();
    for (const char* prefix : {"a", "b"})
        for (int i = 0; i < kKeys; ++i) {
            const std::string path = std::string("software\\test\\") + prefix + std::to_string(i);
            ASSERT_EQ(keys.count(path), 1u) << path;
            EXPECT_EQ(keys.at(path).values.at(u"n").text, QString::number(i).toStdU16String());
        }
    EXPECT_EQ(Key::open(Root::CurrentUser, "Software\\Test", Access::Read).subKeyNames().size(), 2 * kKeys);
}

TEST_F(RegistryProcessTest, AWriteHereKeepsWhatAnotherProcessAddedMeanwhile) {
    const Key mine = Key::create(Root::CurrentUser, "Software\\Test", Access::All);
    mine.writeString("before", "1");
    auto other = start({"keys", "C", "1"});
    finish(*other);
    mine.writeString("after", "2");
    EXPECT_EQ(mine.subKeyNames(), QStringList{"C0"});
    const auto keys = userFile();
    EXPECT_EQ(keys.count("software\\test\\c0"), 1u);
    EXPECT_EQ(keys.at("software\\test").values.size(), 2u);
}

TEST_F(RegistryProcessTest, AProcessKilledDuringASaveLeavesTheOldFile) {
    Key::create(Root::CurrentUser, "Software\\Test", Access::All).writeString("old", "kept");
    QFile hive(hiveFile(Root::CurrentUser));
    ASSERT_TRUE(hive.open(QIODevice::ReadOnly));
    const QByteArray before = hive.readAll();
    hive.close();

    auto writer = start({"stall"});
    ASSERT_TRUE(writer->waitForReadyRead(-1));  // the helper says when it is half-way
    EXPECT_EQ(writer->readLine().trimmed(), "stalled");
    const QStringList temps = QDir(m_dir.path()).entryList({"user.reg.tmp-*"}, QDir::Files | QDir::Hidden);
    ASSERT_EQ(temps.size(), 1);  // the save was under way
    writer->kill();
    ASSERT_TRUE(writer->waitForFinished(-1));
    EXPECT_EQ(writer->exitStatus(), QProcess::CrashExit);

    ASSERT_TRUE(hive.open(QIODevice::ReadOnly));
    EXPECT_EQ(hive.readAll(), before);
    hive.close();
    const auto keys = userFile();
    EXPECT_EQ(keys.at("software\\test").values.count(u"big"), 0u);
    // The hive's lock died with the process: the next change goes through.
    Key::open(Root::CurrentUser, "Software\\Test", Access::All).writeString("next", "ok");
    EXPECT_EQ(userFile().at("software\\test").values.size(), 2u);
}

}  // namespace
