// Files the transfer must refuse and files it must take, on the embedded engine.
#include "app/datamodule.h"
#include "app/transfer.h"
#include "platform/ansicodec.h"
#include "tests/transfer/farmfixture.h"
#include "toolkit/tools.h"

#include <QFileInfo>
#include <functional>
#include <memory>

namespace {

using namespace farmtest;
using Kind = RecordingDialogs::Kind;

class FileInput : public FarmFixture {
public:
    void SetUp() override {
        FarmFixture::SetUp();
        startToolkit();
        ASSERT_FALSE(plat::endRequested());
        ASSERT_TRUE(dialogs.entries().empty());
    }
    void TearDown() override {
        dm.reset();
        tools.reset();
        FarmFixture::TearDown();
    }
    // Transfers dir + name as the window's labels would hold them; answers the message.
    QString transferFile(const QString& dir, const QString& name) {
        dialogs.clear();
        TransferBreedingValues(*tools, dir, name);
        const auto messages = dialogs.texts(Kind::Msg);
        EXPECT_EQ(messages.size(), 1u);
        return messages.empty() ? QString() : messages.back();
    }
    QString transferPath(const QString& path) {
        const QFileInfo info(path);
        return transferFile(info.absolutePath() + QLatin1Char('/'), info.fileName());
    }
    void expectBadInputRefused();
};

QStringList without(QStringList header, const QString& column) {
    header.removeAll(column);
    return header;
}

// The files the transfer refuses, each with its message, BV left as it was.
void FileInput::expectBadInputRefused() {
    // A row in BV beforehand, which must stay alone.
    const QString ok = writeFile("ok.txt", crlf(standardLines()));
    ASSERT_EQ(transferPath(ok), transfer::kFinished);
    const QStringList before = bvRows();
    ASSERT_EQ(before.size(), 3);

    QStringList noBvMilkLines{without(kHeader, "BvMilk").join(',')};
    QStringList line1 = line("h" + reg(3), 0).split(',');
    line1.removeAt(2);
    noBvMilkLines << line1.join(',');

    QStringList textMilk = standardLines();
    for (int i = 1; i < textMilk.size(); ++i) {
        QStringList cells = textMilk[i].split(',');
        cells[2] = "high";
        textMilk[i] = cells.join(',');
    }
    // One bad value past the rows the driver guesses the column's type from.
    QStringList lateText = standardLines();
    for (int i = 0; i < 40; ++i)
        lateText << line(reg(10), i);
    {
        QStringList cells = lateText.last().split(',');
        cells[2] = "abc";
        lateText.last() = cells.join(',');
    }
    QStringList ragged = standardLines();
    ragged[2] += ",1,2,3";
    ragged[3] = ragged[3].section(',', 0, 5);

    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += char((i * 7919 + 13) % 256);

    struct Case {
        const char* name;
        std::function<QString()> run;
        QString expected;
    };
    const Case cases[] = {
        {"folder the server cannot reach", [&] { return transferFile(filesDir + "no/such/folder/", "ok.txt"); },
         transfer::kFillFailed},
        {"missing file", [&] { return transferFile(filesDir, "missing.txt"); }, transfer::kFillFailed},
        {"empty file", [&] { return transferPath(writeFile("empty.txt", {})); }, transfer::kFillFailed},
        {"header only", [&] { return transferPath(writeFile("header.txt", crlf({kHeader.join(',')}))); },
         transfer::kFillFailed},
        {"no RegNo column",
         [&] {
             QStringList lines = standardLines();
             lines[0].replace("RegNo", "Registration");
             return transferPath(writeFile("noregno.txt", crlf(lines)));
         },
         transfer::kFillFailed},
        {"another named column missing", [&] { return transferPath(writeFile("nomilk.txt", crlf(noBvMilkLines))); },
         transfer::kCopyFailed},
        {"non-numeric values in a numeric column",
         [&] { return transferPath(writeFile("textmilk.txt", crlf(textMilk))); }, transfer::kCopyFailed},
        {"a non-numeric value after the guessing rows",
         [&] { return transferPath(writeFile("latetext.txt", crlf(lateText))); }, transfer::kFillFailed},
        {"ragged rows", [&] { return transferPath(writeFile("ragged.txt", crlf(ragged))); }, transfer::kFillFailed},
        {"binary garbage", [&] { return transferPath(writeFile("garbage.txt", garbage)); }, transfer::kFillFailed},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.run(), c.expected) << c.name;
        EXPECT_EQ(bvRows(), before) << c.name;
    }
}

TEST_F(FileInput, BadInputFailsWithItsMessageAndLeavesBV) { expectBadInputRefused(); }

