#include "widgets/flatbutton.h"

#include <QDialog>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

TEST(FlatButton, ClicksButNeverTakesTheDialogsEnter) {
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* button = new FlatButton(QStringLiteral("Back"), &dialog);
    layout->addWidget(button);
    QSignalSpy clicks(button, &QPushButton::clicked);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 1);
    button->setEnabled(false);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 1);
    // Enter in a dialog does not press a flat button: the count stays as it was.
    button->setEnabled(true);
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_EQ(clicks.count(), 1);
}
