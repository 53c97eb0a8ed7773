// Finding a program's window and listing window titles, on a private X server with and
// without a window manager.
#include "xsession.h"

#include "tests/fixtures/windowmanagerready.h"

#include "platform/windowlist.h"
#include "toolkit/recordingdialogs.h"
#include "toolkit/tools.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The fixture program under a long name of this test process's own, so that tests
// running side by side never find each other's windows.
const QString kFixtureName = QStringLiteral("BreedingValueWindowFixture%1").arg(QCoreApplication::applicationPid());

QString fixtureProgram() {
    static QTemporaryDir dir;
    const QString path = dir.filePath(kFixtureName);
    if (!QFile::exists(path)) {
        QFile::copy(QStringLiteral(WINDOWFIXTURE_PATH), path);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
    }
    return path;
}

// The fixture program showing the windows asked for; its handles once it has them.
class Fixture {
public:
    explicit Fixture(const QStringList& windows) {
        m_process.start(fixtureProgram(), windows);
        if (m_process.waitForReadyRead(30000))
            for (const QString& h : QString::fromLatin1(m_process.readLine()).split(u' ', Qt::SkipEmptyParts))
                m_handles.append(h.trimmed().toUInt());
    }
    ~Fixture() {
        m_process.closeWriteChannel();
        m_process.waitForFinished();
    }
    quint32 handle(int i) const { return m_handles.value(i); }
    int count() const { return static_cast<int>(m_handles.size()); }

private:
    QProcess m_process;
    QList<quint32> m_handles;
};

// A window manager takes new windows in and shows them in its own time: wait for the
// X server to report the windows of the given indexes listed and shown.
bool shown(const Fixture& f, const QList<int>& indexes) {
    std::vector<unsigned long> handles;
    for (int i : indexes)
        handles.push_back(f.handle(i));
    return waitOnXEvents(
        [&] {
            qsizetype seen = 0;
            for (const plat::WindowEntry& w : plat::topLevelWindows())
                for (int i : indexes)
                    seen += w.handle == f.handle(i) && w.visible;
            return seen == indexes.size();
        },
        handles);
}

class Windows : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        session = std::make_unique<XSession>(GetParam());
        if (!session->ok())
            GTEST_SKIP() << "needs Xvfb" << (GetParam() ? " and openbox" : "");
        tools = std::make_unique<TTools>(ToolsOptions{&dialogs, dir.path() + u'/', QDate()});
    }
    void TearDown() override {
        tools.reset();
        session.reset();
    }

    std::unique_ptr<XSession> session;
    QTemporaryDir dir;
    RecordingDialogs dialogs;
    std::unique_ptr<TTools> tools;
};

TEST_P(Windows, FileHandleIsTheLastApplicationWindowOfTheProgram) {
    Fixture f({"normal:First", "tool:Palette", "normal:Second", "owned:Child"});
    ASSERT_EQ(f.count(), 4);
    ASSERT_TRUE(shown(f, {0, 1, 2, 3}));
    EXPECT_EQ(tools->GetFileHandle(kFixtureName), f.handle(2));
    EXPECT_EQ(tools->GetFileHandle(kFixtureName.toLower()), f.handle(2));
    EXPECT_EQ(tools->GetFileHandle(fixtureProgram()), 0u);  // a full path
    EXPECT_FALSE(tools->ProcessInfo1->active());
    EXPECT_FALSE(tools->AppInfo1->active());
}

TEST_P(Windows, ProgramWithOnlyToolOrHiddenWindowsHasNoHandle) {
    Fixture f({"tool:Palette", "hidden:Hidden"});
    ASSERT_EQ(f.count(), 2);
    Fixture marker({"normal:Marker"});  // shown after the fixture's: once it is listed, so are they
    ASSERT_TRUE(shown(marker, {0}));
    EXPECT_EQ(tools->GetFileHandle(kFixtureName), 0u);  // only the first process of the name counts
    EXPECT_EQ(tools->GetFileHandle(QStringLiteral("no-such-program")), 0u);
}

TEST_P(Windows, EnumWindowsProcAppendsTitlesAndDuplicates) {
    Fixture f({"normal:Herd", "tool:Palette", "normal:GDI+ Window", "owned:Owned", "normal:"});
    ASSERT_EQ(f.count(), 5);
    ASSERT_TRUE(shown(f, {0, 1, 2, 3, 4}));
    for (int round = 0; round < 2; ++round)
        for (int i = 0; i < f.count(); ++i)
            EXPECT_TRUE(tools->EnumWindowsProc(f.handle(i), 0));
    EXPECT_TRUE(tools->EnumWindowsProc(0, 0));  // no window: nothing appended, still true
    QStringList titles;
    for (int i = 0; i < tools->CTILIst->count(); ++i)
        titles << tools->CTILIst->item(i)->text();
    EXPECT_EQ(titles, (QStringList{"Herd", "", "Herd", ""}));
}

INSTANTIATE_TEST_SUITE_P(X11, Windows, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "WithWindowManager" : "Bare"; });

TEST(WindowsWithoutDisplay, NothingIsListed) {
    const QByteArray previous = qgetenv("DISPLAY");
    qunsetenv("DISPLAY");
    EXPECT_TRUE(plat::topLevelWindows().empty());
    EXPECT_FALSE(plat::windowEntry(1).has_value());
    if (!previous.isEmpty())
        qputenv("DISPLAY", previous);
}

}  // namespace