// A server that cannot see the files' folder: each file is read on this computer, and
// the same files fail with the same messages.
TEST_F(FileInput, BadInputReadOnThisComputerFailsAlike) {
    QFile list(server->folder() + QStringLiteral("/readable-folders.txt"));
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write("# the server's own disk only\n/srv/farm-imports\n");
    list.close();
    expectBadInputRefused();
}

TEST_F(FileInput, FileFormsThatTransferCorrectly) {
    const QString persian = QStringLiteral("گاو شيري");
    QStringList quoted = standardLines();
    quoted[1] = line("h" + reg(3), 0, "\"Smith, Jr.\"");
    quoted[2] = line(reg(5), 1, "\"a \"\"b\"\", c\"");

    QStringList named = standardLines();
    named[1] = line("h" + reg(3), 0, persian);

    struct Case {
        const char* name;
        QString relative;
        QByteArray bytes;
        QString firstName;  // the staged Name of the first row, as the file meant it
    };
    const Case cases[] = {
        {"UTF-8 byte-order mark", "bom.txt", QByteArray("\xEF\xBB\xBF") + crlf(standardLines()), "cow"},
        {"LF line ends", "lf.txt", (standardLines().join('\n') + '\n').toUtf8(), "cow"},
        {"Windows-1256 text", "ansi.txt", plat::toAnsi(named.join("\r\n") + "\r\n"), persian},
        {"quoted fields holding commas", "quoted.txt", crlf(quoted), "Smith, Jr."},
        {"last line without line end", "noend.txt", standardLines().join("\r\n").toUtf8(), "cow"},
        {"name and folder with ' ; ] and blanks", "it's; [odd] dir/bv ' ; ] 1403.txt", crlf(standardLines()), "cow"},
        {"braces in the folder", "a}b{c}/bv.txt", crlf(standardLines()), "cow"},
    };
    for (const Case& c : cases) {
        server->run("Farm", "DELETE FROM BV");
        EXPECT_EQ(transferPath(writeFile(c.relative, c.bytes)), transfer::kFinished) << c.name;
        EXPECT_EQ(bvRows(), standardBv()) << c.name;
        EXPECT_EQ(server->rows("Farm", "SELECT Name FROM BVTemp WHERE RegNo = '" + reg(3) + "'"),
                  QStringList{c.firstName})
            << c.name;
    }
}

TEST_F(FileInput, LeadingCapitalHIsRepairedUnderCaseInsensitiveCollation) {
    const QString message = transferPath(writeFile("h.txt", crlf({kHeader.join(','), line("H" + reg(9), 0)})));
    EXPECT_EQ(message, transfer::kFinished);
    EXPECT_EQ(bvRows(), QStringList{bvRow(9, reg(9), 0)});
}

TEST_F(FileInput, SummaryFiguresAndDryRun) {
    const QString path = writeFile("sum.txt", crlf(standardLines()));
    const QFileInfo info(path);
    TransferOptions options;
    options.collectFigures = true;
    options.showOutcome = false;
    options.dryRun = true;
    dialogs.clear();
    TransferSummary dry = runTransfer(*tools, info.absolutePath() + '/', info.fileName(), options);
    EXPECT_EQ(dry.outcome, TransferOutcome::Finished);
    EXPECT_EQ(dry.rowsRead, 4);
    EXPECT_EQ(dry.regNosRepaired, 3);  // h, H and the unknown cow's h
    EXPECT_EQ(dry.rowsAdded, 3);
    EXPECT_EQ(dry.unmatchedRows, 1);
    EXPECT_EQ(dry.unmatchedRegNos, QStringList{"9999999999"});
    EXPECT_TRUE(bvRows().isEmpty());
    EXPECT_TRUE(dialogs.entries().empty());

    options.dryRun = false;
    const TransferSummary real = runTransfer(*tools, info.absolutePath() + '/', info.fileName(), options);
    EXPECT_EQ(real.rowsRead, 4);
    EXPECT_EQ(real.regNosRepaired, 3);
    EXPECT_EQ(real.rowsAdded, 3);
    EXPECT_EQ(real.unmatchedRows, 1);
    EXPECT_TRUE(real.unmatchedRegNos.isEmpty());
    EXPECT_EQ(bvRows(), standardBv());
}

TEST_F(FileInput, SummaryCountsUnmatchedWhenTwoAnimalsShareNumber) {
    server->run("Farm", "INSERT INTO Main (Serial, Sabt) VALUES (21, N'" + reg(3) + "')");
    const QString path = writeFile("dup.txt", crlf(standardLines()));
    const QFileInfo info(path);
    TransferOptions options;
    options.collectFigures = true;
    options.showOutcome = false;
    const TransferSummary summary = runTransfer(*tools, info.absolutePath() + '/', info.fileName(), options);
    EXPECT_EQ(summary.rowsRead, 4);
    EXPECT_EQ(summary.rowsAdded, 4);  // the first row twice
    EXPECT_EQ(summary.unmatchedRows, 1);
}

}  // namespace
