#include "tests/fixtures/qstringprint.h"
#include "connection/credentialsfile.h"
#include "connection/discoveryhooks.h"
#include "connection/multiuserform.h"
#include "connection/scrambling.h"
#include "dataaccess/sqlerror.h"
#include "dataaccess/ui/connectdialog.h"
#include "platform/ansicodec.h"
#include "tests/fixtures/endrequest.h"
#include "tests/fixtures/farmserver.h"
#include "toolkit/recordingdialogs.h"
#include "toolkit/tools.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace {

// The connect dialog, scripted: counts its uses and answers as told.
class ScriptedLogin : public da::LoginPrompt {
public:
    bool prompt(da::ConnectParams& params) override {
        ++calls;
        seenDatabase = params.database;
        if (!confirm)
            return false;
        params.server = server;
        params.user = QStringLiteral("sa");
        params.password = password;
        return true;
    }
    int calls = 0;
    bool confirm = true;
    QString server;
    QString password = QStringLiteral("catalogue pw");
    QString seenDatabase;
};

int g_exitStatus = -1;
void recordExit(int status) { g_exitStatus = status; }

class FindConStrTest : public ::testing::Test {
public:
    void SetUp() override {
        clearEndRequest();
        g_exitStatus = -1;
        conn::setExitProcess(&recordExit);
        conn::setCustomerChooser({});
        ToolsOptions options;
        options.dialogs = &dialogs;
        options.appPath = appDir.path() + QLatin1Char('/');
        tools = std::make_unique<TTools>(options);
        server = std::make_unique<FarmServer>();
        login = ScriptedLogin();
        login.server = server->name();
        tools->MSConnectDialog2 = &login;
    }
    void TearDown() override {
        tools.reset();
        server.reset();
        conn::setExitProcess(nullptr);
        conn::setCustomerChooser({});
        clearEndRequest();
    }

