#include "platform/shellopen.h"
#include "toolkit/messageboardform.h"
#include "toolkit/recordingdialogs.h"
#include "widgets/bouncingprogressstrip.h"
#include "widgets/flatbutton.h"

#include <QApplication>
#include <QBackingStore>
#include <QImage>
#include <QFile>
#include <QLabel>
#include <QLayout>
#include <QScreen>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QLayout>
#include <gtest/gtest.h>

namespace {

const QString kEmptyList = QStringLiteral("ليست خالي است");
const QString kCounter = QStringLiteral("تعداد سطر : ");

class MessageBoard : public ::testing::Test {
protected:
    void SetUp() override {
        board.setDialogs(&dialogs);
        board.setSaveFileAsker([this](QWidget*, const QString& proposed) -> std::optional<QString> {
            proposedNames.append(proposed);
            return answer;
        });
    }

    TMessageBoardForm board;
    RecordingDialogs dialogs;
    plat::RecordingShellOpen shell;
    plat::ScopedShellOpen scopedShell{&shell};
    QStringList proposedNames;
    std::optional<QString> answer;
};

}  // namespace

TEST_F(MessageBoard, CreatedHiddenAsTheProgramWideBoard) {
    EXPECT_EQ(MessageBoardForm, &board);
    EXPECT_FALSE(board.isVisible());
    // The client area inside a 5-pixel border.
    EXPECT_EQ(board.size(), QSize(547 + 10, 590 + 10));
    EXPECT_EQ(board.layout()->contentsMargins(), QMargins(5, 5, 5, 5));
    EXPECT_TRUE(board.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(board.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(board.layoutDirection(), Qt::RightToLeft);
    EXPECT_EQ(board.font().family(), QStringLiteral("Tahoma"));
    EXPECT_EQ(board.font().pixelSize(), 11);
    EXPECT_EQ(board.MessageList->columnWidth(0), 188);
    EXPECT_EQ(board.MessageList->columnWidth(1), 357);
    EXPECT_EQ(board.MessageList->palette().color(QPalette::Base), QColor(255, 255, 230));
    EXPECT_EQ(board.MessageList->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(board.MessageList->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(board.dxButton2->text(), QStringLiteral("ذخيره گزارش"));
    EXPECT_EQ(board.dxButton1->text(), QStringLiteral("برگشت"));
}

TEST_F(MessageBoard, ButtonsStandAtTheirEndsOfTheBar) {
    board.show();
    QCoreApplication::processEvents();
    // Save at the right end, back at the left end, the counter centred between.
    EXPECT_GT(board.dxButton2->x(), board.Label1->x());
    EXPECT_LT(board.dxButton1->x(), board.Label1->x());
    EXPECT_NEAR(board.Label1->geometry().center().x(), board.dxContainer1->width() / 2, 2);
    EXPECT_EQ(board.Label1->size(), QSize(281, 20));
}

TEST_F(MessageBoard, StartRecordingOpensAnEmptyReport) {
    board.StartRecording(true, QStringLiteral("First"));
    board.PostThisMessage(QStringLiteral("a"), QStringLiteral("1"));
    board.StopRecording();
    ASSERT_EQ(board.rowCount(), 1);

    board.StartRecording(false, QStringLiteral("Second"));
    EXPECT_EQ(board.rowCount(), 0);
    EXPECT_EQ(board.counterText(), QString());
    EXPECT_EQ(board.windowTitle(), QStringLiteral("Second"));
    EXPECT_TRUE(board.isVisible());
    EXPECT_FALSE(board.dxButton1->isEnabled());
    EXPECT_FALSE(board.dxButton2->isEnabled());
    EXPECT_TRUE(board.PBT->isVisible());
    // A left-to-right report turns only the grid round.
    EXPECT_EQ(board.MessageList->layoutDirection(), Qt::LeftToRight);
    EXPECT_EQ(board.layoutDirection(), Qt::RightToLeft);
    // Outer height: the screen's height less 40, from the top edge.
    EXPECT_EQ(board.frameGeometry().height(), board.screen()->geometry().height() - 40);
    EXPECT_EQ(board.frameGeometry().top(), 0);

    board.PostThisMessage(QStringLiteral("Key"), QString(71, u'v'));
    EXPECT_EQ(board.rowCount(), 2);
    EXPECT_EQ(board.rowKey(0), QStringLiteral("Key"));
    EXPECT_EQ(board.rowKey(1), QStringLiteral(" .. "));
    EXPECT_EQ(board.rowValue(1), QStringLiteral("v"));
    EXPECT_EQ(board.counterText(), kCounter + u'2');
    // The grid shows what the board holds.
    EXPECT_EQ(board.MessageList->model()->index(1, 1).data().toString(), QStringLiteral("v"));

    board.StopRecording();
    EXPECT_EQ(board.counterText(), kCounter + u'2');
    EXPECT_TRUE(board.dxButton1->isEnabled());
    EXPECT_TRUE(board.dxButton2->isEnabled());
    EXPECT_FALSE(board.PBT->isVisible());
    EXPECT_TRUE(board.isVisible());
}

TEST_F(MessageBoard, StartRecordingKeepsTheLeftEdge) {
    board.move(37, 200);
    board.StartRecording(true, QStringLiteral("T"));
    EXPECT_EQ(board.frameGeometry().left(), 37);
}

TEST_F(MessageBoard, ProgressStripTicksOncePerRow) {
    board.StartRecording(true, QStringLiteral("T"));
    const int start = board.PBT->position();
    board.PostThisMessage(QStringLiteral("a"), QString(150, u'x'));  // three rows, one tick
    EXPECT_EQ(board.PBT->position(), start + 1);
}

TEST_F(MessageBoard, PostingTurnsTheEventLoopOnce) {
    board.StartRecording(true, QStringLiteral("T"));
    bool fired = false;
    QTimer::singleShot(0, [&] { fired = true; });
    board.PostThisMessage(QStringLiteral("a"), QStringLiteral("1"));
    EXPECT_TRUE(fired);

    // A close handled in the middle of the caller's work; the next row shows the board again.
    QTimer::singleShot(0, [&] { QTest::mouseClick(board.dxButton1, Qt::LeftButton); });
    board.StopRecording();
    board.PostThisMessage(QStringLiteral("b"), QStringLiteral("2"));
    EXPECT_FALSE(board.isVisible());
    board.PostThisMessage(QStringLiteral("c"), QStringLiteral("3"));
    EXPECT_TRUE(board.isVisible());
    EXPECT_EQ(board.rowCount(), 3);
}

TEST_F(MessageBoard, GridCatchesUpWithABurstOfRows) {
    QAbstractItemModel* grid = board.MessageList->model();
    board.StartRecording(true, QStringLiteral("T"));
    for (int i = 0; i < 50; ++i)
        board.PostThisMessage(QString::number(i), QStringLiteral("v"));
    // The board holds every row at once; the grid takes them within a frame or two.
    EXPECT_EQ(board.rowCount(), 50);
    EXPECT_EQ(board.counterText(), kCounter + QStringLiteral("50"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return grid->rowCount() == 50; }, 2000));
    EXPECT_EQ(grid->index(49, 0).data().toString(), QStringLiteral("49"));

    // Ending the report hands the last rows to the grid at once.
    board.StartRecording(true, QStringLiteral("T"));
    for (int i = 0; i < 20; ++i)
        board.PostThisMessage(QString::number(i), QStringLiteral("v"));
    board.StopRecording();
    EXPECT_EQ(grid->rowCount(), 20);
}

namespace {

// What the counter and the strip held each time they were painted.
class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(TMessageBoardForm& board) : m_board(board) {
        board.Label1->installEventFilter(this);
        board.PBT->installEventFilter(this);
    }
    QString counter;
    int position = -1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched == m_board.Label1)
            counter = m_board.Label1->text();
        if (event->type() == QEvent::Paint && watched == m_board.PBT)
            position = m_board.PBT->position();
        return false;
    }

private:
    TMessageBoardForm& m_board;
};

}  // namespace

