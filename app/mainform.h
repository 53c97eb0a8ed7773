#pragma once
// The main window: the user picks the breeding centre's text file, starts the transfer
// or leaves the program.
#include "app/filechooser.h"

#include <QWidget>
#include <memory>

class FlatButton;
class QLabel;
class QLineEdit;
class QPushButton;

class TMainForm : public QWidget {
    Q_OBJECT
public:
    // chooser: the open-file dialog; nullptr gives the Qt one.
    explicit TMainForm(std::unique_ptr<FileChooser> chooser = nullptr, QWidget* parent = nullptr);
    ~TMainForm() override;

    QWidget* ClientArea = nullptr;  // the client area inside the 5-pixel border
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button1 = nullptr;
    FlatButton* dxButton1 = nullptr;
    FlatButton* dxButton2 = nullptr;
    FileChooser* OpenDialog1 = nullptr;

    void Button1Click();
    void SetIt();
    void Edit1Change();
    void dxButton1Click();
    void dxButton2Click();

    // Places the window's frame in the middle of the screen's work area.
    void centreOnScreen();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    std::unique_ptr<FileChooser> m_chooser;
};

// Set before the main window's creation steps run.
extern TMainForm* MainForm;
