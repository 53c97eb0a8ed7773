#include "convert.h"

#include <cstdint>
#include <limits>

namespace plat {

ConvertError::ConvertError(const QString& message) : std::runtime_error(message.toStdString()) {}

namespace {

int digitValue(QChar c, int base) {
    const char16_t u = c.unicode();
    int v = -1;
    if (u >= u'0' && u <= u'9')
        v = u - u'0';
    else if (u >= u'a' && u <= u'f')
        v = u - u'a' + 10;
    else if (u >= u'A' && u <= u'F')
        v = u - u'A' + 10;
    return v < base ? v : -1;
}

}  // namespace

bool tryStrToInt(QStringView text, int& result, bool hexadecimal) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    int base = 10;
    if (hexadecimal && i < n && text[i] == u'$') {
        base = 16;
        ++i;
    } else if (hexadecimal && i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i == n)
        return false;
    // Decimal: magnitude up to 2^31 (the negative limit); hexadecimal: any 32-bit
    // pattern ("$FFFFFFFF" is -1). Held in 64 bits: no overflow on the way.
    const std::int64_t limit = base == 16 ? std::int64_t(0xFFFFFFFF)
                                          : std::int64_t(std::numeric_limits<int>::max()) + (negative ? 1 : 0);
    std::int64_t value = 0;
    for (; i < n; ++i) {
        const int d = digitValue(text[i], base);
        if (d < 0)
            return false;
        value = value * base + d;
        if (value > limit)
            return false;
    }
    const auto bits = std::uint32_t(negative ? -value : value);  // two's complement wrap
    result = std::int32_t(bits);
    return true;
}

int strToInt(const QString& text) {
    int value = 0;
    if (!tryStrToInt(text, value))
        throw ConvertError(QStringLiteral("''%1'' is not a valid integer value").arg(text));
    return value;
}

}  // namespace plat