TEST_F(MessageBoard, BurstOfRowsEndsPaintedInOrder) {
    // Between frames the counter and the strip are not painted; whichever way a burst
    // ends, the screen shows every row in order and the last count and position.
    struct Case {
        const char* name;
        bool report;  // inside StartRecording .. StopRecording, or rows posted to a shown board
    } cases[] = {{"a report", true}, {"rows without a report", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TMessageBoardForm fresh;
        PaintRecorder painted(fresh);
        if (c.report)
            fresh.StartRecording(true, QStringLiteral("T"));
        else
            fresh.show();
        for (int i = 0; i < 30; ++i)
            fresh.PostThisMessage(QString::number(i), QStringLiteral("v%1").arg(i));
        if (c.report)
            fresh.StopRecording();
        const bool stripShown = fresh.PBT->isVisible();
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                return painted.counter == kCounter + QStringLiteral("30") &&
                       (!stripShown || painted.position == fresh.PBT->position());
            },
            2000))
            << painted.counter.toStdString() << " at " << painted.position;
        QAbstractItemModel* grid = fresh.MessageList->model();
        ASSERT_EQ(grid->rowCount(), 30);
        for (int i = 0; i < 30; ++i) {
            EXPECT_EQ(grid->index(i, 0).data().toString(), QString::number(i));
            EXPECT_EQ(grid->index(i, 1).data().toString(), QStringLiteral("v%1").arg(i));
        }
    }
}

