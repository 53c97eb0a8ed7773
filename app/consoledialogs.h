#pragma once
// Dialogs for a run without a user (the screenshot): every message is written to the
// standard error stream and every question takes its first button's answer, so that
// start-up runs through as usual without waiting for a click.
#include "dataaccess/connection.h"
#include "toolkit/recordingdialogs.h"

class ConsoleDialogs : public RecordingDialogs {
public:
    void showMsg(const QString& text) override;
    int askYesNo(const QString& text) override;
    int askYesNoAll(const QString& text) override;
    int chartOrFr3(const QString& text) override;
    void showError(const QString& text) override;
    void plainMessage(const QString& text) override;
};

// The connect dialog of a run without a user: nobody can answer it, so it cancels.
class NoLoginPrompt : public da::LoginPrompt {
public:
    bool prompt(da::ConnectParams&) override { return false; }
};
