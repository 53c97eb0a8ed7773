#include "platform/formatsettings.h"
#include "platform/keyboardlayouts.h"
#include "toolkit/messageboardform.h"
#include "toolkit/recordingdialogs.h"
#include "toolkit/tools.h"

#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class BoardInTools : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        plat::setKeyboardLayouts(&layouts);
        tools = std::make_unique<TTools>(ToolsOptions{&dialogs, dir.path() + u'/', QDate()});
    }
    void TearDown() override {
        tools.reset();
        plat::setKeyboardLayouts(nullptr);
        plat::formatSettings() = plat::FormatSettings();
    }

    QTemporaryDir dir;
    RecordingDialogs dialogs;
    plat::RecordingKeyboardLayouts layouts;
    std::unique_ptr<TTools> tools;
};

}  // namespace

TEST_F(BoardInTools, ToolkitCreatesTheBoardHiddenAndReleasesIt) {
    QPointer<TMessageBoardForm> board = MessageBoardForm;
    ASSERT_FALSE(board.isNull());
    EXPECT_FALSE(board->isVisible());
    tools.reset();
    EXPECT_TRUE(board.isNull());
    EXPECT_EQ(MessageBoardForm, nullptr);
}

TEST_F(BoardInTools, ShowingTheBoardReappliesTheWorkingEnvironment) {
    plat::formatSettings().decimalSeparator = u',';
    plat::formatSettings().shortDateFormat = QStringLiteral("yyyy-mm-dd");
    layouts.load(QStringLiteral("00000409"), plat::KLF_ACTIVATE);
    MessageBoardForm->StartRecording(true, QStringLiteral("T"));
    EXPECT_EQ(plat::formatSettings().decimalSeparator, u'.');
    EXPECT_EQ(plat::formatSettings().shortDateFormat, QStringLiteral("dd/mm/yyyy"));
    EXPECT_TRUE(layouts.active().endsWith(QStringLiteral("0429"))) << layouts.active().toStdString();

    // Shown again after the user closed it: again.
    QTest::keyClick(MessageBoardForm, Qt::Key_Escape);
    ASSERT_FALSE(MessageBoardForm->isVisible());
    plat::formatSettings().decimalSeparator = u',';
    MessageBoardForm->PostThisMessage(QStringLiteral("k"), QStringLiteral("v"));
    EXPECT_EQ(plat::formatSettings().decimalSeparator, u'.');
}

TEST_F(BoardInTools, BoardTalksThroughTheToolkitsDialogs) {
    MessageBoardForm->StartRecording(true, QStringLiteral("T"));
    MessageBoardForm->StopRecording();
    MessageBoardForm->dxButton2Click();
    EXPECT_EQ(dialogs.texts(RecordingDialogs::Kind::Plain), std::vector<QString>{QStringLiteral("ليست خالي است")});
}
