// File associations: the registry keys of both branches, the refusals, the failures,
// and the Linux desktop's MIME type and entry checked by Debian's own tools.
#include "shellfixture.h"

#include <QCoreApplication>

using namespace plat::reg;

namespace {

const QString kReporter = QString::fromUtf8("گزارشگير زيلوا");

QStringList expectedType(const QString& start, bool machineWide) {
    const QString e = QCoreApplication::applicationFilePath();
    const QString q = '"' + e + '"';
    const QString s = start + "\\Shell";
    const QString insert = s + (machineWide ? "\\ZZInsert\\command" : "\\ZZInsert\\Command");
    return {start,
            start + "||1|" + kReporter,
            start + "\\DefaultIcon",
            start + "\\DefaultIcon||1|" + e + ",0",
            s,
            s + "\\execute",
            s + "\\execute||1|" + QString::fromUtf8("   اجرا با زيلوا"),
            s + "\\execute\\Command",
            s + "\\execute\\Command||1|" + q + " \"%1\"",
            s + "\\ZOpen",
            s + "\\ZOpen||1|" + QString::fromUtf8("    ويرايش با زيلوا"),
            s + "\\ZOpen\\command",
            s + "\\ZOpen\\command||1|" + q + "/o \"%1\"",
            s + "\\ZZInsert",
            s + "\\ZZInsert||1|" + QString::fromUtf8("    اضافه به ليست"),
            insert,
            insert + "||1|" + q + (machineWide ? "/A" : "/a") + " \"%1\""};
}

struct Branch {
    int winVer;
    Root root;
    const char* prefix;
    bool machineWide;
};

class AssociationTest : public ShellFixture, public ::testing::WithParamInterface<Branch> {};

TEST_P(AssociationTest, WritesEveryKeyOnceAndNoOpenVerb) {
    const Branch b = GetParam();
    tools->WinVer = b.winVer;
    tools->SetFileAssociate(".xyz", "XyzFile");
    const QString prefix = b.prefix;
    EXPECT_EQ(tree(b.root, prefix + ".xyz"), QStringList({prefix + ".xyz", prefix + ".xyz||1|XyzFile"}));
    const QStringList once = tree(b.root, prefix + "XyzFile");
    EXPECT_EQ(once, expectedType(prefix + "XyzFile", b.machineWide));
    EXPECT_EQ(notify.count(), 1);
    EXPECT_EQ(tools->GetFileAssociate(".xyz"), "");  // no Open verb
    tools->SetFileAssociate(".XYZ", "xyzfile");      // again: nothing changes
    EXPECT_EQ(tree(b.root, prefix + "XyzFile"), once);
    EXPECT_EQ(tree(b.root, prefix + ".xyz"), QStringList({prefix + ".xyz", prefix + ".xyz||1|xyzfile"}));
    EXPECT_TRUE(dialogs.entries().empty());
}

INSTANTIATE_TEST_SUITE_P(Branches, AssociationTest,
                         ::testing::Values(Branch{510, Root::ClassesRoot, "", true},
                                           Branch{610, Root::CurrentUser, "software\\classes\\", false},
                                           Branch{520, Root::CurrentUser, "software\\classes\\", false}));

using AssociationRulesTest = ShellFixture;

TEST_F(AssociationRulesTest, OlderOrUnknownVersionsRegisterNothing) {
    for (int winVer : {0, 433, 500}) {
        dialogs.clear();
        tools->WinVer = winVer;
        tools->SetFileAssociate(".xyz", "XyzFile");
        EXPECT_EQ(dialogs.texts(RecordingDialogs::Kind::Msg), std::vector<QString>{QString::fromUtf8("عدم ثبت پسوندها")});
    }
    EXPECT_FALSE(QFile::exists(hiveFile(Root::CurrentUser)));
    EXPECT_FALSE(QFile::exists(hiveFile(Root::LocalMachine)));
    EXPECT_FALSE(QDir(path("data/applications")).exists());
    EXPECT_EQ(notify.count(), 0);
}

TEST_F(AssociationRulesTest, TheOpenCommandIsFoundThroughTheExtension) {
    Key::create(Root::ClassesRoot, ".farm", Access::All).writeString("", "Farm.Document");
    EXPECT_EQ(tools->GetFileAssociate(".farm"), "");  // no command yet
    Key::create(Root::ClassesRoot, "farm.document\\shell\\open\\command", Access::All).writeString("", "\"/x\" \"%1\"");
    EXPECT_EQ(tools->GetFileAssociate(".FARM"), "\"/x\" \"%1\"");
    EXPECT_EQ(tools->GetFileAssociate(".none"), "");
    Key::create(Root::ClassesRoot, ".num", Access::All).writeDWord("", 1);
    EXPECT_THROW(tools->GetFileAssociate(".num"), RegistryError);
}

TEST_F(AssociationRulesTest, AFailureRaisesMachineWideAndIsSilentPerUser) {
    for (Root root : {Root::LocalMachine, Root::CurrentUser}) {
        Key::create(root, "Software\\Keep", Access::All).writeString("v", "1");
        ASSERT_TRUE(QFile::setPermissions(hiveFile(root), QFile::ReadOwner));
    }
    tools->WinVer = 510;
    try {
        tools->SetFileAssociate(".xyz", "XyzFile");
        ADD_FAILURE() << "no error";
    } catch (const RegistryError& e) {
        EXPECT_STREQ(e.what(), "Failed to set data for ''");
    }
    tools->WinVer = 610;
    EXPECT_NO_THROW(tools->SetFileAssociate(".xyz", "XyzFile"));
    EXPECT_EQ(notify.count(), 0);
    EXPECT_EQ(tree(Root::CurrentUser, "software").size(), 3);  // only what was there
    EXPECT_FALSE(QDir(path("data/applications")).exists());
}

TEST_F(AssociationRulesTest, TheDesktopGetsAMimeTypeAndAnEntryItAccepts) {
    tools->WinVer = 610;
    tools->SetFileAssociate(".Xyz", "XyzFile");
    const QString entry = path("data/applications/bvtransfer-xyz.desktop");
    QFile f(entry);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    const QString exe = QCoreApplication::applicationFilePath();
    for (const QString& line : QStringList{"MimeType=application/x-bvtransfer-xyz;", "Actions=execute;ZOpen;ZZInsert;",
                                           QString("Exec=%1 /o %f").arg(exe), QString("Exec=%1 /a %f").arg(exe)})
        EXPECT_TRUE(text.contains('\n' + line + '\n')) << line.toStdString() << "\n"
                                                       << text.toStdString();

    const auto valid = runTool("desktop-file-validate", {entry});
    SKIP_WITHOUT(valid, "desktop-file-validate");
    EXPECT_EQ(valid->first, 0) << valid->second.toStdString();
    EXPECT_EQ(valid->second, "");
    const auto mime = runTool("update-mime-database", {path("data/mime")});
    SKIP_WITHOUT(mime, "update-mime-database");
    EXPECT_EQ(mime->first, 0) << mime->second.toStdString();
    QFile globs(path("data/mime/globs2"));
    ASSERT_TRUE(globs.open(QIODevice::ReadOnly));
    EXPECT_TRUE(globs.readAll().contains(":application/x-bvtransfer-xyz:*.xyz"));
}

TEST_F(AssociationRulesTest, AnExtensionTheDesktopCannotNameStillReachesTheRegistry) {
    tools->WinVer = 610;
    tools->SetFileAssociate(".a b*", "Odd]Type");
    EXPECT_EQ(tools->ReadRegistery("software\\classes\\.a b*", "", "", ""), "Odd]Type");
    EXPECT_EQ(tree(Root::CurrentUser, "software\\classes\\Odd]Type").size(), 17);
    EXPECT_FALSE(QDir(path("data/applications")).exists());
    EXPECT_EQ(notify.count(), 1);
}

}  // namespace
