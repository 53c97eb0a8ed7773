// The headless modes, run as the program itself: exit statuses, summary and outcome.
#include "app/datamodule.h"
#include "tests/transfer/farmfixture.h"

#include <QProcess>
#include <functional>

namespace {

using namespace farmtest;

struct ProgramRun {
    int status = -1;
    QStringList out;  // stdout lines
    QString err;
};

class Headless : public FarmFixture {
public:
    ProgramRun run(QStringList arguments, const QByteArray& input = {}) {
        QProcess process;
        process.start(QStringLiteral(BVTRANSFER_EXE), QStringList{"--app-dir", appPath} + arguments);
        EXPECT_TRUE(process.waitForStarted());
        process.write(input);
        process.closeWriteChannel();
        EXPECT_TRUE(process.waitForFinished(120000));
        ProgramRun r;
        r.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        r.out = QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        r.err = QString::fromUtf8(process.readAllStandardError());
        return r;
    }
    QString standardFile() { return writeFile("bv 1403.txt", crlf(standardLines())); }
};

TEST_F(Headless, SuccessPrintsSummaryThenOutcome) {
    const ProgramRun r = run({"--transfer", standardFile()});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, (QStringList{"rows read from the file: 4", "registration numbers repaired: 3",
                                  "rows added to BV: 3", "file rows without a matching animal: 1",
                                  "the file was read by the server", transfer::kFinished}));
    EXPECT_EQ(server->rows("Farm", "SELECT Serial, RegNo FROM BV ORDER BY Serial"),
              (QStringList{"3|" + reg(3), "5|" + reg(5), "7|" + reg(7)}));
}

TEST_F(Headless, DryRunListsUnmatchedAndAddsNothing) {
    const ProgramRun r = run({"--transfer", standardFile(), "--dry-run"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, (QStringList{"without a matching animal: 9999999999", "rows read from the file: 4",
                                  "registration numbers repaired: 3", "rows that would be added to BV (dry run): 3",
                                  "file rows without a matching animal: 1", "the file was read by the server",
                                  transfer::kFinished}));
    EXPECT_TRUE(bvRows().isEmpty());
}

TEST_F(Headless, TransferFailuresExitOne) {
    QStringList noMilk = standardLines();
    noMilk[0].replace("BvMilk", "Milk");
    struct Case {
        const char* name;
        QString file;
        QString outcome;
        QString rowsRead;
        QString readBy;
    };
    const Case cases[] = {
        {"missing file", filesDir + "missing.txt", transfer::kFillFailed, "rows read from the file: -",
         "the file was not read"},
        {"named column missing", writeFile("nomilk.txt", crlf(noMilk)), transfer::kCopyFailed,
         "rows read from the file: 4", "the file was read by the server"},
    };
    for (const Case& c : cases) {
        const ProgramRun r = run({"--transfer", c.file});
        EXPECT_EQ(r.status, 1) << c.name;
        ASSERT_EQ(r.out.size(), 6) << c.name;
        EXPECT_EQ(r.out.first(), c.rowsRead) << c.name;
        EXPECT_EQ(r.out[4], c.readBy) << c.name;
        EXPECT_EQ(r.out.last(), c.outcome) << c.name;
        EXPECT_TRUE(bvRows().isEmpty()) << c.name;
    }
}

TEST_F(Headless, StartUpFailuresExitTwoWithMessageOnStandardError) {
    const QString file = standardFile();
    struct Case {
        const char* name;
        std::function<void()> arrange;
        QString inError;
    };
    const Case cases[] = {
        {"no credentials file", [&] { QFile::remove(appPath + "WTimes.DLL"); }, "--write-credentials"},
        {"refused connection",
         [&] { conn::writeCredentialsFile(appPath + "WTimes.DLL", {server->name(), "NoSuchFarm", "sa", "pw"}); },
         datamodule::kConnectFailed},
        {"upgrade that cannot run", [&] { server->run("Farm", "DROP TABLE BV"); }, datamodule::kUpgradeFailed},
        {"several customers, none named",
         [&] { QFile(appPath + "Multiusers.Dat").open(QIODevice::WriteOnly); }, "--customer"},
    };
    for (const Case& c : cases) {
        TearDown();
        SetUp();
        c.arrange();
        const ProgramRun r = run({"--transfer", file});
        EXPECT_EQ(r.status, 2) << c.name;
        EXPECT_TRUE(r.out.isEmpty()) << c.name;
        EXPECT_TRUE(r.err.contains(c.inError)) << c.name << ": " << r.err.toStdString();
    }
}

TEST_F(Headless, MultiCustomerNeedsCustomerAndRememberedConnection) {
    QFile(appPath + "Multiusers.Dat").open(QIODevice::WriteOnly);
    server->createDatabase("Masters");
    server->run("Masters", {"CREATE TABLE Masters (DName nvarchar(50), SName nvarchar(200), EngDName nvarchar(50), "
                            "SPass nvarchar(50))",
                            "INSERT INTO Masters VALUES (N'مزرعه نمونه', N'" + server->name() + "', N'Farm', N'pw')"});
    const QString file = standardFile();
    EXPECT_EQ(run({"--transfer", file, "--customer", "مزرعه نمونه"}).status, 2);  // nothing remembered yet

    conn::writeRememberedConnection(appPath + "MultiConnect.Dat", {server->name(), "master", "sa", "pw"});
    const ProgramRun unknown = run({"--transfer", file, "--customer", "Other"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_TRUE(unknown.err.contains("Other"));

    const ProgramRun ok = run({"--transfer", file, "--customer", "مزرعه نمونه"});
    EXPECT_EQ(ok.status, 0) << ok.err.toStdString();
    EXPECT_EQ(ok.out.value(2), "rows added to BV: 3");
    EXPECT_EQ(bvRows().size(), 3);
}

TEST_F(Headless, WriteCredentialsScramblesAsReadBack) {
    QFile::remove(appPath + "WTimes.DLL");
    ProgramRun r = run({"--write-credentials", "--server", "db.farm,1433", "--database", "Farm", "--user", "sa",
                        "--password", "-"},
                       "s3cret ' ;\n");
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    const da::ConnectParams read = conn::readCredentialsFile(appPath + "WTimes.DLL");
    EXPECT_EQ(read.server, "db.farm,1433");
    EXPECT_EQ(read.database, "Farm");
    EXPECT_EQ(read.user, "sa");
    EXPECT_EQ(read.password, "s3cret ' ;");

    r = run({"--write-credentials", "--server", "s"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains("usage"));
}

}  // namespace
