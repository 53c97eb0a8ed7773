// The connect dialog as the user meets it: captions, fields, Enter connects, Escape
// cancels, remembered servers, the database list, and the end of the program.
#include "dataaccess/sqlerror.h"
#include "dataaccess/ui/connectdialog.h"
#include "platform/appexit.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace da;

namespace {

template <typename T>
T* child(QWidget* w, const char* name) {
    T* c = w->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

// Runs the steps once the modal dialog is up; a dialog still open afterwards is closed
// so that a failing step cannot hang the test.
void whenShown(std::function<void(QDialog*)> steps) {
    QTimer::singleShot(0, [steps] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
        steps(dialog);
        if (dialog->isVisible())
            QTimer::singleShot(0, dialog, &QDialog::reject);
    });
}

class ConnectDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_dialog.setHistoryFile(m_dir.filePath(QStringLiteral("servers.txt")));
        m_dialog.setDatabaseLister([this](const ConnectParams& p) {
            m_listed.push_back(p);
            if (p.server == QStringLiteral("down"))
                throw SqlError(QStringLiteral("Unable to connect"));
            return QStringList{QStringLiteral("Farm1"), QStringLiteral("master")};
        });
    }

    QTemporaryDir m_dir;
    ConnectDialog m_dialog;
    std::vector<ConnectParams> m_listed;
};

}  // namespace

TEST_F(ConnectDialogTest, CaptionsAreTheProgramsUntilTheCallerSetsThem) {
    EXPECT_EQ(m_dialog.windowTitle(), QStringLiteral("اتصال به بانك اصلي"));
    EXPECT_EQ(child<QLabel>(&m_dialog, "UserLabel")->text(), QStringLiteral("نام كاربر"));
    EXPECT_EQ(child<QLabel>(&m_dialog, "PasswordLabel")->text(), QStringLiteral("رمز عبور"));
    EXPECT_EQ(child<QLabel>(&m_dialog, "ServerLabel")->text(), QStringLiteral("سرور"));
    EXPECT_EQ(child<QLabel>(&m_dialog, "DatabaseLabel")->text(), QStringLiteral("Database"));
    EXPECT_EQ(child<QPushButton>(&m_dialog, "ConnectButton")->text(), QStringLiteral("اتصال"));
    EXPECT_EQ(child<QPushButton>(&m_dialog, "CancelButton")->text(), QStringLiteral("انصراف"));

    m_dialog.setCaptions({"Log in", "User", "Pass", "Host", "DB", "Go", "Stop"});
    EXPECT_EQ(m_dialog.windowTitle(), QStringLiteral("Log in"));
    EXPECT_EQ(child<QLabel>(&m_dialog, "ServerLabel")->text(), QStringLiteral("Host"));
    EXPECT_EQ(child<QPushButton>(&m_dialog, "CancelButton")->text(), QStringLiteral("Stop"));
}

TEST_F(ConnectDialogTest, FieldsAsShown) {
    EXPECT_EQ(m_dialog.layoutDirection(), Qt::RightToLeft);
    EXPECT_EQ(m_dialog.font().family(), QStringLiteral("Tahoma"));
    EXPECT_EQ(child<QLineEdit>(&m_dialog, "PasswordEdit")->echoMode(), QLineEdit::Password);
    EXPECT_EQ(child<QLineEdit>(&m_dialog, "UserEdit")->echoMode(), QLineEdit::Normal);
    EXPECT_TRUE(child<QComboBox>(&m_dialog, "ServerCombo")->isEditable());
    EXPECT_TRUE(child<QComboBox>(&m_dialog, "DatabaseCombo")->isEditable());
    EXPECT_TRUE(child<QPushButton>(&m_dialog, "ConnectButton")->isDefault());
}

