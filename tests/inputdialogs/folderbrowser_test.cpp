#include "dialogs/folderbrowser.h"
#include "scripteddialog.h"
#include "toolsfixture.h"

#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QLabel>
#include <QPushButton>
#include <QEventLoop>
#include <QTreeView>

namespace {

using Script = ScriptedDialog<TFolderBrowser>;

// Waits until the tree shows the folder open with its children, woken by the models' own reports
// (the tree's indexes change while rows come in and are sorted, so each check looks
// the folder up again). The timer only turns a model that never reports into a failure.
void waitForChildren(TFolderBrowser& b, const QString& folder, int count) {
    QAbstractItemModel* tree = b.tree()->model();
    auto ready = [&] { return tree->rowCount(b.indexOf(folder)) >= count && b.tree()->isExpanded(b.indexOf(folder)); };
    QEventLoop loop;
    auto check = [&] {
        if (ready())
            loop.quit();
    };
    QObject::connect(tree, &QAbstractItemModel::rowsInserted, &loop, check);
    QObject::connect(tree, &QAbstractItemModel::layoutChanged, &loop, check);
    QObject::connect(b.fileSystem(), &QFileSystemModel::directoryLoaded, &loop, check);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    if (!ready())
        loop.exec();
    ASSERT_EQ(tree->rowCount(b.indexOf(folder)), count);
}

// A folder Root with the folders Alpha and beta and a file; HOME points at a home of
// its own, whose desktop is made by the test that needs one.
class SelectDirectory : public ToolsFixture {
protected:
    void SetUp() override {
        ToolsFixture::SetUp();
        m_savedHome = qgetenv("HOME");
        m_savedConfig = qgetenv("XDG_CONFIG_HOME");
        const QDir dir(m_dir.path());
        for (const char* sub : {"Root/Alpha/Inner", "Root/beta", "home", "config"})
            dir.mkpath(QString::fromLatin1(sub));
        QFile file(dir.filePath(QStringLiteral("Root/notes.txt")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        root = dir.filePath(QStringLiteral("Root"));
        home = dir.filePath(QStringLiteral("home"));
        qputenv("HOME", home.toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toLocal8Bit());
    }

    void TearDown() override {
        qputenv("HOME", m_savedHome);
        m_savedConfig.isNull() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", m_savedConfig);
        ToolsFixture::TearDown();
    }

    QString root;
    QString home;
    QByteArray m_savedHome;
    QByteArray m_savedConfig;
};

TEST_F(SelectDirectory, CancelGivesFalseAndAnEmptyDirectory) {
    const QString caption = QStringLiteral("پوشه را انتخاب كنيد");
    const Script::Step ways[] = {
        [](TFolderBrowser& b) { press(b, Qt::Key_Escape); },
        [](TFolderBrowser& b) { QTest::mouseClick(b.cancelButton(), Qt::LeftButton); },
        [](TFolderBrowser& b) { b.close(); },
    };
    for (const Script::Step& cancel : ways) {
        Script script({[&](TFolderBrowser& b) {
            EXPECT_EQ(b.captionLabel()->text(), caption);
            cancel(b);
        }});
        QString directory = QStringLiteral("left over");
        EXPECT_FALSE(m_tools->SelectDirectory(caption, root, directory));
        EXPECT_TRUE(directory.isEmpty());
        EXPECT_EQ(script.opens(), 1);
    }
}

TEST_F(SelectDirectory, ARootThatNamesNoFolderStartsAtTheDesktop) {
    const QString notAFolder = QDir(root).filePath(QStringLiteral("notes.txt"));
    const QString desktop = QDir(home).filePath(QStringLiteral("Desktop"));
    // Without a desktop folder the home folder stands in for it.
    const std::pair<QString, QString> cases[] = {
        {QDir(root).filePath(QStringLiteral("missing")), home},
        {notAFolder, desktop},
        {QString(), desktop},
    };
    for (const auto& [given, start] : cases) {
        SCOPED_TRACE(given.toStdString());
        if (start == desktop)
            QDir(home).mkpath(QStringLiteral("Desktop"));
        Script script({[&](TFolderBrowser& b) {
            EXPECT_EQ(b.browseRoot(), QStringLiteral("/"));
            EXPECT_EQ(b.currentFolder(), start);
            press(b, Qt::Key_Return);
        }});
        QString directory;
        EXPECT_TRUE(m_tools->SelectDirectory(QStringLiteral("c"), given, directory));
        EXPECT_EQ(directory, start);
    }
}

TEST_F(SelectDirectory, TheUserChoosesOnlyFoldersUnderTheRootAndCannotLeaveIt) {
    QWidget other;
    other.show();
    QWidget disabledBefore;
    disabledBefore.setEnabled(false);
    disabledBefore.show();
    Script choose({[&](TFolderBrowser& b) {
        EXPECT_FALSE(other.isEnabled());
        EXPECT_EQ(b.tree()->model()->rowCount(b.tree()->rootIndex()), 1);  // the root alone on top
        EXPECT_EQ(b.currentFolder(), root);
        waitForChildren(b, root, 2);  // Alpha and beta, not the file
        press(b, Qt::Key_Down);
        press(b, Qt::Key_Down);
        EXPECT_EQ(b.currentFolder(), QDir(root).filePath(QStringLiteral("beta")));
        press(b, Qt::Key_Return);
    }});
    QString directory;
    EXPECT_TRUE(m_tools->SelectDirectory(QStringLiteral("c"), root, directory));
    EXPECT_EQ(directory, QDir(root).filePath(QStringLiteral("beta")));
    EXPECT_EQ(choose.opens(), 1);
    EXPECT_TRUE(other.isEnabled());
    EXPECT_FALSE(disabledBefore.isEnabled());

    Script stayInside({[&](TFolderBrowser& b) {
        // Left and Up at the top go nowhere above the root.
        for (Qt::Key key : {Qt::Key_Left, Qt::Key_Left, Qt::Key_Up, Qt::Key_Home})
            press(b, key);
        EXPECT_EQ(b.currentFolder(), root);
        EXPECT_FALSE(b.indexOf(m_dir.path()).isValid());
        press(b, Qt::Key_Return);
    }});
    EXPECT_TRUE(m_tools->SelectDirectory(QStringLiteral("c"), root + u'/', directory));
    EXPECT_EQ(directory, root);
    EXPECT_EQ(stayInside.opens(), 1);
}

}  // namespace
