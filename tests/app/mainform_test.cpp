// The main window as the user sees it and uses it, under the offscreen platform.
#include "app/filechooser.h"
#include "app/mainform.h"
#include "platform/appexit.h"
#include "settle.h"
#include "widgets/flatbutton.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::AppExit::instance().reset();
        makeForm();
    }
    void makeForm() {
        form.reset();
        auto chooser = std::make_unique<ScriptedFileChooser>();
        dialog = chooser.get();
        form = std::make_unique<TMainForm>(std::move(chooser));
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    void TearDown() override {
        form.reset();
        settleEndRequest();
    }
    QLabel* label(const char* name) { return form->findChild<QLabel*>(name); }
    // Chooses a file through the "..." button.
    void choose(std::optional<QString> answer) {
        dialog->scriptAnswer(std::move(answer));
        QTest::mouseClick(form->Button1, Qt::LeftButton);
    }
    void expectShown(const QString& edit, const QString& dir, const QString& name) {
        EXPECT_EQ(form->Edit1->text(), edit);
        EXPECT_EQ(form->Label5->text(), dir);
        EXPECT_EQ(form->Label6->text(), name);
    }

    ScriptedFileChooser* dialog = nullptr;
    std::unique_ptr<TMainForm> form;
};

struct ControlRow {
    const char* name;
    QRect geometry;
    const char* text;
    const char* family;
    int pixelSize;
    bool bold;
    Qt::LayoutDirection direction;
};

const ControlRow kControls[] = {
    {"Label1", {236, 0, 130, 15}, "شركت ورنيكان", "Times New Roman", 13, true, Qt::RightToLeft},
    {"Label7", {168, 19, 244, 15}, "نرم افزار انتقال اطلاعات BV مركز اصلاح نژاد(7.1.09)", "Times New Roman", 13, true, Qt::RightToLeft},
    {"Label3", {8, 43, 577, 13}, "براي استفاده از اين سيستم بايد فايل ارزيابي هاي مركز اصلاح نژاد را بصورت Text(متني) از اين مركز دريافت و در برنامه وارد كنيد", "Tahoma", 11, false, Qt::RightToLeft},
    {"Label4", {282, 62, 303, 13}, "توصيه ميشود هنگام استفاده از اين نرم افزار برنامه اصلي را ببنديد.", "Tahoma", 11, false, Qt::RightToLeft},
    {"Label2", {510, 90, 83, 13}, "انتخاب فايل ورودي", "Tahoma", 11, false, Qt::RightToLeft},
    {"Edit1", {47, 87, 457, 21}, "", "Tahoma", 11, false, Qt::RightToLeft},
    {"Button1", {0, 85, 41, 25}, "...", "Tahoma", 11, false, Qt::RightToLeft},
    {"Label6", {47, 114, 38, 13}, "PathFile", "Tahoma", 11, false, Qt::LeftToRight},
    {"Label5", {47, 128, 59, 13}, "FileNameTxt", "Tahoma", 11, false, Qt::LeftToRight},
    {"dxButton1", {472, 120, 113, 21}, "شروع عمليات", "Tahoma", 11, false, Qt::RightToLeft},
    {"dxButton2", {353, 120, 113, 21}, "برگشت", "Tahoma", 11, false, Qt::RightToLeft},
};

QString shownText(QWidget* w) {
    if (auto* l = qobject_cast<QLabel*>(w))
        return l->text();
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->text();
    if (auto* b = qobject_cast<QPushButton*>(w))
        return b->text();
    return QStringLiteral("<no text>");
}