TEST_F(ConnectDialogTest, EnterConnectsWithWhatWasTyped) {
    ConnectParams p;
    p.database = QStringLiteral("master");
    p.loginTimeoutSeconds = 7;
    whenShown([](QDialog* d) {
        EXPECT_EQ(child<QComboBox>(d, "DatabaseCombo")->currentText(), QStringLiteral("master"));
        QTest::keyClicks(child<QLineEdit>(d, "UserEdit"), QStringLiteral("sa"));
        QTest::keyClicks(child<QLineEdit>(d, "PasswordEdit"), QStringLiteral("p@ss"));
        QComboBox* server = child<QComboBox>(d, "ServerCombo");
        QTest::keyClicks(server->lineEdit(), QStringLiteral("farmsrv,1433"));
        QTest::keyClick(server->lineEdit(), Qt::Key_Return);
    });
    ASSERT_TRUE(m_dialog.prompt(p));
    EXPECT_EQ(p.user, QStringLiteral("sa"));
    EXPECT_EQ(p.password, QStringLiteral("p@ss"));
    EXPECT_EQ(p.server, QStringLiteral("farmsrv,1433"));
    EXPECT_EQ(p.database, QStringLiteral("master"));
    EXPECT_EQ(p.loginTimeoutSeconds, 7);
}

TEST_F(ConnectDialogTest, EscapeCancelsAndLeavesTheParameters) {
    ConnectParams p;
    p.server = QStringLiteral("before");
    whenShown([](QDialog* d) {
        QTest::keyClicks(child<QLineEdit>(d, "UserEdit"), QStringLiteral("someone"));
        QTest::keyClick(child<QLineEdit>(d, "UserEdit"), Qt::Key_Escape);
    });
    EXPECT_FALSE(m_dialog.prompt(p));
    EXPECT_EQ(p.server, QStringLiteral("before"));
    EXPECT_TRUE(p.user.isEmpty());
    EXPECT_FALSE(QFile::exists(m_dialog.historyFile()));
}

TEST(ConnectDialogPlace, CentredOnTheScreenNotOnItsHiddenOwner) {
    // The toolkit's form owns the dialog and is never shown; it stands in a corner.
    QWidget owner;
    owner.setGeometry(0, 0, 200, 100);
    QTemporaryDir dir;
    ConnectDialog dialog(&owner);
    dialog.setHistoryFile(dir.filePath(QStringLiteral("servers.txt")));
    dialog.setDatabaseLister([](const ConnectParams&) { return QStringList(); });
    QPoint offCentre(-1, -1);
    whenShown([&offCentre](QDialog* d) {
        offCentre = d->frameGeometry().center() - d->screen()->availableGeometry().center();
    });
    ConnectParams p;
    dialog.prompt(p);
    EXPECT_LE(offCentre.manhattanLength(), 2) << offCentre.x() << "," << offCentre.y();
}

TEST_F(ConnectDialogTest, ButtonsConnectAndCancel) {
    ConnectParams p;
    p.server = QStringLiteral("file:/data/farms");
    whenShown([](QDialog* d) { QTest::mouseClick(child<QPushButton>(d, "CancelButton"), Qt::LeftButton); });
    EXPECT_FALSE(m_dialog.prompt(p));
    whenShown([](QDialog* d) { QTest::mouseClick(child<QPushButton>(d, "ConnectButton"), Qt::LeftButton); });
    EXPECT_TRUE(m_dialog.prompt(p));
    EXPECT_EQ(p.server, QStringLiteral("file:/data/farms"));
}

TEST_F(ConnectDialogTest, ServersUsedBeforeAreOfferedMostRecentFirst) {
    for (const char* server : {"file:/data/farms", "farmsrv\\SQLEXPRESS", "file:/data/farms"}) {
        ConnectParams p;
        p.server = QString::fromUtf8(server);
        whenShown([](QDialog* d) { QTest::keyClick(child<QLineEdit>(d, "UserEdit"), Qt::Key_Enter); });
        ASSERT_TRUE(m_dialog.prompt(p));
    }
    ConnectDialog fresh;
    fresh.setHistoryFile(m_dialog.historyFile());
    QComboBox* combo = child<QComboBox>(&fresh, "ServerCombo");
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(0), QStringLiteral("file:/data/farms"));
    EXPECT_EQ(combo->itemText(1), QStringLiteral("farmsrv\\SQLEXPRESS"));

    // Picking a remembered server from the list.
    ConnectParams p;
    whenShown([](QDialog* d) {
        QComboBox* server = child<QComboBox>(d, "ServerCombo");
        server->setFocus();
        QTest::keyClick(server, Qt::Key_Down);
        QTest::keyClick(server, Qt::Key_Return);
    });
    ASSERT_TRUE(fresh.prompt(p));
    EXPECT_EQ(p.server, QStringLiteral("farmsrv\\SQLEXPRESS"));
}

