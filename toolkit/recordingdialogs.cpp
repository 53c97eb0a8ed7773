#include "recordingdialogs.h"

int RecordingDialogs::answer(int fallback) {
    if (m_answers.empty())
        return fallback;
    const int r = m_answers.front();
    m_answers.pop_front();
    return r;
}

void RecordingDialogs::showMsg(const QString& text) { m_entries.push_back({Kind::Msg, text}); }

int RecordingDialogs::askYesNo(const QString& text) {
    m_entries.push_back({Kind::YesNo, text});
    return answer(mrYes);
}

int RecordingDialogs::askYesNoAll(const QString& text) {
    m_entries.push_back({Kind::YesNoAll, text});
    return answer(mrYes);
}

int RecordingDialogs::chartOrFr3(const QString& text) {
    m_entries.push_back({Kind::ChartOrFr3, text});
    return answer(mrYes);
}

void RecordingDialogs::showError(const QString& text) { m_entries.push_back({Kind::Error, text}); }

void RecordingDialogs::plainMessage(const QString& text) { m_entries.push_back({Kind::Plain, text}); }

void RecordingDialogs::showBox(BoxKind kind, const QString& msg, unsigned color) {
    m_entries.push_back({Kind::Box, msg, kind, color});
}

void RecordingDialogs::closeBox() { m_entries.push_back({Kind::CloseBox, {}}); }

std::vector<QString> RecordingDialogs::texts(Kind kind) const {
    std::vector<QString> out;
    for (const Entry& e : m_entries)
        if (e.kind == kind)
            out.push_back(e.text);
    return out;
}
