#pragma once
// Trimming as the runtime trims text: every character of code 32 or below
// (blanks, tabs, line breaks, other control characters) counts as blank.
#include <QString>

namespace blanktext {

inline bool isBlankChar(QChar c) { return c.unicode() <= 32; }

// Whether the text is empty after trimming.
inline bool isBlank(const QString& text) {
    for (QChar c : text) {
        if (!isBlankChar(c))
            return false;
    }
    return true;
}

// The text without blank characters at either end.
inline QString trimmed(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlankChar(text[begin]))
        ++begin;
    while (end > begin && isBlankChar(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

}  // namespace blanktext
