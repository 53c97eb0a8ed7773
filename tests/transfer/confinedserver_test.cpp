// A server that cannot see this computer's files, as a SQL Server on another machine:
// the embedded server confined to the folders of its readable-folders.txt. A file
// outside them is read here and transferred whole; one inside is read by the server.
#include "app/transfer.h"
#include "tests/transfer/farmfixture.h"

#include <QProcess>

namespace {

using namespace farmtest;
using Kind = RecordingDialogs::Kind;

class ConfinedServer : public FarmFixture {
public:
    void SetUp() override {
        FarmFixture::SetUp();
        serverDisk = serverDiskDir.path() + QLatin1Char('/');
        confineTo({serverDisk});
    }
    void confineTo(const QStringList& folders) {
        QFile list(server->folder() + QStringLiteral("/readable-folders.txt"));
        ASSERT_TRUE(list.open(QIODevice::WriteOnly | QIODevice::Truncate));
        list.write((QStringLiteral("# folders the server's machine sees\n\n") + folders.join(u'\n') + u'\n').toUtf8());
    }
    // The headless transfer, run as the program itself: its standard output's lines.
    QStringList runHeadless(const QStringList& arguments, int* status) {
        QProcess process;
        process.start(QStringLiteral(BVTRANSFER_EXE), QStringList{"--app-dir", appPath} + arguments);
        EXPECT_TRUE(process.waitForFinished(120000));
        *status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        return QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    }
    TransferSummary transferInProcess(const QString& dir, const QString& name, bool dryRun = false) {
        startToolkit();
        dialogs.clear();
        TransferOptions options;
        options.collectFigures = true;
        options.dryRun = dryRun;
        const TransferSummary summary = runTransfer(*tools, dir, name, options);
        dm.reset();
        tools.reset();
        return summary;
    }

    QTemporaryDir serverDiskDir;
    QString serverDisk;
};

TEST_F(ConfinedServer, FileOutsideItsFoldersIsReadHereAndTransfersWhole) {
    // More rows than the server's first guess and one block of rows hold, every value
    // in its position as BV's row layout places it.
    QStringList lines = standardLines();
    for (int i = 0; i < 3000; ++i)
        lines << line("h" + QString::number(8000000000LL + i), i + 4);
    writeFile("bv.txt", crlf(lines));

    int status = -1;
    const QStringList out = runHeadless({"--transfer", filesDir + "bv.txt"}, &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(out, (QStringList{"rows read from the file: 3004", "registration numbers repaired: 3003",
                                "rows added to BV: 3", "file rows without a matching animal: 3001",
                                "the file was read on this computer", transfer::kFinished}));
    // The program stamps today's solar date, the clock's; every other value is the file's.
    const QStringList dates = server->rows("Farm", "SELECT DISTINCT Date FROM BV");
    ASSERT_EQ(dates.size(), 1);
    EXPECT_EQ(dates[0].size(), 10);
    EXPECT_EQ(bvRows(), (QStringList{bvRow(3, reg(3), 0, dates[0]), bvRow(5, reg(5), 1, dates[0]),
                                     bvRow(7, reg(7), 2, dates[0])}));
    EXPECT_EQ(server->rows("Farm", "SELECT COUNT(*), MIN(RegNo), MAX(RegNo) FROM BVTemp"),
              QStringList{"3004|" + reg(3) + "|9999999999"});
}

TEST_F(ConfinedServer, WindowShowsTheSameMessageForAFileReadHere) {
    writeFile("bv 1403.txt", crlf(standardLines()));
    startToolkit();
    TransferBreedingValues(*tools, filesDir, "bv 1403.txt");
    EXPECT_EQ(dialogs.texts(Kind::Msg), std::vector<QString>{transfer::kFinished});
    EXPECT_EQ(bvRows(), standardBv());
}

TEST_F(ConfinedServer, WhoReadsTheFile) {
    writeFile("bv.txt", crlf(standardLines()));
    QFile::copy(filesDir + "bv.txt", serverDisk + "bv.txt");
    struct Case {
        const char* name;
        QStringList readable;  // the server's folders
        QString dir;
        FileReadBy readBy;
    };
    const Case cases[] = {
        {"inside its folders", {serverDisk}, serverDisk, FileReadBy::Server},
        {"outside its folders", {serverDisk}, filesDir, FileReadBy::ThisComputer},
        {"a server that reads no folder", {}, filesDir, FileReadBy::ThisComputer},
        {"a folder neither sees", {serverDisk}, filesDir + "gone/", FileReadBy::Nobody},
    };
    for (const Case& c : cases) {
        confineTo(c.readable);
        server->run("Farm", "DELETE FROM BV");
        const TransferSummary summary = transferInProcess(c.dir, "bv.txt");
        EXPECT_EQ(summary.readBy, c.readBy) << c.name;
        EXPECT_EQ(summary.outcome, c.readBy == FileReadBy::Nobody ? TransferOutcome::FillFailed : TransferOutcome::Finished)
            << c.name;
        EXPECT_EQ(bvRows(), c.readBy == FileReadBy::Nobody ? QStringList{} : standardBv()) << c.name;
    }
}

TEST_F(ConfinedServer, DryRunFromThisComputerChecksTheFileAndAddsNothing) {
    writeFile("bv.txt", crlf(standardLines()));
    int status = -1;
    const QStringList out = runHeadless({"--transfer", filesDir + "bv.txt", "--dry-run"}, &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(out, (QStringList{"without a matching animal: 9999999999", "rows read from the file: 4",
                                "registration numbers repaired: 3", "rows that would be added to BV (dry run): 3",
                                "file rows without a matching animal: 1", "the file was read on this computer",
                                transfer::kFinished}));
    EXPECT_TRUE(bvRows().isEmpty());
}

}  // namespace
