#include "messagedialog.h"

#include "platform/appexit.h"

#include <QPushButton>

TMessageDialog::TMessageDialog(const MessageDialogSetup& setup, QWidget* parent) : QMessageBox(parent) {
    setObjectName(QStringLiteral("MessageDialog"));
    setIcon(setup.icon);
    setText(setup.text);
    setTextFormat(Qt::PlainText);
    setWindowTitle(setup.caption);
    setLayoutDirection(Qt::RightToLeft);
    setFont(QFont(fontFamily()));
    for (const DialogButton& b : setup.buttons) {
        // One role for all keeps the buttons in the caller's order.
        QPushButton* button = addButton(b.caption, QMessageBox::ActionRole);
        button->setObjectName(QStringLiteral("Button%1").arg(m_buttons.size()));
        m_buttons.push_back(button);
        m_results[button] = b.result;
    }
    if (!m_buttons.empty()) {
        setDefaultButton(m_buttons.at(setup.enterButton));
        setEscapeButton(m_buttons.at(setup.escapeButton));
    }
    connect(this, &QMessageBox::buttonClicked, this, [this](QAbstractButton* b) { m_pressed = b; });
}

int TMessageDialog::run() {
    // Opened after the end of the program was asked for: closes at once.
    if (plat::endRequested())
        return mrCancel;
    bool ended = false;
    const QMetaObject::Connection c = connect(&plat::AppExit::instance(), &plat::AppExit::endRequested, this, [this, &ended] {
        ended = true;
        done(QDialog::Rejected);
    });
    exec();
    disconnect(c);
    // The close box, like the end of the program, presses no button. (QMessageBox itself
    // would report the Escape button for the close box.)
    if (ended || !m_pressed)
        return mrCancel;
    return m_results.at(m_pressed);
}
