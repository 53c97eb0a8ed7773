// Starting programs and handing files to the desktop: the command line reaches the
// program as Windows would split it, in the program's folder.
#include "platform/processlist.h"
#include "platform/processstart.h"
#include "platform/shellopen.h"
#include "toolkit/recordingdialogs.h"
#include "toolkit/tools.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct SplitCase {
    const char* line;
    QStringList args;
};

TEST(SplitCommandLine, FollowsTheRuntimeRules) {
    const SplitCase cases[] = {
        {R"("C:\a b\p.exe" x y)", {R"(C:\a b\p.exe)", "x", "y"}},
        {R"(p "a b" c)", {"p", "a b", "c"}},
        {R"(p a\\\"b)", {"p", R"(a\"b)"}},     // odd backslashes: a literal quote
        {R"(p a\\"b c")", {"p", R"(a\b c)"}},  // even backslashes: the quote opens
        {R"(p a\b\c)", {"p", R"(a\b\c)"}},     // backslashes before no quote stay
        {R"(p "a""b")", {"p", R"(a"b)"}},      // "" inside quotes is one quote
        {"p  \t x  ", {"p", "x"}},
        {R"(p "")", {"p", ""}},
        {R"(pro"g r"am x)", {"prog ram", "x"}},
        {R"(C:\x\"p q" a)", {R"(C:\x\p q)", "a"}},  // the program keeps its backslashes
    };
    for (const SplitCase& c : cases)
        EXPECT_EQ(plat::splitCommandLine(QString::fromUtf8(c.line)), c.args) << c.line;
}

class Launching : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        tools = std::make_unique<TTools>(ToolsOptions{&dialogs, dir.path() + u'/', QDate()});
        qputenv("BVT_ARGDUMP_OUT", dir.filePath(QStringLiteral("dump.txt")).toLocal8Bit());
    }
    void TearDown() override { qunsetenv("BVT_ARGDUMP_OUT"); }

    // A copy of the argument-dumping program under a name of the test's choosing.
    QString programAt(const QString& relative) {
        const QString path = dir.filePath(relative);
        QDir().mkpath(QFileInfo(path).path());
        EXPECT_TRUE(QFile::copy(QStringLiteral(ARGDUMP_PATH), path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }
    QStringList dump() {
        QFile f(dir.filePath(QStringLiteral("dump.txt")));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

    QTemporaryDir dir;
    RecordingDialogs dialogs;
    std::unique_ptr<TTools> tools;
};

TEST_F(Launching, ExecAndWaitPassesTheParametersInTheProgramsFolder) {
    struct Case {
        QString program;
        QString params;
        QStringList args;
    };
    const Case cases[] = {
        {QStringLiteral("bin/argdump"), QStringLiteral("one \"two three\" four"), {"one", "two three", "four"}},
        {QStringLiteral("my tools/arg dump"), QStringLiteral("x"), {"x"}},
        {QStringLiteral("bin/argdump"), QStringLiteral("  a   b  "), {"a", "b"}},
        {QStringLiteral("bin/argdump"), QString(), {}},
    };
    for (const Case& c : cases) {
        const QString program = QFileInfo::exists(dir.filePath(c.program)) ? dir.filePath(c.program) : programAt(c.program);
        QFile::remove(dir.filePath(QStringLiteral("dump.txt")));
        ASSERT_TRUE(tools->ExecAndWait(program, c.params)) << c.program.toStdString();
        // The dump exists once ExecAndWait returns: it waited for the program's end.
        const QStringList lines = dump();
        ASSERT_FALSE(lines.isEmpty());
        EXPECT_EQ(lines.first(), QFileInfo(program).absolutePath());
        EXPECT_EQ(lines.mid(1), c.args) << c.params.toStdString();
    }
}

TEST_F(Launching, ExecAndWaitIsFalseWhenNothingCanStart) {
    EXPECT_FALSE(tools->ExecAndWait(dir.filePath(QStringLiteral("missing/program")), QStringLiteral("a")));
    EXPECT_FALSE(tools->ExecAndWait(dir.path(), QString()));  // a folder
    QFile plain(dir.filePath(QStringLiteral("notes.txt")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    EXPECT_FALSE(tools->ExecAndWait(plain.fileName(), QString()));  // not executable
}

TEST_F(Launching, ShellHandOversTrimOnlyWhereTheyShould) {
    plat::RecordingShellOpen shell;
    plat::ScopedShellOpen scope(&shell);
    tools->ExecuteFilePara(QStringLiteral(" \t report.txt \n"), QStringLiteral(" /p q "));
    tools->ExecuteFile(QStringLiteral(" report.txt "));
    tools->OPenUrl(QStringLiteral("http://example.invalid/a b"));
    EXPECT_EQ(shell.opened(), (QStringList{"report.txt", " report.txt ", "http://example.invalid/a b"}));
    EXPECT_EQ(shell.parameters(), (QStringList{" /p q ", "", ""}));
}

TEST_F(Launching, ProcessListNamesTheExecutableNotTheKernelName) {
    const QString program = dir.filePath(QStringLiteral("BreedingValueTransferTest.exe"));
    ASSERT_TRUE(QFile::copy(QStringLiteral("/bin/cat"), program));
    QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner);
    QProcess child;
    child.start(program, {});
    ASSERT_TRUE(child.waitForStarted());  // exec has happened: /proc shows the new image
    bool found = false;
    for (const plat::ProcessEntry& p : plat::runningProcesses())
        found = found || (p.pid == child.processId() && p.exeName == QLatin1String("BreedingValueTransferTest.exe"));
    EXPECT_TRUE(found);
    tools->ProcessInfo1->setActive(true);
    const auto byName = tools->ProcessInfo1->findByName(QStringLiteral("breedingvaluetransfertest.EXE"));
    ASSERT_TRUE(byName.has_value());
    EXPECT_EQ(byName->pid, child.processId());
    EXPECT_FALSE(tools->ProcessInfo1->findByName(program).has_value());  // a full path never matches
    tools->ProcessInfo1->setActive(false);
    child.closeWriteChannel();
    ASSERT_TRUE(child.waitForFinished());
}

TEST(ProcessMonitor, FindsTheFirstByNameIgnoringAsciiCaseOnly) {
    TProcessInfo monitor;
    monitor.setSource([] {
        return std::vector<plat::ProcessEntry>{{"Straße.EXE", 10}, {"straße.exe", 11}, {"É.exe", 12}};
    });
    monitor.setActive(true);
    ASSERT_TRUE(monitor.findByName(QStringLiteral("STRAßE.exe")).has_value());
    EXPECT_EQ(monitor.findByName(QStringLiteral("STRAßE.exe"))->pid, 10);
    EXPECT_FALSE(monitor.findByName(QStringLiteral("é.exe")).has_value());
    monitor.setActive(false);
    EXPECT_TRUE(monitor.processes().empty());
}

}  // namespace
