#pragma once
// Acts on a modal dialog each time it opens, the way a user would: a zero-delay timer
// that fires inside the dialog's own loop runs the next step on the dialog. Once the
// steps are used up the dialog is rejected, so a dialog that reopens more often than
// expected (or that a step failed to close) shows in opens() instead of hanging. One
// script serves one call: it ends when the dialog it first acted on is destroyed.
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <functional>
#include <vector>

template <class Dialog>
class ScriptedDialog {
public:
    using Step = std::function<void(Dialog&)>;

    explicit ScriptedDialog(std::vector<Step> steps) : m_steps(std::move(steps)) {
        m_timer.setSingleShot(true);
        m_timer.setInterval(0);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { act(); });
        m_timer.start();
    }

    int opens() const { return m_opens; }

private:
    void act() {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        if (m_opens == 0)
            QObject::connect(dialog, &QObject::destroyed, &m_timer, &QTimer::stop);
        const size_t step = static_cast<size_t>(m_opens++);
        if (step < m_steps.size())
            m_steps[step](*dialog);
        else
            dialog->reject();
        // Armed again after the step, which may wait in a loop of its own: the next
        // firing comes in the dialog's next modal loop (or this one, if still open).
        m_timer.start();
    }

    std::vector<Step> m_steps;
    QTimer m_timer;
    int m_opens = 0;
};

// Keys go to the focused control, as the keyboard's do.
inline void press(QWidget& dialog, Qt::Key key) {
    QWidget* target = dialog.focusWidget() ? dialog.focusWidget() : &dialog;
    QTest::keyClick(target, key);
}
