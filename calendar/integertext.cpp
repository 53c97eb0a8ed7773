#include "integertext.h"

#include "platform/convert.h"

namespace cal {

bool tryParseDecimal(QStringView text, int& value) { return plat::tryStrToInt(text, value, false); }

int strToInt(QStringView text) {
    int value = 0;
    if (tryParseDecimal(text, value))
        return value;
    // Hexadecimal forms and every failure: the runtime's own conversion decides.
    return plat::strToInt(text.toString());
}

int strToIntDef(QStringView text, int fallback) {
    try {
        return strToInt(text);
    } catch (const plat::ConvertError&) {
        return fallback;
    }
}

QStringView trimView(QStringView text) {
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && text[b].unicode() <= 32)
        ++b;
    while (e > b && text[e - 1].unicode() <= 32)
        --e;
    return text.sliced(b, e - b);
}

QString padFront(QStringView text, QStringView pad) {
    if (text.size() >= pad.size())
        return text.toString();
    QString out;
    out.reserve(pad.size());
    out.append(pad.first(pad.size() - text.size()));
    out.append(text);
    return out;
}

}  // namespace cal
