#include "app/appearance.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <gtest/gtest.h>
#include <memory>

namespace {

// True when the text holds a letter of the Arabic script (Persian among them).
bool hasArabicLetter(const QString& text) {
    for (QChar c : text)
        if (c.script() == QChar::Script_Arabic && c.isLetter())
            return true;
    return false;
}

class Appearance : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(installQtPersianTranslation()) << "Qt's Persian translation (qt6-translations-l10n) is missing";
        applyPersianAppearance();
    }
};

TEST_F(Appearance, OpenFileDialogReadsPersianRightToLeft) {
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    EXPECT_EQ(dialog.layoutDirection(), Qt::RightToLeft);
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    const QList<QAbstractButton*> all = buttons->buttons();
    ASSERT_FALSE(all.isEmpty());
    for (QAbstractButton* button : all)
        EXPECT_TRUE(hasArabicLetter(button->text())) << button->text().toStdString();
    // "Look in", "File name", "Files of type".
    for (const char* name : {"lookInLabel", "fileNameLabel", "fileTypeLabel"}) {
        auto* label = dialog.findChild<QLabel*>(QLatin1String(name));
        ASSERT_NE(label, nullptr) << name;
        EXPECT_TRUE(hasArabicLetter(label->text())) << name << ": " << label->text().toStdString();
    }
}

TEST_F(Appearance, EditBoxContextMenuReadsPersian) {
    QLineEdit edit(QStringLiteral("text"));
    std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->layoutDirection(), Qt::RightToLeft);
    int actions = 0;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator())
            continue;
        ++actions;
        EXPECT_TRUE(hasArabicLetter(action->text())) << action->text().toStdString();
    }
    // Undo, Redo, Cut, Copy, Paste, Delete, Select All.
    EXPECT_GE(actions, 7);
}

TEST_F(Appearance, StandardButtonsAndTheDefaultFace) {
    EXPECT_EQ(QApplication::layoutDirection(), Qt::RightToLeft);
    EXPECT_TRUE(hasArabicLetter(QCoreApplication::translate("QPlatformTheme", "OK")));
    // A widget that asks for no face gets Tahoma, at the size of the main window's text.
    QWidget plain;
    const QFontInfo info(plain.font());
    EXPECT_EQ(info.family(), QStringLiteral("Tahoma"));
    EXPECT_EQ(info.pixelSize(), 11);
}

}  // namespace
