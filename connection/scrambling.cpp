#include "scrambling.h"

namespace conn {

QString positionScramble(const QString& text) {
    QString out = text;
    for (qsizetype i = 0; i < out.size(); ++i) {
        // The key of a long text wraps at 16 bits, as the code unit does.
        const auto key = static_cast<char16_t>(2 * (i + 1));
        out[i] = QChar(static_cast<char16_t>(out[i].unicode() ^ key));
    }
    return out;
}

QString simpleScramble(const QString& text) {
    QString out = text;
    for (qsizetype i = 0; i < out.size(); ++i)
        out[i] = QChar(static_cast<char16_t>(out[i].unicode() ^ 1u));
    return out;
}

}  // namespace conn