TEST_F(MainFormTest, EveryControlAsLaidOut) {
    for (const ControlRow& row : kControls) {
        SCOPED_TRACE(row.name);
        auto* w = form->ClientArea->findChild<QWidget*>(row.name);
        ASSERT_NE(w, nullptr);
        if (auto* label = qobject_cast<QLabel*>(w)) {
            // Laid out, or wider where the face found needs more room, growing from the
            // edge the reading starts at.
            const QRect g = label->geometry();
            EXPECT_EQ(g.top(), row.geometry.top());
            EXPECT_EQ(g.height(), row.geometry.height());
            if (row.direction == Qt::RightToLeft)
                EXPECT_EQ(g.right(), row.geometry.right());
            else
                EXPECT_EQ(g.left(), row.geometry.left());
            EXPECT_EQ(g.width(), std::max(row.geometry.width(), label->sizeHint().width()));
        } else {
            EXPECT_EQ(w->geometry(), row.geometry);
        }
        EXPECT_EQ(shownText(w), QString::fromUtf8(row.text));
        EXPECT_EQ(w->font().family(), row.family);  // the face asked for, not the one found
        EXPECT_EQ(w->font().pixelSize(), row.pixelSize);
        EXPECT_EQ(w->font().bold(), row.bold);
        EXPECT_EQ(w->layoutDirection(), row.direction);
        EXPECT_TRUE(w->isVisible());
    }
    EXPECT_NE(qobject_cast<FlatButton*>(form->dxButton1), nullptr);
    EXPECT_NE(qobject_cast<FlatButton*>(form->dxButton2), nullptr);
    EXPECT_EQ(label("Label1")->palette().color(QPalette::WindowText), QColor(Qt::black));
}

TEST_F(MainFormTest, WindowFrameColourAndPlace) {
    EXPECT_EQ(form->ClientArea->geometry(), QRect(5, 5, 593, 141));
    EXPECT_EQ(form->size(), QSize(603, 151));
    EXPECT_EQ(form->minimumSize(), form->maximumSize());  // fixed border
    // No title text: nothing visible, and not empty, which would show the program's name.
    ASSERT_FALSE(form->windowTitle().isEmpty());
    for (QChar c : form->windowTitle())
        EXPECT_FALSE(c.isPrint() && !c.isSpace()) << int(c.unicode());
    const Qt::WindowFlags flags = form->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
    EXPECT_FALSE(flags & (Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                          Qt::WindowSystemMenuHint));
    EXPECT_EQ(form->layoutDirection(), Qt::RightToLeft);
    EXPECT_EQ(form->font().family(), "Tahoma");
    EXPECT_EQ(form->font().pixelSize(), 11);
    EXPECT_EQ(form->palette().color(QPalette::Window), QColor(221, 221, 255));
    EXPECT_EQ(form->grab().toImage().pixelColor(2, 2), QColor(221, 221, 255));
    const QPoint centre = form->screen()->availableGeometry().center();
    EXPECT_LE((form->frameGeometry().center() - centre).manhattanLength(), 1);
}

TEST_F(MainFormTest, TabOrderRunsEditButtonStartBack) {
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->Edit1->setFocus();
    const QWidget* expected[] = {form->Button1, form->dxButton1, form->dxButton2, form->Edit1};
    for (const QWidget* next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next);
    }
}

// Typing edits the box, which reverts at once to the last chosen file.
TEST_F(MainFormTest, EditBoxAndLabelsShowTheLastChosenFile) {
    const QString bv = QStringLiteral("/data/centre/bv1402.txt");
    const struct {
        const char* name;
        std::vector<std::optional<QString>> choices;
        bool typing;
        QString edit, dir, file;
    } cases[] = {
        {"chosen", {bv}, false, bv, "/data/centre/", "bv1402.txt"},
        {"cancel keeps the earlier file", {bv, std::nullopt}, false, bv, "/data/centre/", "bv1402.txt"},
        {"cancel before any choice", {std::nullopt}, false, "", "FileNameTxt", "PathFile"},
        {"file in the root folder", {"/bv.txt"}, false, "/bv.txt", "/", "bv.txt"},
        {"typing after a choice", {bv}, true, bv, "/data/centre/", "bv1402.txt"},
        {"typing before any choice", {}, true, "", "FileNameTxt", "PathFile"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        makeForm();
        for (const std::optional<QString>& answer : c.choices)
            choose(answer);
        if (c.typing) {
            form->Edit1->setFocus();
            QTest::keyClicks(form->Edit1, "abc");
            QTest::keyClick(form->Edit1, Qt::Key_Backspace);
            QTest::keyClick(form->Edit1, Qt::Key_Home);
            QTest::keyClick(form->Edit1, Qt::Key_Delete);
        }
        expectShown(c.edit, c.dir, c.file);
        EXPECT_EQ(dialog->executions(), int(c.choices.size()));
    }
    // The labels size themselves to their texts, from their left edges.
    choose(bv);
    EXPECT_EQ(form->Label5->x(), 47);
    EXPECT_GE(form->Label5->width(), form->Label5->fontMetrics().horizontalAdvance("/data/centre/"));
}

}  // namespace
