#include "integertext.h"

#include "platform/convert.h"

#include <cstdint>
#include <limits>

namespace cal {

bool tryParseDecimal(QStringView text, int& value) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == n)
        return false;
    const std::int64_t limit = std::int64_t(std::numeric_limits<int>::max()) + (negative ? 1 : 0);
    std::int64_t v = 0;  // 0 .. 2^31
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return false;
        v = v * 10 + (c - u'0');
        if (v > limit)
            return false;
    }
    value = int(negative ? -v : v);
    return true;
}

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
