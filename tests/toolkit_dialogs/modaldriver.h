#pragma once
// Drives a modal dialog of the toolkit the way a user would: a zero-delay timer started
// before the dialog opens finds it, lets the test look at it, and acts on it. A
// watchdog closes a dialog the action failed to close, so a broken dialog fails the
// test instead of hanging it.
#include "platform/appexit.h"
#include "toolkit/messagedialog.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

enum class Action {
    Click0,
    Click1,
    Click2,
    Click3,
    Enter,
    Escape,
    CloseBox,
    EndRequest
};

inline const char* actionName(Action a) {
    switch (a) {
    case Action::Click0: return "click button 1";
    case Action::Click1: return "click button 2";
    case Action::Click2: return "click button 3";
    case Action::Click3: return "click button 4";
    case Action::Enter: return "Enter";
    case Action::Escape: return "Escape";
    case Action::CloseBox: return "close box";
    case Action::EndRequest: return "end of the program";
    }
    return "";
}

inline void perform(TMessageDialog* dialog, Action action) {
    // Keys go where the user's keyboard goes: the focused control of the dialog.
    QWidget* focus = dialog->focusWidget();
    QWidget* target = focus ? focus : dialog;
    switch (action) {
    case Action::Click0:
    case Action::Click1:
    case Action::Click2:
    case Action::Click3:
        QTest::mouseClick(dialog->dialogButton(static_cast<int>(action)), Qt::LeftButton);
        break;
    case Action::Enter: QTest::keyClick(target, Qt::Key_Return); break;
    case Action::Escape: QTest::keyClick(target, Qt::Key_Escape); break;
    case Action::CloseBox: dialog->close(); break;
    case Action::EndRequest: plat::requestEnd(true); break;
    }
}

// Runs open() while the timer inspects and acts on the dialog; answers open()'s result.
// inspect may be empty. seen is set when a dialog was found.
template <class Open>
auto driveDialog(Open open, Action action, const std::function<void(TMessageDialog*)>& inspect = {}, bool* seen = nullptr) {
    bool found = false;
    bool stuck = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<TMessageDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        found = true;
        if (inspect)
            inspect(dialog);
        perform(dialog, action);
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            stuck = true;
            dialog->done(0);
        }
    });
    watchdog.start(3000);
    auto result = open();
    EXPECT_FALSE(stuck) << actionName(action) << " did not close the dialog";
    if (seen)
        *seen = found;
    else
        EXPECT_TRUE(found) << "no dialog opened";
    return result;
}
