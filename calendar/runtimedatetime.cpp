#include "runtimedatetime.h"

#include "platform/convert.h"

namespace cal {

namespace {

// A cursor over the text that skips blanks before each token, as the runtime scans.
class Scanner {
public:
    explicit Scanner(const QString& text) : m_text(text) {}

    bool number(int& value, int& digits) {
        skipBlanks();
        value = 0;
        digits = 0;
        while (m_pos < m_text.size() && m_text[m_pos] >= u'0' && m_text[m_pos] <= u'9') {
            if (digits < 9)
                value = value * 10 + (m_text[m_pos].unicode() - u'0');
            else
                value = -1;  // too long for any date or time piece
            ++digits;
            ++m_pos;
        }
        return digits > 0 && value >= 0;
    }
    bool character(QChar c) {
        skipBlanks();
        if (m_pos < m_text.size() && m_text[m_pos] == c) {
            ++m_pos;
            return true;
        }
        return false;
    }
    bool atEnd() {
        skipBlanks();
        return m_pos >= m_text.size();
    }

private:
    void skipBlanks() {
        while (m_pos < m_text.size() && m_text[m_pos] == u' ')
            ++m_pos;
    }
    const QString& m_text;
    qsizetype m_pos = 0;
};

enum class DateOrder {
    DMY,
    MDY,
    YMD
};

DateOrder orderOf(const QString& format) {
    for (const QChar c : format) {
        const QChar l = c.toLower();
        if (l == u'd')
            return DateOrder::DMY;
        if (l == u'm')
            return DateOrder::MDY;
        if (l == u'y')
            return DateOrder::YMD;
    }
    return DateOrder::DMY;
}

}  // namespace

QDate strToDate(const QString& text, const plat::FormatSettings& settings) {
    const auto fail = [&text]() -> QDate {
        throw plat::ConvertError(QStringLiteral("'%1' is not a valid date").arg(text));
    };
    Scanner s(text);
    int n[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    // Three numbers always: the date routines hand over whole dates, and a date
    // without its year would need the clock.
    if (!s.number(n[0], digits[0]) || !s.character(settings.dateSeparator) || !s.number(n[1], digits[1]) ||
        !s.character(settings.dateSeparator) || !s.number(n[2], digits[2]) || !s.atEnd())
        return fail();
    int y = 0, m = 0, d = 0, yDigits = 0;
    switch (orderOf(settings.shortDateFormat)) {
    case DateOrder::DMY:
        d = n[0];
        m = n[1];
        y = n[2];
        yDigits = digits[2];
        break;
    case DateOrder::MDY:
        m = n[0];
        d = n[1];
        y = n[2];
        yDigits = digits[2];
        break;
    case DateOrder::YMD:
        y = n[0];
        m = n[1];
        d = n[2];
        yDigits = digits[0];
        break;
    }
    // A fixed century window keeps the reading free of the clock.
    if (yDigits <= 2)
        y += y < 50 ? 2000 : 1900;
    if (y < 1 || y > 9999 || !QDate::isValid(y, m, d))
        return fail();
    return QDate(y, m, d);
}

QTime strToTime(const QString& text, const plat::FormatSettings& settings) {
    const auto fail = [&text]() -> QTime {
        throw plat::ConvertError(QStringLiteral("'%1' is not a valid time").arg(text));
    };
    Scanner s(text);
    int h = 0, m = 0, sec = 0, digits = 0;
    if (!s.number(h, digits))
        return fail();
    if (s.character(settings.timeSeparator)) {
        if (!s.number(m, digits))
            return fail();
        if (s.character(settings.timeSeparator) && !s.number(sec, digits))
            return fail();
    }
    if (!s.atEnd() || h > 23 || m > 59 || sec > 59)
        return fail();
    return QTime(h, m, sec);
}

}  // namespace cal