    QString appFile(const char* name) const { return appDir.filePath(QString::fromLatin1(name)); }
    void touch(const char* name, const QByteArray& bytes = {}) {
        QFile file(appFile(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    // A catalogue server with customers (DName, SName, EngDName, SPass).
    void makeCatalogue(const QList<QStringList>& customers) {
        server->createDatabase(QStringLiteral("Masters"));
        QStringList statements{QStringLiteral("CREATE TABLE Masters (ID int, DName nvarchar(50), SName nvarchar(100), "
                                              "EngDName nvarchar(50), SPass nvarchar(50))")};
        int id = 0;
        for (const QStringList& c : customers) {
            QStringList quotedValues;
            for (const QString& v : c)
                quotedValues << "N'" + QString(v).replace("'", "''") + "'";
            statements << QStringLiteral("INSERT INTO Masters VALUES (%1, %2)").arg(++id).arg(quotedValues.join(", "));
        }
        server->run(QStringLiteral("Masters"), statements);
    }
    // A multi-customer installation whose catalogue connection is remembered.
    void rememberedCatalogue(const QList<QStringList>& customers) {
        touch("Multiusers.Dat");
        makeCatalogue(customers);
        rememberCatalogue();
    }
    void rememberCatalogue() {
        conn::writeRememberedConnection(appFile("MultiConnect.Dat"),
                                        {server->name(), QStringLiteral("master"), QStringLiteral("sa"), login.password});
    }
    void chooseByName(const QString& name) {
        conn::setCustomerChooser([name, this](const QStringList& names) -> std::optional<QString> {
            offered = names;
            return name;
        });
    }

    struct Found {
        QString user = QStringLiteral("u0"), password = QStringLiteral("p0"), server = QStringLiteral("s0"),
                database = QStringLiteral("d0");
        bool unchanged() const { return user == "u0" && password == "p0" && server == "s0" && database == "d0"; }
    };
    Found find() {
        Found f;
        tools->FindConStr(f.user, f.password, f.server, f.database);
        return f;
    }

    QTemporaryDir appDir;
    std::unique_ptr<FarmServer> server;
    RecordingDialogs dialogs;
    ScriptedLogin login;
    std::unique_ptr<TTools> tools;
    QStringList offered;
};

TEST_F(FindConStrTest, MissingCredentialsFileEndsProcessWithoutMessage) {
    const Found f = find();
    EXPECT_EQ(g_exitStatus, 2);
    EXPECT_TRUE(f.unchanged());
    EXPECT_TRUE(dialogs.entries().empty());
}

TEST_F(FindConStrTest, CredentialsFileWithTwoLines) {
    touch("WTimes.DLL", plat::toAnsi(conn::positionScramble("pw") + "\r\n" + conn::positionScramble("srv") + "\r\n"));
    const Found f = find();
    EXPECT_EQ(f.password, "pw");
    EXPECT_EQ(f.server, "srv");
    EXPECT_EQ(f.database, "");
    EXPECT_EQ(f.user, "");
    EXPECT_EQ(g_exitStatus, -1);
    EXPECT_FALSE(plat::endRequested());
}

TEST_F(FindConStrTest, FirstRunPromptsRemembersAndTakesChosenCustomer) {
    touch("Multiusers.Dat");
    makeCatalogue({{"Farm B", "file:/b", "FarmB", "pb"}, {"Farm A", "file:/a", "FarmA", "pa"}});
    chooseByName(QStringLiteral("Farm B"));
    const Found f = find();
    EXPECT_FALSE(plat::endRequested());
    EXPECT_EQ(login.calls, 1);
    EXPECT_EQ(login.seenDatabase, "master");
    EXPECT_EQ(offered, (QStringList{"Farm A", "Farm B"}));
    EXPECT_EQ(f.user, "sa");
    EXPECT_EQ(f.password, "pb");
    EXPECT_EQ(f.server, "file:/b");
    EXPECT_EQ(f.database, "FarmB");
    EXPECT_EQ(tools->Multiconnection->database().toLower(), "masters");

    const da::ConnectParams remembered = conn::readRememberedConnection(appFile("MultiConnect.Dat"));
    EXPECT_EQ(remembered.server, server->name());
    EXPECT_EQ(remembered.database.toLower(), "master");
    EXPECT_EQ(remembered.user, "sa");
    EXPECT_EQ(remembered.password, login.password);
    EXPECT_FALSE(QFile::permissions(appFile("MultiConnect.Dat")) & (QFileDevice::ReadGroup | QFileDevice::ReadOther));
}

TEST_F(FindConStrTest, MultiCustomerWinsOverCredentialsFile) {
    touch("WTimes.DLL", plat::toAnsi(conn::positionScramble("pw") + "\r\n" + conn::positionScramble("srv")));
    rememberedCatalogue({{"Farm A", "file:/a", "FarmA", "pa"}});
    chooseByName(QStringLiteral("Farm A"));
    const Found f = find();
    EXPECT_EQ(f.server, "file:/a");
    EXPECT_EQ(f.password, "pa");
    EXPECT_EQ(login.calls, 0);  // remembered: no dialog
}

TEST_F(FindConStrTest, CustomerNameWithQuoteIsFoundAgain) {
    rememberedCatalogue({{"O'Brien ' s", "file:/o", "FarmO", "po"}, {"Other", "file:/x", "X", "px"}});
    chooseByName(QStringLiteral("O'Brien ' s"));
    const Found f = find();
    EXPECT_EQ(f.database, "FarmO");
    EXPECT_FALSE(plat::endRequested());
}

// Each failure ends the program without a message of its own and leaves the arguments.
TEST_F(FindConStrTest, FailurePathsRequestEndAndLeaveArguments) {
    struct Case {
        const char* name;
        std::function<void(FindConStrTest&)> arrange;
        int promptCalls;
    };
    const Case cases[] = {
        {"prompt cancelled", [](FindConStrTest& t) { t.login.confirm = false; }, 1},
        {"remembered server no longer answers",
         [](FindConStrTest& t) {
             conn::writeRememberedConnection(t.appFile("MultiConnect.Dat"),
                                             {"file:" + t.appDir.filePath("gone/away"), "master", "sa", "pw"});
         },
         0},
        {"remembered file with three lines", [](FindConStrTest& t) { t.touch("MultiConnect.Dat", "s\r\nmaster\r\nsa\r\n"); },
         0},
        {"no Masters database", [](FindConStrTest& t) { t.rememberCatalogue(); }, 0},
        {"empty Masters", [](FindConStrTest& t) { t.rememberedCatalogue({}); }, 0},
        {"choice not confirmed",
         [](FindConStrTest& t) {
             t.rememberedCatalogue({{"Farm A", "file:/a", "FarmA", "pa"}});
             conn::setCustomerChooser([](const QStringList&) { return std::optional<QString>(); });
         },
         0},
    };
    for (const Case& c : cases) {
        TearDown();
        QDir(appDir.path()).removeRecursively();
        QDir().mkpath(appDir.path());
        SetUp();
        touch("Multiusers.Dat");
        c.arrange(*this);
        const Found f = find();
        EXPECT_TRUE(plat::endRequested()) << c.name;
        EXPECT_TRUE(f.unchanged()) << c.name;
        EXPECT_EQ(login.calls, c.promptCalls) << c.name;
        EXPECT_TRUE(dialogs.entries().empty()) << c.name;
    }
}

TEST_F(FindConStrTest, CatalogueWithoutColumnRaisesToCaller) {
    touch("Multiusers.Dat");
    server->createDatabase(QStringLiteral("Masters"));
    server->run(QStringLiteral("Masters"), {QStringLiteral("CREATE TABLE Masters (DName nvarchar(50), SName nvarchar(50))"),
                                            QStringLiteral("INSERT INTO Masters VALUES (N'A', N'file:/a')")});
    rememberCatalogue();
    chooseByName(QStringLiteral("A"));
    Found f;
    EXPECT_THROW(tools->FindConStr(f.user, f.password, f.server, f.database), std::exception);
}

// The selection window itself: duplicate names appear twice and either takes the first
// row the server returns; closing it without OK ends the program.
TEST_F(FindConStrTest, SelectionWindowListsDuplicatesAndTakesFirstRow) {
    rememberedCatalogue({{"Twin", "file:/first", "First", "p1"}, {"Twin", "file:/second", "Second", "p2"}, {"Alone", "file:/alone", "Alone", "p3"}});
    QStringList listed;
    QTimer::singleShot(0, [&listed] {
        ASSERT_TRUE(MultiUserForm && MultiUserForm->isVisible());
        QListWidget* list = MultiUserForm->RadioGroup1;
        for (int i = 0; i < list->count(); ++i)
            listed << list->item(i)->text();
        list->setCurrentRow(2);  // the second "Twin"
        QTest::mouseClick(MultiUserForm->dxButton1, Qt::LeftButton);
    });
    const Found f = find();
    EXPECT_EQ(listed, (QStringList{"Alone", "Twin", "Twin"}));
    EXPECT_FALSE(plat::endRequested());
    EXPECT_EQ(f.database, "First");
    EXPECT_EQ(f.server, "file:/first");
}

TEST_F(FindConStrTest, SelectionWindowClosedWithoutOk) {
    rememberedCatalogue({{"Farm A", "file:/a", "FarmA", "pa"}});
    QTimer::singleShot(0, [] {
        ASSERT_TRUE(MultiUserForm && MultiUserForm->isVisible());
        MultiUserForm->close();
    });
    const Found f = find();
    EXPECT_TRUE(plat::endRequested());
    EXPECT_TRUE(f.unchanged());
}

// Without a dialog of its own the toolkit makes the connect dialog with the catalogue's
// captions; what the user confirms there is connected to and remembered.
TEST_F(FindConStrTest, ConnectDialogOfItsOwnOnFirstRun) {
    touch("Multiusers.Dat");
    makeCatalogue({{"Farm A", "file:/a", "FarmA", "pa"}});
    chooseByName(QStringLiteral("Farm A"));
    tools->MSConnectDialog2 = nullptr;
    const QString history = appDir.filePath("servers.txt");
    QString caption;
    QString shownDatabase;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<da::ConnectDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        caption = dialog->windowTitle();
        shownDatabase = dialog->fields().database;
        dialog->setHistoryFile(history);
        dialog->findChild<QLineEdit*>("UserEdit")->setText("sa");
        dialog->findChild<QComboBox*>("ServerCombo")->setEditText(server->name());
        QTest::mouseClick(dialog->findChild<QPushButton*>("ConnectButton"), Qt::LeftButton);
    });
    const Found f = find();
    EXPECT_EQ(caption, QStringLiteral("اتصال به بانك اصلي"));
    EXPECT_EQ(shownDatabase.toLower(), "master");
    EXPECT_NE(tools->MSConnectDialog2, nullptr);
    EXPECT_FALSE(plat::endRequested());
    EXPECT_EQ(f.database, "FarmA");
    EXPECT_EQ(conn::readRememberedConnection(appFile("MultiConnect.Dat")).server, server->name());
}

}  // namespace