TEST_F(ConnectDialogTest, DatabaseListIsFilledOnceServerAndUserAreGiven) {
    ConnectParams p;
    p.loginTimeoutSeconds = 3;
    std::vector<QStringList> seen;
    whenShown([&seen](QDialog* d) {
        QComboBox* database = child<QComboBox>(d, "DatabaseCombo");
        auto items = [database] {
            QStringList l;
            for (int i = 0; i < database->count(); ++i)
                l << database->itemText(i);
            return l;
        };
        QLineEdit* user = child<QLineEdit>(d, "UserEdit");
        QLineEdit* server = child<QComboBox>(d, "ServerCombo")->lineEdit();
        QTest::mouseClick(server, Qt::LeftButton);
        QTest::keyClicks(server, QStringLiteral("farmsrv"));
        QTest::keyClick(server, Qt::Key_Tab);  // to the database: no user yet, nothing listed
        EXPECT_TRUE(database->hasFocus());
        seen.push_back(items());
        QTest::mouseClick(user, Qt::LeftButton);
        QTest::keyClicks(user, QStringLiteral("sa"));
        QTest::mouseClick(database->lineEdit(), Qt::LeftButton);
        seen.push_back(items());
        server->setText(QStringLiteral("down"));
        user->setFocus();
        database->setFocus();  // a server that cannot be reached: empty list, no error
        seen.push_back(items());
        QTest::keyClicks(database->lineEdit(), QStringLiteral("Farm1"));
        QTest::keyClick(database->lineEdit(), Qt::Key_Return);
    });
    ASSERT_TRUE(m_dialog.prompt(p));
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_TRUE(seen[0].isEmpty());
    EXPECT_EQ(seen[1], (QStringList{"Farm1", "master"}));
    EXPECT_TRUE(seen[2].isEmpty());
    ASSERT_EQ(m_listed.size(), 2u);
    EXPECT_EQ(m_listed[0].server, QStringLiteral("farmsrv"));
    EXPECT_EQ(m_listed[0].user, QStringLiteral("sa"));
    EXPECT_EQ(m_listed[0].loginTimeoutSeconds, 3);
    EXPECT_EQ(p.database, QStringLiteral("Farm1"));
    EXPECT_EQ(p.server, QStringLiteral("down"));
}

TEST_F(ConnectDialogTest, EmbeddedFoldersAreListedWithoutAUser) {
    ConnectParams p;
    p.server = QStringLiteral("file:/data/farms");
    whenShown([](QDialog* d) { child<QComboBox>(d, "DatabaseCombo")->setFocus(); });
    EXPECT_FALSE(m_dialog.prompt(p));
    ASSERT_EQ(m_listed.size(), 1u);
    EXPECT_EQ(m_listed[0].server, QStringLiteral("file:/data/farms"));
}

// Leaves no end request behind: the queued quit of a request would make every later
// modal loop of this process return at once.
class ConnectDialogEndTest : public ConnectDialogTest {
protected:
    void TearDown() override {
        QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
        QCoreApplication::exec();
        plat::AppExit::instance().reset();
    }
};

TEST_F(ConnectDialogEndTest, NotShownOnceTheProgramIsEnding) {
    plat::requestEnd();
    ConnectParams p;
    p.server = QStringLiteral("kept");
    bool shown = false;
    QTimer::singleShot(0, [&shown] { shown = QApplication::activeModalWidget() != nullptr; });
    EXPECT_FALSE(m_dialog.prompt(p));
    QCoreApplication::processEvents();
    EXPECT_FALSE(shown);
    EXPECT_EQ(p.server, QStringLiteral("kept"));
}

TEST_F(ConnectDialogEndTest, ClosesWithCancelWhenTheEndIsRequested) {
    ConnectParams p;
    whenShown([](QDialog* d) {
        QTest::keyClicks(child<QLineEdit>(d, "UserEdit"), QStringLiteral("sa"));
        plat::requestEnd();
    });
    EXPECT_FALSE(m_dialog.prompt(p));
    EXPECT_TRUE(p.user.isEmpty());
}
