#pragma once
// The date picker window: a solar month calendar and two gradient buttons, accept on
// the right and cancel on the left. Enter accepts and Escape cancels wherever the
// focus is; other keys go on to the calendar.
#include <QDialog>

class GradientButton;
class TSolarMonthCalendar;

class TDatePickerNew : public QDialog {
    Q_OBJECT
public:
    explicit TDatePickerNew(QWidget* parent = nullptr);
    ~TDatePickerNew() override;

    // Modal; answers mrOk (1) or mrCancel (2), also when the end of the program is
    // requested before or while it runs.
    int exec() override;
    void reject() override;

    // The client area (322 x 231) inside the window's 5-pixel border.
    QWidget* client() const { return m_client; }
    TSolarMonthCalendar* Calndr = nullptr;
    GradientButton* BConSet = nullptr;
    GradientButton* XFBitBtn3 = nullptr;

    // Key preview: character 13 accepts, 27 cancels; answers whether it closed the window.
    bool FormKeyPress(QObject* Sender, QChar Key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_client = nullptr;
};

// The picker while PickDateFromDate runs; nullptr otherwise.
extern TDatePickerNew* DatePickerNew;
