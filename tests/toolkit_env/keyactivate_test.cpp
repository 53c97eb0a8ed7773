// The key handlers that other forms attach: Enter and the arrows move the focus in tab
// order, Escape closes the form.
#include "tests/fixtures/toolsfixture.h"

#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

namespace {

class KeyActivateTest : public ToolsFixture {
protected:
    void SetUp() override {
        ToolsFixture::SetUp();
        create();
        form.setLayoutDirection(Qt::RightToLeft);
        for (int i = 0; i < 3; ++i) {
            edits[i] = new QLineEdit(&form);
            edits[i]->setGeometry(10, 10 + 30 * i, 100, 20);
        }
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        form.activateWindow();
        edits[0]->setFocus();
    }
    QDialog form;
    QLineEdit* edits[3] = {};
};

struct KeyStep {
    int key;
    int focusAfter;  // index into edits
};

TEST_F(KeyActivateTest, EnterAndLeftArrowGoForwardRightArrowBack) {
    const KeyStep steps[] = {
        {13, 1},
        {37, 2},
        {39, 1},
        {39, 0},
        {Qt::Key_Return, 1},
        {Qt::Key_Left, 2},
        {Qt::Key_Right, 1},
    };
    for (const KeyStep& step : steps) {
        int key = step.key;
        tools->SetKeyActivateConfig(&form, key, Qt::NoModifier);
        EXPECT_EQ(key, 0) << step.key;
        EXPECT_EQ(form.focusWidget(), edits[step.focusAfter]) << step.key;
        EXPECT_TRUE(form.isVisible()) << "Enter and arrows never close the form";
    }
}

TEST_F(KeyActivateTest, KeysTheHandlerDoesNotTakePassThrough) {
    using Handler = void (TTools::*)(QWidget*, int&, Qt::KeyboardModifiers);
    const std::pair<Handler, std::vector<int>> cases[] = {
        {&TTools::SetKeyActivateConfig, {65, 9, 38, 40}},
        {&TTools::SetKeyActivateJustClose, {13, 37, 39}},  // closes only
    };
    for (const auto& [handler, keys] : cases) {
        for (int key0 : keys) {
            int key = key0;
            (tools.get()->*handler)(&form, key, Qt::NoModifier);
            EXPECT_EQ(key, key0);
            EXPECT_EQ(form.focusWidget(), edits[0]) << key0;
            EXPECT_TRUE(form.isVisible()) << key0;
        }
    }
    int key = 27;
    tools->SetKeyActivateJustClose(&form, key, Qt::NoModifier);
    EXPECT_FALSE(form.isVisible());
}

TEST_F(KeyActivateTest, EscapeEndsAModalFormWithCancelWhateverHasTheFocus) {
    form.hide();
    QTimer::singleShot(0, this->tools.get(), [this] {
        edits[2]->setFocus();
        int key = 27;
        tools->SetKeyActivateConfig(&form, key, Qt::NoModifier);
    });
    EXPECT_EQ(form.exec(), QDialog::Rejected);
    EXPECT_FALSE(form.isVisible());
}

TEST_F(KeyActivateTest, EscapeClosesAPlainWindow) {
    QWidget window;
    window.show();
    int key = Qt::Key_Escape;
    tools->SetKeyActivateConfig(&window, key, Qt::NoModifier);
    EXPECT_FALSE(window.isVisible());
}

}  // namespace
