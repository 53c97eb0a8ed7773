#pragma once
// The Qt implementation of the dialog seam: real modal dialogs and the box window.
#include "userdialogs.h"

#include <memory>

class TBoxWindow;
class TTools;

class QtDialogs : public UserDialogs {
public:
    QtDialogs();
    ~QtDialogs() override;

    void showMsg(const QString& text) override;
    int askYesNo(const QString& text) override;
    int askYesNoAll(const QString& text) override;
    int chartOrFr3(const QString& text) override;
    void showError(const QString& text) override;
    void plainMessage(const QString& text) override;
    void showBox(BoxKind kind, const QString& msg, unsigned color) override;
    void closeBox() override;

    // The box window while one exists (the toolkit's MsgBoxForm).
    TBoxWindow* boxWindow() const { return m_box.get(); }

private:
    std::unique_ptr<TBoxWindow> m_box;
};

std::unique_ptr<UserDialogs> makeQtDialogs(TTools* tools);
