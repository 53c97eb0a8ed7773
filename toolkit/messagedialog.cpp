#include "messagedialog.h"

#include "platform/appexit.h"
#include "platform/framedplacement.h"
#include "platform/x11desktop.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>

TMessageDialog::TMessageDialog(const MessageDialogSetup& setup, QWidget* parent) : QMessageBox(parent) {
    setObjectName(QStringLiteral("MessageDialog"));
    setIcon(setup.icon);
    // The platform's message dialogs break lines at a carriage return, which the
    // toolkit's texts use as their line separator; Qt breaks them at line feeds only.
    QString shown = setup.text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(u'\r', u'\n');
    setText(shown);
    setTextFormat(Qt::PlainText);
    // An empty caption would make the window manager show the program's name.
    setWindowTitle(setup.caption.isEmpty() ? plat::blankTitle() : setup.caption);
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
    // The buttons in the middle of their row, and every line of the text, Persian or
    // not, from the reading edge.
    if (auto* row = findChild<QDialogButtonBox*>())
        row->setCenterButtons(true);
    if (auto* label = findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
        label->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
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

void TMessageDialog::showEvent(QShowEvent* event) {
    // The dialog has its final size only now; centred by its frame, not its client area.
    QMessageBox::showEvent(event);
    plat::centreFrameOnScreen(this);
}
