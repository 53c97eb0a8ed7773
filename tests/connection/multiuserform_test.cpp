#include "tests/connection/qstringprint.h"
#include "connection/multiuserform.h"
#include "platform/appexit.h"
#include "tests/connection/endrequest.h"
#include "toolkit/userdialogs.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

class MultiUserFormTest : public ::testing::Test {
protected:
    void SetUp() override { clearEndRequest(); }
    void TearDown() override { clearEndRequest(); }

    // Runs the window modally; steps act on it once it is shown. A final close makes
    // sure no test hangs when a step leaves it open.
    int runModal(TMultiUserForm& form, std::function<void(TMultiUserForm&)> steps) {
        QTimer::singleShot(0, &form, [&form, steps] {
            steps(form);
            QTimer::singleShot(50, &form, [&form] {
                if (form.isVisible()) {
                    stillOpenAfterSteps = true;
                    form.close();
                }
            });
        });
        stillOpenAfterSteps = false;
        return form.exec();
    }
    static inline bool stillOpenAfterSteps = false;
};

TEST_F(MultiUserFormTest, LaidOutAsSpecifiedRightToLeft) {
    TMultiUserForm form;
    EXPECT_EQ(form.size(), QSize(549, 417));
    EXPECT_EQ(form.layoutDirection(), Qt::RightToLeft);
    EXPECT_EQ(form.font().family(), QStringLiteral("Tahoma"));
    EXPECT_EQ(form.font().pixelSize(), 11);
    EXPECT_FALSE(form.windowFlags() & Qt::WindowCloseButtonHint);

    EXPECT_EQ(form.StaticText1->text(), QStringLiteral("انتخاب مشتري جهت ورود ...."));
    EXPECT_EQ(form.StaticText1->geometry(), QRect(0, 0, 549, 17));
    EXPECT_EQ(form.StaticText1->palette().color(QPalette::Window), QColor(255, 255, 217));

    EXPECT_EQ(form.dxContainer1->geometry(), QRect(549 - 66, 17, 66, 400));
    EXPECT_EQ(form.RadioGroup1->geometry(), QRect(0, 17, 549 - 66, 400));
    EXPECT_EQ(form.dxButton1->text(), QStringLiteral("ورود"));
    EXPECT_EQ(form.dxButton1->size(), QSize(64, 32));
    EXPECT_EQ(form.dxButton1->y(), 1);
    EXPECT_TRUE(form.dxButton1->isDefault());
    ASSERT_FALSE(form.Image1->pixmap().isNull());
    EXPECT_GT(form.Image1->y(), form.dxButton1->geometry().bottom());
    EXPECT_EQ(form.Image1->geometry().center().x(), 66 / 2 - 1);
}

TEST_F(MultiUserFormTest, EntriesRunInThreeColumns) {
    TMultiUserForm form;
    for (int i = 0; i < 60; ++i)
        form.RadioGroup1->addItem(QStringLiteral("مشتري %1").arg(i));
    form.show();
    QApplication::processEvents();
    QSet<int> columns;
    for (int i = 0; i < form.RadioGroup1->count(); ++i) {
        const QRect rect = form.RadioGroup1->visualItemRect(form.RadioGroup1->item(i));
        if (form.RadioGroup1->viewport()->rect().contains(rect.center()))
            columns.insert(rect.x());
    }
    EXPECT_EQ(columns.size(), 3);

    // Down the first column first.
    EXPECT_EQ(form.RadioGroup1->visualItemRect(form.RadioGroup1->item(0)).x(),
              form.RadioGroup1->visualItemRect(form.RadioGroup1->item(1)).x());
}

TEST_F(MultiUserFormTest, EnterWithNothingSelectedLeavesWindowOpen) {
    TMultiUserForm form;
    form.RadioGroup1->addItems({"A", "B"});
    const int result = runModal(form, [](TMultiUserForm& f) {
        f.RadioGroup1->setFocus();
        QTest::keyClick(f.RadioGroup1, Qt::Key_Return);
        QTest::mouseClick(f.dxButton1, Qt::LeftButton);
    });
    EXPECT_TRUE(stillOpenAfterSteps);
    EXPECT_EQ(result, mrCancel);
    EXPECT_EQ(form.selectedText(), QString());
}

TEST_F(MultiUserFormTest, ConfirmingSelectedEntry) {
    struct Case {
        const char* name;
        std::function<void(TMultiUserForm&)> confirm;
    };
    const Case cases[] = {
        {"enter key",
         [](TMultiUserForm& f) {
             f.RadioGroup1->setFocus();
             QTest::keyClick(f.RadioGroup1, Qt::Key_Down);
             QTest::keyClick(f.RadioGroup1, Qt::Key_Down);
             QTest::keyClick(f.RadioGroup1, Qt::Key_Return);
         }},
        {"enter button",
         [](TMultiUserForm& f) {
             f.RadioGroup1->setCurrentRow(1);
             QTest::mouseClick(f.dxButton1, Qt::LeftButton);
         }},
        {"double click",
         [](TMultiUserForm& f) {
             const QRect rect = f.RadioGroup1->visualItemRect(f.RadioGroup1->item(1));
             QTest::mouseClick(f.RadioGroup1->viewport(), Qt::LeftButton, {}, rect.center());
             QTest::mouseDClick(f.RadioGroup1->viewport(), Qt::LeftButton, {}, rect.center());
         }},
    };
    for (const Case& c : cases) {
        TMultiUserForm form;
        form.RadioGroup1->addItems({QStringLiteral("آ"), QStringLiteral("ب ' ب"), QStringLiteral("پ")});
        EXPECT_EQ(runModal(form, c.confirm), mrOk) << c.name;
        EXPECT_FALSE(stillOpenAfterSteps) << c.name;
        EXPECT_EQ(form.selectedText(), QStringLiteral("ب ' ب")) << c.name;
    }
}

TEST_F(MultiUserFormTest, EscapeDoesNothingAndClosingCancels) {
    TMultiUserForm form;
    form.RadioGroup1->addItems({"A"});
    form.RadioGroup1->setCurrentRow(0);
    bool openAfterEscape = false;
    const int result = runModal(form, [&openAfterEscape](TMultiUserForm& f) {
        QTest::keyClick(&f, Qt::Key_Escape);
        openAfterEscape = f.isVisible();
        f.close();
    });
    EXPECT_TRUE(openAfterEscape);
    EXPECT_EQ(result, mrCancel);
}

TEST_F(MultiUserFormTest, EndOfProgramClosesWithCancel) {
    TMultiUserForm form;
    form.RadioGroup1->addItems({"A"});
    form.RadioGroup1->setCurrentRow(0);
    EXPECT_EQ(runModal(form, [](TMultiUserForm&) { plat::requestEnd(true); }), mrCancel);
    EXPECT_FALSE(stillOpenAfterSteps);
    // Requested before it opens: it does not open at all.
    EXPECT_EQ(form.exec(), mrCancel);
}

}  // namespace
