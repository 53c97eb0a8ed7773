#pragma once
// The dialog seam's test implementation: records every dialog and answers the modal
// ones from a script (default: the first button's result).
#include "userdialogs.h"

#include <QString>
#include <deque>
#include <vector>

class RecordingDialogs : public UserDialogs {
public:
    enum class Kind {
        Msg,
        YesNo,
        YesNoAll,
        ChartOrFr3,
        Error,
        Plain,
        Box,
        CloseBox
    };
    struct Entry {
        Kind kind;
        QString text;
        BoxKind box = BoxKind::Small;
        unsigned color = 0;
    };

    void showMsg(const QString& text) override;
    int askYesNo(const QString& text) override;
    int askYesNoAll(const QString& text) override;
    int chartOrFr3(const QString& text) override;
    void showError(const QString& text) override;
    void plainMessage(const QString& text) override;
    void showBox(BoxKind kind, const QString& msg, unsigned color) override;
    void closeBox() override;

    // The next modal questions answer these results, in order.
    void scriptAnswers(std::initializer_list<int> results) { m_answers.insert(m_answers.end(), results); }

    const std::vector<Entry>& entries() const { return m_entries; }
    // Texts of the entries of one kind, in order.
    std::vector<QString> texts(Kind kind) const;
    void clear() { m_entries.clear(); }

private:
    int answer(int fallback);
    std::vector<Entry> m_entries;
    std::deque<int> m_answers;
};
