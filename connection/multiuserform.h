#pragma once
// The customer selection window: lists the catalogue's customers in three columns; the
// enter button (default, so Enter presses it) or a double click confirms the selected
// one. There is no cancel button; closing the window is the cancel.
#include <QDialog>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QFrame;

class TMultiUserForm : public QDialog {
    Q_OBJECT
public:
    explicit TMultiUserForm(QWidget* parent = nullptr);
    ~TMultiUserForm() override;

    // Modal; answers mrOk (1) when an entry was confirmed, mrCancel (2) otherwise, also
    // when the end of the program is requested before or while it runs.
    int exec() override;
    void reject() override;

    QWidget* ClientArea = nullptr;  // the client area inside the 5-pixel border
    QLabel* StaticText1 = nullptr;
    QListWidget* RadioGroup1 = nullptr;
    QFrame* dxContainer1 = nullptr;
    QPushButton* dxButton1 = nullptr;
    QLabel* Image1 = nullptr;

    void dxButton1Click();
    void RadioGroup1DblClick();

    // The selected entry's text; empty when none is selected.
    QString selectedText() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// Created on first need and kept.
extern TMultiUserForm* MultiUserForm;
