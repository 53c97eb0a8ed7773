// The transfer facing what would have lost data or hung: values beyond BV's columns,
// files that are not regular files, and a second transfer into the same farm.
#include "app/datamodule.h"
#include "app/transfer.h"
#include "dataaccess/sqlerror.h"
#include "tests/transfer/farmfixture.h"
#include "toolkit/tools.h"

#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

using namespace farmtest;
using Kind = RecordingDialogs::Kind;

class TransferReliability : public FarmFixture {
public:
    void SetUp() override {
        FarmFixture::SetUp();
        startToolkit();
        ASSERT_FALSE(plat::endRequested());
    }
    QString transfer(const QString& dir, const QString& name, int lockTimeoutMs = transfer::kLockTimeoutMs) {
        dialogs.clear();
        TransferOptions options;
        options.lockTimeoutMs = lockTimeoutMs;
        runTransfer(*tools, dir, name, options);
        const auto messages = dialogs.texts(Kind::Msg);
        EXPECT_EQ(messages.size(), 1u);
        return messages.empty() ? QString() : messages.back();
    }
    QString transferPath(const QString& path) {
        const QFileInfo info(path);
        return transfer(info.absolutePath() + QLatin1Char('/'), info.fileName());
    }
    // The standard file with one cell of the row of cow 5 replaced.
    QString fileWith(const char* name, const QString& column, const QString& value) {
        QStringList lines = standardLines();
        QStringList cells = lines[2].split(',');
        cells[kHeader.indexOf(column)] = value;
        lines[2] = cells.join(',');
        return writeFile(QString::fromLatin1(name), QByteArray("\xEF\xBB\xBF") + crlf(lines));
    }
};

// On SQL Server the copy fails on such a value; reporting success would leave BV short
// of the cow or holding a value its column cannot hold.
TEST_F(TransferReliability, ValueBeyondItsBvColumnFailsTheCopyAndLeavesBv) {
    ASSERT_EQ(transferPath(writeFile("ok.txt", crlf(standardLines()))), transfer::kFinished);
    const QStringList before = bvRows();
    struct Case {
        const char* file;
        const char* column;  // BV's type in brackets
        QString value;
    };
    const Case cases[] = {
        {"int-overflow.txt", "RankTotalMilk", "2147483648"},  // [int]
        {"int-far.txt", "RankHerdFat", "1E20"},               // [int]
        {"float-inf.txt", "BvMilk", "1e400"},                 // [float]
        // [nvarchar(50)]: 70 characters that still match the cow, the diacritics ignored.
        {"regno-long.txt", "RegNo", reg(5) + QString(60, QChar(0x064E))},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(transferPath(fileWith(c.file, QString::fromLatin1(c.column), c.value)), transfer::kCopyFailed)
            << c.file;
        EXPECT_EQ(bvRows(), before) << c.file;
    }
    // A fraction into an int column is cut, as SQL Server converts it.
    server->run("Farm", "DELETE FROM BV");
    EXPECT_EQ(transferPath(fileWith("fraction.txt", "RankTotalMilk", "12.7")), transfer::kFinished);
    EXPECT_EQ(server->rows("Farm", "SELECT RankTotalMilk FROM BV WHERE Serial = 5"), QStringList{"12"});
}

