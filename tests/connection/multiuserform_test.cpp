#include "tests/fixtures/qstringprint.h"
#include "connection/multiuserform.h"
#include "platform/appexit.h"
#include "tests/fixtures/endrequest.h"
#include "toolkit/userdialogs.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <map>
#include <vector>
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
    // The client area inside a 5-pixel border.
    EXPECT_EQ(form.size(), QSize(549 + 10, 417 + 10));
    EXPECT_EQ(form.ClientArea->geometry(), QRect(5, 5, 549, 417));
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

// The columns of the list: for each distinct left edge, the entries there, top to bottom.
std::map<int, std::vector<int>> columnsOf(QListWidget* list) {
    std::map<int, std::vector<std::pair<int, int>>> byX;
    for (int i = 0; i < list->count(); ++i) {
        const QRect rect = list->visualItemRect(list->item(i));
        EXPECT_TRUE(list->viewport()->rect().contains(rect)) << "entry " << i << " outside the list";
        byX[rect.x()].push_back({rect.y(), i});
    }
    std::map<int, std::vector<int>> columns;
    for (auto& [x, entries] : byX) {
        std::sort(entries.begin(), entries.end());
        for (const auto& [y, i] : entries)
            columns[x].push_back(i);
    }
    return columns;
}

TEST_F(MultiUserFormTest, EntriesFillThreeColumnsEvenlyTopToBottom) {
    for (int count : {1, 3, 11, 36}) {
        SCOPED_TRACE(count);
        TMultiUserForm form;
        // Filled after creation, as connection discovery does.
        for (int i = 0; i < count; ++i)
            form.RadioGroup1->addItem(QStringLiteral("مشتري %1").arg(i));
        form.show();
        QApplication::processEvents();
        const int perColumn = (count + 2) / 3;
        const std::map<int, std::vector<int>> columns = columnsOf(form.RadioGroup1);
        ASSERT_EQ(columns.size(), static_cast<size_t>((count + perColumn - 1) / perColumn));
        // Right to left: the first column is the rightmost; each holds the next
        // perColumn entries in order.
        int next = 0;
        for (auto column = columns.rbegin(); column != columns.rend(); ++column) {
            for (int entry : column->second)
                EXPECT_EQ(entry, next++);
            if (next < count)
                EXPECT_EQ(column->second.size(), static_cast<size_t>(perColumn));
        }
        // Three columns share the list's width.
        if (columns.size() > 1)
            EXPECT_NEAR(std::next(columns.begin())->first - columns.begin()->first, form.RadioGroup1->width() / 3, 1);
        form.close();
    }
}

TEST_F(MultiUserFormTest, DownArrowAndEnterChooseTheEntryUnderTheFocus) {
    TMultiUserForm form;
    form.RadioGroup1->addItems({QStringLiteral("آ"), QStringLiteral("ب"), QStringLiteral("پ")});
    QString current;
    const int result = runModal(form, [&current](TMultiUserForm& f) {
        // No click first: the keys go where the window put the focus.
        QWidget* focus = f.focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, Qt::Key_Down);
        current = f.RadioGroup1->currentItem() ? f.RadioGroup1->currentItem()->text() : QString();
        QTest::keyClick(f.focusWidget(), Qt::Key_Return);
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_FALSE(current.isEmpty());
    EXPECT_EQ(form.selectedText(), current);
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
             // The focus starts on the first entry; Down moves it to the second.
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
