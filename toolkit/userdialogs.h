#pragma once
// Every message, question and box that the program shows goes through this seam: the
// Qt implementation builds the real dialogs, the recording one stores the texts and
// answers with scripted modal results (tests).
#include <QString>

// Modal results as the program reports them.
enum ModalResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrYes = 6,
    mrNo = 7,
    mrNoToAll = 9,
    mrYesToAll = 10,
};

enum class BoxKind {
    Small,
    Big,
    Color
};

class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    // Modal information message, caption "پيام", one button "بازگشت" (1).
    virtual void showMsg(const QString& text) = 0;
    // Modal questions; answer a modal result.
    virtual int askYesNo(const QString& text) = 0;
    virtual int askYesNoAll(const QString& text) = 0;
    virtual int chartOrFr3(const QString& text) = 0;
    // Modal error dialog, caption "خطا", one button "بازگشت".
    virtual void showError(const QString& text) = 0;
    // The platform's plain message box (no icon, application title, OK).
    virtual void plainMessage(const QString& text) = 0;

    // The please-wait box window: created by the first call with its kind's look and
    // reused by later calls, which only replace a non-empty text. Runs the event loop once.
    virtual void showBox(BoxKind kind, const QString& msg, unsigned color) = 0;
    // Destroys the box window; nothing without one.
    virtual void closeBox() = 0;
};
