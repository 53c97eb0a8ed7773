// The programs' command lines: a mistyped option ends at once with the usage (never a
// window that waits for ever), --help and --version answer, and bvsql takes its
// password from standard input.
#include "app/batcharguments.h"
#include "app/startupoptions.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Outcome {
    int status = -1;
    QString out;
    QString err;
};

Outcome runProgram(const QString& program, const QStringList& args, const QByteArray& input = {}) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");  // a window, if opened, would wait unseen
    p.setProcessEnvironment(env);
    p.start(program, args);
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        return {-2, {}, QStringLiteral("still running after 30 s")};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

TEST(StartupOptions, EveryArgumentIsKnownOrAnError) {
    const struct {
        QStringList args;
        bool error, help, version;
    } rows[] = {
        {{"bvtransfer", "--transfr", "bv.txt"}, true, false, false},
        {{"bvtransfer", "--bogus"}, true, false, false},
        {{"bvtransfer", "bv.txt"}, true, false, false},
        {{"bvtransfer", "--transfer"}, true, false, false},
        {{"bvtransfer", "--customer="}, true, false, false},
        {{"bvtransfer", "--dry-run=yes"}, true, false, false},
        {{"bvtransfer", "--help"}, false, true, false},
        {{"bvtransfer", "-h"}, false, true, false},
        {{"bvtransfer", "--version"}, false, false, true},
        {{"bvtransfer", "--transfer=bv.txt", "--dry-run"}, false, false, false},
        {{"bvtransfer", "--write-credentials", "--password="}, false, false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.args.join(' ').toStdString());
        const StartupOptions options = parseStartupOptions(row.args);
        EXPECT_EQ(!options.error.isEmpty(), row.error) << options.error.toStdString();
        EXPECT_EQ(options.help, row.help);
        EXPECT_EQ(options.version, row.version);
    }
}

TEST(BatchArguments, ModeOptionsWithoutTheirModeAreErrors) {
    const QStringList cases[] = {
        {"bvtransfer", "--dry-run"},
        {"bvtransfer", "--server", "s"},
        {"bvtransfer", "--transfer", "f.txt", "--group", "farm"},
        {"bvtransfer", "--transfer", "f.txt", "--screenshot", "x.png"},
    };
    for (const QStringList& c : cases)
        EXPECT_FALSE(parseBatchArguments(c).error.isEmpty()) << c.join(' ').toStdString();
    const BatchArguments group = parseBatchArguments(
        {"bvtransfer", "--write-credentials", "--server", "s", "--database", "d", "--user", "u", "--password", "p",
         "--group", "farm"});
    EXPECT_TRUE(group.error.isEmpty()) << group.error.toStdString();
    EXPECT_EQ(group.group, "farm");
}

TEST(Programs, WrongArgumentsPrintTheUsageAndExitTwo) {
    const struct {
        QString program;
        QStringList args;
        const char* usage;
    } cases[] = {
        {BVTRANSFER_EXE, {"--transfr", "bv.txt"}, "usage: bvtransfer"},
        {BVTRANSFER_EXE, {"--bogus"}, "usage: bvtransfer"},
        {BVTRANSFER_EXE, {"--transfer"}, "usage: bvtransfer"},
        {BVTRANSFER_EXE, {"--dry-run"}, "usage: bvtransfer"},
        {BVSQL_EXE, {"--bogus"}, "usage: bvsql"},
        {BVGEN_EXE, {"file"}, "usage: bvgen"},
    };
    for (const auto& c : cases) {
        const Outcome r = runProgram(c.program, c.args);
        SCOPED_TRACE((c.program + ' ' + c.args.join(' ')).toStdString());
        EXPECT_EQ(r.status, 2) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QLatin1String(c.usage))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

TEST(Programs, HelpPrintsEveryModeAndOptionAndExitsZero) {
    const struct {
        QString program;
        QStringList mentions;
    } cases[] = {
        {BVTRANSFER_EXE,
         {"--app-dir", "--screenshot", "--gallery", "--transfer", "--dry-run", "--customer", "--write-credentials",
          "--server", "--database", "--user", "--password", "--group", "--help", "--version"}},
        {BVSQL_EXE, {"usage: bvsql", "--user", "--password -", "--timeout"}},
        {BVGEN_EXE, {"usage: bvgen", "file OUT", "animals-csv", "farm --server"}},
    };
    for (const auto& c : cases) {
        const Outcome r = runProgram(c.program, {"--help"});
        EXPECT_EQ(r.status, 0) << c.program.toStdString() << r.err.toStdString();
        for (const QString& m : c.mentions)
            EXPECT_TRUE(r.out.contains(m)) << c.program.toStdString() << " lacks " << m.toStdString();
    }
    const Outcome version = runProgram(BVTRANSFER_EXE, {"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.out.startsWith("bvtransfer ")) << version.out.toStdString();
}

TEST(Programs, BvsqlReadsThePasswordFromStandardInput) {
    QTemporaryDir dir;
    const QString server = "file:" + dir.path();
    ASSERT_EQ(runProgram(BVSQL_EXE, {server, "master", "INSERT INTO Logins VALUES ('farmer', 's3 cr;et')"}).status, 0);
    const struct {
        const char* name;
        QStringList args;
        QByteArray input;
        int status;
        QString out;
    } cases[] = {
        {"password on standard input", {server, "master", "--user", "farmer", "--password", "-", "SELECT 1 AS One"}, "s3 cr;et\n", 0, "One\n1\n"},
        {"then the SQL too", {server, "master", "--user", "farmer", "--password", "-", "-"}, "s3 cr;et\r\nSELECT 2 AS Two", 0, "Two\n2\n"},
        {"wrong password", {server, "master", "--user", "farmer", "--password", "-", "SELECT 1"}, "secret\n", 1, ""},
        {"no input at all", {server, "master", "--user", "farmer", "--password", "-", "SELECT 1"}, "", 1, ""},
    };
    for (const auto& c : cases) {
        const Outcome r = runProgram(BVSQL_EXE, c.args, c.input);
        EXPECT_EQ(r.status, c.status) << c.name << ": " << r.err.toStdString();
        EXPECT_EQ(r.out, c.out) << c.name;
        if (c.status == 1) {
            EXPECT_TRUE(r.err.contains("Login failed for user 'farmer'")) << c.name << ": " << r.err.toStdString();
        }
    }
}

}  // namespace