namespace {

// The grid as the window shows it, against the grid painted afresh.
bool gridOnScreenIsCurrent(TMessageBoardForm& board) {
    QWidget* viewport = board.MessageList->viewport();
    const auto* screen = dynamic_cast<const QImage*>(board.backingStore()->paintDevice());
    if (!screen)
        return false;
    const QRect area(viewport->mapTo(&board, QPoint(0, 0)), viewport->size());
    const QImage shown = screen->copy(area).convertToFormat(QImage::Format_RGB32);
    return shown == viewport->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

}  // namespace

TEST_F(MessageBoard, AppendedRowsReachTheScreen) {
    // Only the new rows are repainted after appends; the window must still show what a
    // full repaint would, whether the rows land inside the visible part or below it.
    board.StartRecording(true, QStringLiteral("T"));
    int posted = 0;
    for (int burst : {3, 4, 60, 5}) {
        SCOPED_TRACE(burst);
        for (int i = 0; i < burst; ++i, ++posted)
            board.PostThisMessage(QString::number(posted), QStringLiteral("پ%1").arg(posted));
        EXPECT_TRUE(QTest::qWaitFor([&] { return board.MessageList->model()->rowCount() == posted; }, 2000));
        EXPECT_TRUE(QTest::qWaitFor([&] { return gridOnScreenIsCurrent(board); }, 2000));
    }
    board.StopRecording();
    EXPECT_TRUE(QTest::qWaitFor([&] { return gridOnScreenIsCurrent(board); }, 2000));
}

TEST_F(MessageBoard, PostingToAHiddenBoardLeavesButtonsAndStripAlone) {
    board.StartRecording(true, QStringLiteral("T"));
    board.close();
    ASSERT_FALSE(board.isVisible());
    board.PostThisMessage(QStringLiteral("a"), QStringLiteral("1"));
    EXPECT_TRUE(board.isVisible());
    EXPECT_FALSE(board.dxButton1->isEnabled());
    EXPECT_TRUE(board.PBT->isVisible());
}

TEST_F(MessageBoard, EnterAndEscapeCloseTheBoardEvenWhileRecording) {
    struct Case {
        const char* name;
        std::function<void()> press;
    } cases[] = {
        {"Enter on the grid", [&] { QTest::keyClick(board.MessageList, Qt::Key_Return); }},
        {"keypad Enter on the board", [&] { QTest::keyClick(&board, Qt::Key_Enter); }},
        {"Escape on the grid", [&] { QTest::keyClick(board.MessageList, Qt::Key_Escape); }},
        {"Escape on the board", [&] { QTest::keyClick(&board, Qt::Key_Escape); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        board.StartRecording(true, QStringLiteral("T"));
        board.PostThisMessage(QStringLiteral("a"), QStringLiteral("1"));
        ASSERT_FALSE(board.dxButton1->isEnabled());
        c.press();
        EXPECT_FALSE(board.isVisible());
        // Hiding keeps the rows.
        EXPECT_EQ(board.rowCount(), 1);
    }
}

TEST_F(MessageBoard, EnterOnTheSaveButtonClosesInsteadOfSaving) {
    board.StartRecording(true, QStringLiteral("T"));
    board.PostThisMessage(QStringLiteral("a"), QStringLiteral("1"));
    board.StopRecording();
    answer = QStringLiteral("unused");
    QTest::keyClick(board.dxButton2, Qt::Key_Return);
    EXPECT_FALSE(board.isVisible());
    EXPECT_TRUE(proposedNames.isEmpty());
}

TEST_F(MessageBoard, ClosingRestoresTheGridColour) {
    board.StartRecording(true, QStringLiteral("T"));
    QPalette pal = board.MessageList->palette();
    pal.setColor(QPalette::Base, Qt::red);
    board.MessageList->setPalette(pal);
    board.StopRecording();
    QTest::mouseClick(board.dxButton1, Qt::LeftButton);
    EXPECT_FALSE(board.isVisible());
    EXPECT_EQ(board.MessageList->palette().color(QPalette::Base), QColor(255, 255, 230));
}

TEST_F(MessageBoard, SavingWritesAnsiLinesAndOpensTheFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    board.StartRecording(true, QStringLiteral("Report"));
    board.PostThisMessage(QStringLiteral("Date"), QStringLiteral("1390/09/17"));
    board.PostThisMessage(QStringLiteral("\u0643\u064A"), QStringLiteral("\u067E1"));
    board.StopRecording();
    answer = dir.filePath(QStringLiteral("a.Txt"));
    QTest::mouseClick(board.dxButton2, Qt::LeftButton);

    EXPECT_EQ(proposedNames, QStringList{QStringLiteral("Report Date13900917")});
    const QString written = dir.filePath(QStringLiteral("a.Txt.Txt"));
    QFile file(written);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    // Windows-1256, CR LF, no byte-order mark: kaf DF, yeh ED, peh 81.
    EXPECT_EQ(file.readAll(), QByteArray("Date=1390/09/17\r\n\xDF\xED=\x81"
                                         "1\r\n"));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("a.Txt"))));
    EXPECT_EQ(shell.opened(), QStringList{written});
}