// A FIFO would wait for a writer for ever, holding the farm's write lock; a device or a
// socket has no end. Each fails at once, and the database stays writable.
TEST_F(TransferReliability, FileThatIsNotARegularFileFailsAtOnce) {
    const QString fifo = filesDir + "fifo.txt";
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString socketPath = filesDir + "socket.txt";
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray encoded = QFile::encodeName(socketPath);
    ASSERT_LT(static_cast<size_t>(encoded.size()), sizeof(address.sun_path));
    std::copy(encoded.begin(), encoded.end(), address.sun_path);
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    QDir().mkpath(filesDir + "folder.txt");

    struct Case {
        const char* name;
        QString dir, file;
    };
    const Case cases[] = {
        {"FIFO", filesDir, "fifo.txt"},
        {"FIFO named in other letter case", filesDir, "FIFO.TXT"},
        {"device", "/dev/", "zero"},
        {"socket", filesDir, "socket.txt"},
        {"folder", filesDir, "folder.txt"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(transfer(c.dir, c.file), transfer::kFillFailed) << c.name;
        EXPECT_TRUE(bvRows().isEmpty()) << c.name;
        // Another writer is not kept waiting.
        server->run("Farm", "INSERT INTO Main (Serial, Sabt) VALUES (900, N'x')");
        server->run("Farm", "DELETE FROM Main WHERE Serial = 900");
    }
    ::close(sock);
}

// A transfer waits for the farm's application lock; one that cannot get it within its
// timeout fails with the first message and leaves BV and the staging table alone.
TEST_F(TransferReliability, TransferWaitsForTheLockAndFailsAfterItsTimeout) {
    const QString file = writeFile("ok.txt", crlf(standardLines()));
    da::Connection holder;
    holder.setServer(server->name());
    holder.setDatabase("Farm");
    holder.setUser("sa");
    holder.connect();
    auto execute = [&](const QString& sql) {
        da::Query query(&holder);
        query.addSql(sql);
        query.execute();
    };
    execute(transfer::lockStatement(0));
    server->run("Farm", "SELECT 1 AS Marker INTO BVTemp");

    EXPECT_EQ(transfer(filesDir, "ok.txt", 0), transfer::kFillFailed);
    EXPECT_TRUE(bvRows().isEmpty());
    EXPECT_EQ(server->rows("Farm", "SELECT Marker FROM BVTemp"), QStringList{"1"});
    // A second holder is refused too, with the lock statement's own error.
    try {
        server->run("Farm", transfer::lockStatement(0));
        ADD_FAILURE() << "a second connection got the lock";
    } catch (const da::SqlError& e) {
        EXPECT_TRUE(e.message().contains("Another transfer")) << e.message().toStdString();
    }

    execute(transfer::kUnlockStatement);
    EXPECT_EQ(transfer(filesDir, "ok.txt", 0), transfer::kFinished);
    EXPECT_EQ(bvRows(), standardBv());
    // The transfer gave the lock up: it is free again.
    execute(transfer::lockStatement(0));
    execute(transfer::kUnlockStatement);
    // A connection that ends gives its lock up with it.
    execute(transfer::lockStatement(0));
    holder.disconnect();
    EXPECT_EQ(transfer(filesDir, "ok.txt", 0), transfer::kFinished);
}

// Two programs upgrading BV and transferring into one farm at the same time: whichever
// goes first, both end well and BV holds each file's cows exactly once, never the rows
// of one file twice.
TEST_F(TransferReliability, TwoTransfersStartedTogetherAddEachFileOnce) {
    QStringList big{kHeader.join(',')};
    for (int serial = 1; serial <= kAnimals; ++serial) {
        for (int copy = 0; copy < 250; ++copy)
            big << line("h" + reg(serial), copy);
    }
    const QString bigFile = writeFile("big.txt", crlf(big));
    const QString smallFile = writeFile("small.txt", crlf(standardLines()));
    // BV in its old layout: both programs start by upgrading it, one after the other.
    server->run("Farm", {"DROP TABLE BV", "CREATE TABLE BV (" + bvdata::oldBvColumns() + ")"});
    QProcess first;
    QProcess second;
    for (auto [process, path] : {std::pair{&first, bigFile}, std::pair{&second, smallFile}})
        process->start(QStringLiteral(BVTRANSFER_EXE), {"--app-dir", appPath, "--transfer", path});
    for (QProcess* process : {&first, &second}) {
        ASSERT_TRUE(process->waitForFinished(120000));
        EXPECT_EQ(process->exitCode(), 0) << process->readAllStandardError().toStdString();
        EXPECT_EQ(QString::fromUtf8(process->readAllStandardOutput()).split('\n', Qt::SkipEmptyParts).last(),
                  transfer::kFinished);
    }
    EXPECT_EQ(server->rows("Farm", "SELECT COUNT(*) FROM BV"), QStringList{QString::number(kAnimals * 250 + 3)});
    // Rank 4 + i marks row i of a file; the small file's rows are 0 to 2.
    EXPECT_EQ(server->rows("Farm", "SELECT Serial, RankHerdFat FROM BV WHERE RegNo IN ('" + reg(3) + "', '" + reg(5) +
                                       "', '" + reg(7) + "') AND RankHerdFat < 7 ORDER BY Serial, RankHerdFat"),
              (QStringList{"3|4", "3|4", "3|5", "3|6", "5|4", "5|5", "5|5", "5|6", "7|4", "7|5", "7|6", "7|6"}));
}

}  // namespace
