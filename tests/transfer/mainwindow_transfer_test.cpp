// The transfer end to end through the real main window: the file is chosen through the
// dialog seam, the start button pressed, the message read, and BV checked row by row.
#include "app/datamodule.h"
#include "app/filechooser.h"
#include "app/mainform.h"
#include "tests/transfer/farmfixture.h"
#include "toolkit/tools.h"
#include "widgets/flatbutton.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

namespace {

using namespace farmtest;
using Kind = RecordingDialogs::Kind;

class MainWindowTransfer : public FarmFixture {
public:
    void start() {
        auto chooser = std::make_unique<ScriptedFileChooser>();
        fileChooser = chooser.get();
        form = std::make_unique<TMainForm>(std::move(chooser));
        startToolkit();
        ASSERT_FALSE(plat::endRequested());
        form->show();
    }
    void TearDown() override {
        dm.reset();
        tools.reset();
        form.reset();
        FarmFixture::TearDown();
    }

    void choose(const QString& path) {
        fileChooser->scriptAnswer(path);
        QTest::mouseClick(form->Button1, Qt::LeftButton);
    }
    // Presses the start button; answers the message it showed.
    QString pressStart() {
        dialogs.clear();
        QTest::mouseClick(form->dxButton1, Qt::LeftButton);
        const auto messages = dialogs.texts(Kind::Msg);
        EXPECT_EQ(messages.size(), 1u);
        return messages.empty() ? QString() : messages.back();
    }

    ScriptedFileChooser* fileChooser = nullptr;
    std::unique_ptr<TMainForm> form;
};

TEST_F(MainWindowTransfer, TransfersChosenFileRowByRow) {
    const QString path = writeFile(QStringLiteral("bv1403.txt"), crlf(standardLines()));
    start();
    EXPECT_EQ(tools->FarsiToday(), kToday);
    choose(path);
    EXPECT_EQ(form->Label5->text(), filesDir);
    EXPECT_EQ(form->Label6->text(), QStringLiteral("bv1403.txt"));

    EXPECT_EQ(pressStart(), transfer::kFinished);
    EXPECT_EQ(bvRows(), standardBv());

    // A second transfer adds the same rows again.
    EXPECT_EQ(pressStart(), transfer::kFinished);
    QStringList twice = standardBv() + standardBv();
    twice.sort();
    QStringList rows = bvRows();
    rows.sort();
    EXPECT_EQ(rows, twice);
}

TEST_F(MainWindowTransfer, FileWithoutMatchingCowFinishesAndAddsNothing) {
    const QString path =
        writeFile(QStringLiteral("none.txt"), crlf({kHeader.join(','), line("h9999999999", 0), line("8888", 1)}));
    start();
    choose(path);
    EXPECT_EQ(pressStart(), transfer::kFinished);
    EXPECT_TRUE(bvRows().isEmpty());
}

TEST_F(MainWindowTransfer, StartingBeforeChoosingFails) {
    start();
    EXPECT_EQ(form->Label5->text(), QStringLiteral("FileNameTxt"));
    EXPECT_EQ(form->Label6->text(), QStringLiteral("PathFile"));
    EXPECT_EQ(pressStart(), transfer::kFillFailed);
    EXPECT_TRUE(bvRows().isEmpty());
}

}  // namespace
