// The toolkit's registry members: the caller's settings, the start-up list with its
// XDG autostart entry, the shell folders, and the version's product type.
#include "shellfixture.h"

#include "toolkit/messageboardform.h"

using namespace plat::reg;

namespace {

const QString kRun = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

using RegistryUseTest = ShellFixture;

TEST_F(RegistryUseTest, AMissingSectionGivesTheDefaultAndLeavesTheKeyCreated) {
    EXPECT_FALSE(Key::open(Root::CurrentUser, "Software\\Farm", Access::Read));
    EXPECT_EQ(tools->ReadRegistery("\\Software\\Farm", "Window", "Left", "dflt"), "dflt");
    const Key key = Key::open(Root::CurrentUser, "Software\\Farm", Access::Read);
    ASSERT_TRUE(key);
    EXPECT_TRUE(key.subKeyNames().isEmpty());  // the section itself is not created
    EXPECT_TRUE(key.valueNames().isEmpty());
}

TEST_F(RegistryUseTest, ReadsFromTheKeyOrItsSection) {
    tools->WriteRegistery("Software\\Farm", "Left", "10");
    tools->WriteRegistery("\\Software\\Farm\\Window", "Left", "20");
    const struct {
        const char* key;
        const char* section;
        const char* item;
        const char* expected;
    } rows[] = {
        {"Software\\Farm", "", "Left", "10"},    // the empty section is the key itself
        {"\\SOFTWARE\\farm", "", "left", "10"},  // leading backslash, other case
        {"Software\\Farm", "Window", "Left", "20"},
        {"Software\\Farm", "WINDOW", "LEFT", "20"},
        {"Software\\Farm", "Window", "Top", "dflt"},  // missing value
        {"Software\\Farm", "Window\\Deeper", "Left", "dflt"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(tools->ReadRegistery(row.key, row.section, row.item, "dflt"), row.expected)
            << row.key << " / " << row.section << " / " << row.item;
    tools->WriteRegistery("Software\\Farm", "LEFT", QString::fromUtf8("چپ"));
    EXPECT_EQ(tools->ReadRegistery("Software\\Farm", "", "Left", ""), QString::fromUtf8("چپ"));
    EXPECT_EQ(Key::open(Root::CurrentUser, "Software\\Farm", Access::Read).valueNames(), QStringList{"Left"});
}

TEST_F(RegistryUseTest, ClearRemovesTheKeyWithEverythingBelowIt) {
    tools->WriteRegistery("Software\\Farm", "a", "1");
    tools->WriteRegistery("Software\\Farm\\A\\B", "b", "2");
    tools->WriteRegistery("Software\\Farm2", "c", "3");
    tools->ClearRegistery("\\software\\FARM");
    EXPECT_EQ(tree(Root::CurrentUser, "Software"),
              QStringList({"Software", "Software\\Farm2", "Software\\Farm2|c|1|3"}));
    tools->ClearRegistery("Software\\Never");  // an absent key stays absent
    EXPECT_FALSE(Key::open(Root::CurrentUser, "Software\\Never", Access::Read));
}

TEST_F(RegistryUseTest, ErrorsReachTheCaller) {
    Key::create(Root::CurrentUser, "Software\\Farm", Access::All).writeDWord("Count", 7);
    try {
        tools->ReadRegistery("Software\\Farm", "", "Count", "");
        ADD_FAILURE() << "no error";
    } catch (const RegistryError& e) {
        EXPECT_STREQ(e.what(), "Invalid data type for 'Count'");
    }
    // A hive that cannot be written: the key cannot be created, and nothing is lost.
    ASSERT_TRUE(QFile::setPermissions(hiveFile(Root::CurrentUser), QFile::ReadOwner));
    EXPECT_THROW(tools->WriteRegistery("Software\\Farm", "x", "y"), RegistryError);
    EXPECT_THROW(tools->ReadRegistery("Software\\Other", "", "x", ""), RegistryError);
    EXPECT_THROW(tools->ClearRegistery("Software\\Farm"), RegistryError);
    EXPECT_EQ(Key::open(Root::CurrentUser, "Software\\Farm", Access::Read).readDWord("Count"), 7u);
}

class StartupTest : public ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        Key::create(Root::LocalMachine, kRun, Access::All);
    }
    Key run() const { return Key::open(Root::LocalMachine, kRun, Access::Read); }
};

TEST_F(StartupTest, MatchesOnlyTheQuotedPathWithItsCase) {
    const Key key = Key::open(Root::LocalMachine, kRun, Access::All);
    key.writeString("Quoted", "\"/opt/farm/bvt\"");
    key.writeString("Bare", "/opt/farm/bare");
    const struct {
        const char* query;
        bool expected;
    } rows[] = {
        {"/opt/farm/bvt", true},
        {"  /opt/farm/bvt\t", true},
        {"/OPT/FARM/BVT", false},
        {"/opt/farm/bare", false},
        {"\"/opt/farm/bvt\"", false},
        {"", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(tools->IsThisProgramInStartUp(row.query), row.expected) << row.query;
}

TEST_F(StartupTest, AddTrimsStoresQuotedAndWritesTheAutostartEntry) {
    tools->AddToStartupProgram("  Farm Transfer \t", " /opt/farm dir/bvt ");
    EXPECT_EQ(run().valueNames(), QStringList{"Farm Transfer"});
    EXPECT_EQ(run().readString("Farm Transfer"), QString("\"/opt/farm dir/bvt\""));
    EXPECT_TRUE(tools->IsThisProgramInStartUp("/opt/farm dir/bvt"));
    EXPECT_TRUE(tools->IsThisProgramInStartUp("   /opt/farm dir/bvt  "));
    tools->AddToStartupProgram("Farm Transfer", "/opt/other");  // replaces the value
    EXPECT_EQ(run().readString("farm transfer"), QString("\"/opt/other\""));

    const QString entry = path("config/autostart/bvtransfer-Farm_20Transfer.desktop");
    QFile f(entry);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << entry.toStdString();
    const QString text = QString::fromUtf8(f.readAll());
    EXPECT_TRUE(text.contains("\nExec=/opt/other\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("\nName=Farm Transfer\n"));
    const auto check = runTool("desktop-file-validate", {entry});
    SKIP_WITHOUT(check, "desktop-file-validate");
    EXPECT_EQ(check->first, 0) << check->second.toStdString();
    EXPECT_EQ(check->second, "");
}

TEST_F(StartupTest, TheReportListsEveryProgram) {
    const Key key = Key::open(Root::LocalMachine, kRun, Access::All);
    key.writeString("Zeta", "\"/z\"");
    key.writeString("alpha", "\"/a\"");
    tools->ShowStartupProgram();
    ASSERT_NE(MessageBoardForm, nullptr);
    EXPECT_EQ(MessageBoardForm->windowTitle(), QString::fromUtf8("ليست برنامه هاي Startup ويندوز"));
    ASSERT_EQ(MessageBoardForm->rowCount(), 2);
    EXPECT_EQ(MessageBoardForm->rowKey(0), "alpha");
    EXPECT_EQ(MessageBoardForm->rowValue(0), "\"/a\"");
    EXPECT_EQ(MessageBoardForm->rowKey(1), "Zeta");
    // A value of another kind stops the report with the registry error.
    key.writeDWord("Number", 1);
    EXPECT_THROW(tools->ShowStartupProgram(), RegistryError);
    EXPECT_THROW(tools->IsThisProgramInStartUp("/a"), RegistryError);  // every value is read
}

TEST_F(StartupTest, AListThatCannotBeOpenedGivesSilence) {
    for (const char* why : {"missing", "read-only"}) {
        SCOPED_TRACE(why);
        if (std::string(why) == "missing") {
            deleteTree(Root::LocalMachine, kRun);
        } else {
            Key::create(Root::LocalMachine, kRun, Access::All).writeString("Old", "\"/old\"");
            ASSERT_TRUE(QFile::setPermissions(hiveFile(Root::LocalMachine), QFile::ReadOwner));
        }
        const QByteArray before = [] {
            QFile f(hiveFile(Root::LocalMachine));
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        MessageBoardForm->StartRecording(false, "before");
        tools->ShowStartupProgram();
        EXPECT_EQ(MessageBoardForm->windowTitle(), "before");
        EXPECT_FALSE(tools->IsThisProgramInStartUp("/old"));
        tools->AddToStartupProgram("New", "/new");
        QFile f(hiveFile(Root::LocalMachine));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), before);
    }
}

TEST_F(RegistryUseTest, ShellFoldersFromTheHiveOrTheXdgFolders) {
    QFile dirs(path("config/user-dirs.dirs"));
    ASSERT_TRUE(dirs.open(QIODevice::WriteOnly));
    dirs.write("XDG_DESKTOP_DIR=\"" + QFile::encodeName(path("Desk")) + "\"\n");
    dirs.close();
    EXPECT_EQ(tools->DeskTopPath(), path("Desk"));
    EXPECT_EQ(tools->StartupPath(), path("config/autostart") + "\\");
    const Key folders = Key::open(Root::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer", Access::All)
                            .createSubKey("Shell Folders", Access::All);
    const struct {
        const char* stored;
        const char* desktop;
        const char* startup;
    } rows[] = {
        {"C:\\Users\\x\\Desktop", "C:\\Users\\x\\Desktop", "C:\\Users\\x\\Desktop\\"},
        {"D:\\", "D:\\", "D:\\\\"},  // a stored backslash stays; the desktop gets none added
        {"", "", "\\"},              // a stored empty folder is taken as it is
    };
    for (const auto& row : rows) {
        folders.writeString("Desktop", row.stored);
        folders.writeString("Startup", row.stored);
        EXPECT_EQ(tools->DeskTopPath(), row.desktop);
        EXPECT_EQ(tools->StartupPath(), row.startup);
    }
}

TEST_F(RegistryUseTest, TheVersionsProductTypeComesFromTheMachineHive) {
    const struct {
        const char* productType;  // nullptr: no such key
        const char* version;
    } rows[] = {
        {nullptr, "600-wvWinVista"},
        {"WinNT", "600-wvWinVista"},
        {"servernt", "607-wv2008Server"},
        {"LanmanNT", "607-wv2008Server"},
        {"Other", "600-wvWinVista"},
    };
    qputenv("BVT_WINVER", "2;6;0;");
    for (const auto& row : rows) {
        deleteTree(Root::LocalMachine, "SYSTEM");
        if (row.productType)
            Key::create(Root::LocalMachine, "SYSTEM\\CurrentControlSet\\Control\\ProductOptions", Access::All)
                .writeString("ProductType", row.productType);
        EXPECT_EQ(tools->GetWinVersion(), row.version) << (row.productType ? row.productType : "(none)");
    }
    qputenv("BVT_WINVER", "2;6;0;;WinNT");  // the variable's own type still wins
    EXPECT_EQ(tools->GetWinVersion(), "600-wvWinVista");
}

}  // namespace
