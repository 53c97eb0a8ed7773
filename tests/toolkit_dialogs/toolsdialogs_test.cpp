#include "platform/beep.h"
#include "toolkit/recordingdialogs.h"
#include "toolkit/tools.h"
#include "widgets/trayicon.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using Kind = RecordingDialogs::Kind;

// Notes how many dialogs had been shown when each beep sounded.
class OrderedBeep : public plat::Beep {
public:
    explicit OrderedBeep(const RecordingDialogs& dialogs) : m_dialogs(dialogs) {}
    void messageBeep(unsigned type) override {
        types.push_back(type);
        dialogsBefore.push_back(m_dialogs.entries().size());
    }
    std::vector<unsigned> types;
    std::vector<size_t> dialogsBefore;

private:
    const RecordingDialogs& m_dialogs;
};

class ToolsDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        tools = std::make_unique<TTools>(ToolsOptions{&dialogs, dir.path() + u'/', QDate()});
    }

    QTemporaryDir dir;
    RecordingDialogs dialogs;
    OrderedBeep beep{dialogs};
    plat::ScopedBeep scopedBeep{&beep};
    std::unique_ptr<TTools> tools;
};

}  // namespace

TEST_F(ToolsDialogs, ShowMsgBeepsBeforeTheDialogOpens) {
    tools->ShowMsg(QStringLiteral("done"));
    EXPECT_EQ(dialogs.texts(Kind::Msg), std::vector<QString>{QStringLiteral("done")});
    EXPECT_EQ(beep.types, std::vector<unsigned>{0});
    EXPECT_EQ(beep.dialogsBefore, std::vector<size_t>{0});
}

TEST_F(ToolsDialogs, QuestionsAnswerWhatTheUserChose) {
    dialogs.scriptAnswers({7, 10, 2});
    EXPECT_EQ(tools->AskYesNo(QStringLiteral("a")), 7);
    EXPECT_EQ(tools->AskYesNoAll(QStringLiteral("b")), 10);
    EXPECT_EQ(tools->ChartOrFr3(), 2);
    EXPECT_EQ(dialogs.texts(Kind::YesNo), std::vector<QString>{QStringLiteral("a")});
    EXPECT_EQ(dialogs.texts(Kind::YesNoAll), std::vector<QString>{QStringLiteral("b")});
    EXPECT_EQ(dialogs.texts(Kind::ChartOrFr3), std::vector<QString>{QStringLiteral("تمايل داريد گزارش نمايش داده شود يا نمودار؟")});
    // Questions do not beep.
    EXPECT_TRUE(beep.types.empty());
}

TEST_F(ToolsDialogs, BoxOperationsGoToTheBoxWindow) {
    tools->ShowBoxMessage(QStringLiteral("s"));
    tools->ShowBigBoxMessage(QStringLiteral("b"));
    tools->ShowBoxMessageColor(QStringLiteral("c"), 0x00ABCDEFu);
    tools->ShowBoxClose();
    const auto& e = dialogs.entries();
    ASSERT_EQ(e.size(), 4u);
    EXPECT_EQ(e[0].kind, Kind::Box);
    EXPECT_EQ(e[0].box, BoxKind::Small);
    EXPECT_EQ(e[0].text, QStringLiteral("s"));
    EXPECT_EQ(e[1].box, BoxKind::Big);
    EXPECT_EQ(e[2].box, BoxKind::Color);
    EXPECT_EQ(e[2].color, 0x00ABCDEFu);
    EXPECT_EQ(e[3].kind, Kind::CloseBox);
}

TEST_F(ToolsDialogs, EnabledTrayIconShowsABalloonInstead) {
    tools->CTrayIEnabled = true;
    tools->ShowBigBoxMessage(QStringLiteral("working"));
    EXPECT_TRUE(dialogs.entries().empty());
    auto* tray = qobject_cast<TrayIcon*>(tools->CTrayI);
    ASSERT_NE(tray, nullptr);
    EXPECT_TRUE(tray->balloonShown());
    EXPECT_EQ(tray->balloonTitle(), QStringLiteral("پيام"));
    EXPECT_EQ(tray->balloonText(), QStringLiteral("working"));
    EXPECT_EQ(tray->balloonIcon(), QSystemTrayIcon::Information);
    EXPECT_EQ(tray->balloonTimeout(), 10000);
    tools->ShowBoxClose();
    EXPECT_FALSE(tray->balloonShown());
    EXPECT_TRUE(dialogs.entries().empty());
}