TEST_F(MessageBoard, SavingReplacesAnExistingFile) {
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("r.Txt"));
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an older and longer report\r\n");
    old.close();
    board.PostThisMessage(QStringLiteral("k"), QStringLiteral("v"));
    answer = dir.filePath(QStringLiteral("r"));
    board.dxButton2Click();
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("k=v\r\n"));
}

TEST_F(MessageBoard, EmptyListOrCancelledSaveWritesNothing) {
    board.StartRecording(true, QStringLiteral("T"));
    board.StopRecording();
    answer = QStringLiteral("never");
    QTest::mouseClick(board.dxButton2, Qt::LeftButton);
    EXPECT_EQ(dialogs.texts(RecordingDialogs::Kind::Plain), std::vector<QString>{kEmptyList});
    EXPECT_TRUE(proposedNames.isEmpty());

    dialogs.clear();
    board.PostThisMessage(QStringLiteral("k"), QStringLiteral("v"));
    answer.reset();
    board.dxButton2Click();
    EXPECT_EQ(proposedNames.size(), 1);
    EXPECT_TRUE(dialogs.entries().empty());
    EXPECT_TRUE(shell.opened().isEmpty());
}

TEST_F(MessageBoard, UnwritableFileReportsTheErrorAndKeepsTheRows) {
    QTemporaryDir dir;
    board.PostThisMessage(QStringLiteral("k"), QStringLiteral("v"));
    answer = dir.filePath(QStringLiteral("no such folder/a"));
    board.dxButton2Click();
    const std::vector<QString> shown = dialogs.texts(RecordingDialogs::Kind::Plain);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].contains(QStringLiteral("a.Txt"))) << shown[0].toStdString();
    EXPECT_TRUE(shell.opened().isEmpty());
    EXPECT_EQ(board.rowCount(), 1);
}
