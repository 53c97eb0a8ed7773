#pragma once
// A standard message dialog built on the spot: an icon of its kind at the reading start,
// the text, and a row of buttons in the caller's order, each with its caption and modal
// result; right to left with a face that has Arabic letters. It closes with the cancel
// result when the program is asked to end, by its close box, or when it is opened
// after such a request.
#include "toolkit/userdialogs.h"

#include <QMessageBox>
#include <QString>
#include <map>
#include <vector>

struct DialogButton {
    QString caption;
    int result;
};

struct MessageDialogSetup {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString caption;
    QString text;
    std::vector<DialogButton> buttons;
    int enterButton = 0;   // index of the button Enter presses
    int escapeButton = 0;  // index of the button Escape presses
};

class TMessageDialog : public QMessageBox {
    Q_OBJECT
public:
    explicit TMessageDialog(const MessageDialogSetup& setup, QWidget* parent = nullptr);

    // Runs the dialog modally and answers the modal result of the button pressed;
    // mrCancel when it was closed any other way.
    int run();
    QPushButton* dialogButton(int index) const { return m_buttons.at(index); }
    int buttonCount() const { return static_cast<int>(m_buttons.size()); }

    // The face requested for run-time dialogs.
    static QString fontFamily() { return QStringLiteral("Tahoma"); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::vector<QPushButton*> m_buttons;
    std::map<QAbstractButton*, int> m_results;
    QAbstractButton* m_pressed = nullptr;
};
