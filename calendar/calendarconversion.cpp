#include "calendarconversion.h"

#include "integertext.h"
#include "solarcycle.h"

#include <cstdint>

namespace cal {

namespace {

// Two-digit decimal with a leading zero below 10 (negative values as the runtime writes them).
void appendTwoDigits(QString& out, long long v) {
    if (v >= 0 && v < 10)
        out += u'0';
    out += QString::number(v);
}

// Date text "a/bb/cc" built in one allocation: a in plain decimal left-padded from
// yearPad, b and c with two digits. Precondition: 0 <= a <= 99999, 0 <= b, c <= 99.
QString dateText(int a, QStringView yearPad, int b, int c) {
    char16_t buf[16];
    char16_t digits[5];
    int n = 0;
    do {
        digits[n++] = char16_t(u'0' + a % 10);
        a /= 10;
    } while (a > 0);
    int len = 0;
    for (qsizetype k = 0; k + n < yearPad.size(); ++k)
        buf[len++] = yearPad[k].unicode();
    while (n > 0)
        buf[len++] = digits[--n];
    buf[len++] = u'/';
    buf[len++] = char16_t(u'0' + b / 10);
    buf[len++] = char16_t(u'0' + b % 10);
    buf[len++] = u'/';
    buf[len++] = char16_t(u'0' + c / 10);
    buf[len++] = char16_t(u'0' + c % 10);
    return QString(reinterpret_cast<const QChar*>(buf), len);
}

// The characters up to the next "/" (or the end), and the rest after that one "/".
QStringView takePart(QStringView& rest) {
    const qsizetype slash = rest.indexOf(u'/');
    if (slash < 0) {
        const QStringView part = rest;
        rest = QStringView();
        return part;
    }
    const QStringView part = rest.first(slash);
    rest = rest.sliced(slash + 1);
    return part;
}

// The two-digit table arithmetic, exact for the Gregorian dates 1922-01-01 to
// 2021-03-20 (the year number is right only there). Any integers are accepted; the
// outcome is not completed. 64-bit: a day near the 32-bit limit does not wrap.
struct TableDate {
    long long year, month, day;  // a two-digit solar year, not yet completed
};
TableDate tableArithmetic(long long day, long long month, long long year) {
    static constexpr int offsets[] = {10, 11, 9, 11, 10, 10, 9, 9, 9, 8, 9, 9};
    long long e = month >= 1 && month <= 12 ? offsets[month - 1] : 0;
    const long long yy = year % 100;  // keeps the sign of year
    if (yy % 4 == 0 && month > 2)
        ++e;  // the Gregorian leap day has passed
    long long lastMonth = 29;
    if ((yy - 1) % 4 == 0) {
        lastMonth = 30;  // the solar year ending in this Gregorian year counts as leap
        if (month <= 3)
            ++e;
    }
    long long sy = yy - 22;
    if (sy < 0)
        sy += 100;
    long long sm = month + 9;
    if (sm > 12) {
        sm -= 12;
        ++sy;
    }
    long long sd = day + e;
    const long long length = sm <= 6 ? 31 : sm <= 11 ? 30
                                                     : lastMonth;
    if (sd > length) {
        sd -= length;
        ++sm;
    }
    if (sm > 12) {
        sm -= 12;
        ++sy;
    }
    return {sy, sm, sd};
}

QString formatSolar(const SolarDate& d) { return dateText(d.year, u"0000", d.month, d.day); }

bool inTableSpan(long long year, long long month, long long day) {
    auto before = [](long long y1, long long m1, long long d1, long long y2, long long m2, long long d2) {
        return y1 != y2 ? y1 < y2 : m1 != m2 ? m1 < m2
                                             : d1 < d2;
    };
    return !before(year, month, day, 1922, 1, 1) && !before(2021, 3, 20, year, month, day);
}

// Dates the month calendar converts with the astronomical calendar: from 1403/12/30
// on, where the 128-year rule makes 1404 leap instead of 1403 and drifts from the
// calendar afterwards, and years before 1300, which the rule was never fitted to.
bool astronomicalSolar(int year, int month, int day) {
    if (year < 1300)
        return true;
    return year > 1403 || (year == 1403 && (month > 12 || (month == 12 && day >= 30)));
}

int gregorianDaysInYear(int year) { return isGregorianLeap(year) ? 366 : 365; }

}  // namespace

TextOutcome toFarsiDate(QStringView engDate) {
    QStringView rest = engDate;
    const QStringView dayPart = takePart(rest);
    const QStringView monthPart = takePart(rest);
    const QStringView yearPart = rest;  // whatever remains, further "/" included
    int day = 0, month = 0, year = 0;
    if (!tryParseDecimal(dayPart, day) || !tryParseDecimal(monthPart, month) || !tryParseDecimal(yearPart, year))
        return {};

    // A year written with one or two digits is a year of the span the table
    // arithmetic covers (12 is 2012, 30 is 1930).
    long long fullYear = year;
    if (year >= 0 && year <= 99) {
        int digits = 0;
        for (const QChar c : yearPart)
            digits += c.isDigit() ? 1 : 0;
        if (digits <= 2)
            fullYear = year >= 22 ? 1900 + year : 2000 + year;
    }
    if (inTableSpan(fullYear, month, day)) {
        const TableDate t = tableArithmetic(day, month, fullYear);
        // A solar date: completed at once. Anything else goes through the date check.
        if (t.year >= 0 && t.year <= 999 && t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= 31)
            return {dateText(int(t.year), u"1300", int(t.month), int(t.day)), {}};
        return compleateDate(QString::number(t.year) + u'/' + QString::number(t.month) + u'/' +
                             QString::number(t.day));
    }

    // Outside the span the table's years are a century off: the astronomical
    // calendar instead. A day or month that names no Gregorian date, or a year the
    // calendar's cycles do not reach, has no solar date: empty text as for
    // unreadable text.
    if (fullYear < 1 || fullYear > 9999 || day < 1 || day > gregorianMonthLength(int(fullYear), month))
        return {};
    const auto solar = daysToSolar(daysFromCivil(int(fullYear), month, day));
    if (!solar)
        return {};
    return {formatSolar(*solar), {}};
}

QString convertDateEng(QStringView solarText) {
    QStringView rest = solarText;
    const qsizetype first = rest.indexOf(u'/');
    const QStringView yearPart = first < 0 ? QStringView() : rest.first(first);
    rest = first < 0 ? QStringView() : rest.sliced(first + 1);
    const qsizetype second = rest.indexOf(u'/');
    const QStringView monthPart = second < 0 ? QStringView() : rest.first(second);
    const QStringView dayPart = second < 0 ? QStringView() : rest.sliced(second + 1);

    // Held as unsigned 16-bit values, as the month calendar keeps them.
    int year = std::uint16_t(strToInt(yearPart));
    int month = std::uint16_t(strToInt(monthPart));
    int day = std::uint16_t(strToInt(dayPart));
    if (year < 1000)
        year = 0;
    if (month > 12)
        month = 0;
    if (day > 31)
        day = 0;

    const int length = year != 0 ? solarMonthLength(year, month) : 0;
    if (length == 0 || day < 1 || day > length) {
        QString out = QString::number(year) + u'/';
        appendTwoDigits(out, month);
        out += u'/';
        appendTwoDigits(out, day);
        return out;
    }

    int gYear = 0, gMonth = 0, gDay = 0;
    if (astronomicalSolar(year, month, day)) {
        const CivilDate g = civilFromDays(*solarToDays({year, month, day}));  // length > 0: in the table
        gYear = g.year;
        gMonth = g.month;
        gDay = g.day;
    } else {
        static constexpr int solarBefore[] = {0, 31, 62, 93, 124, 155, 186, 216, 246, 276, 306, 336};
        int n = solarBefore[month - 1] + day;
        const bool previousLeap = isLeap128(year - 1);
        gYear = year + 621;
        n += previousLeap && isGregorianLeap(gYear) ? 80 : 79;
        if (n > gregorianDaysInYear(gYear)) {
            n -= gregorianDaysInYear(gYear);
            ++gYear;
        }
        gMonth = 1;
        while (n > gregorianMonthLength(gYear, gMonth)) {
            n -= gregorianMonthLength(gYear, gMonth);
            ++gMonth;
        }
        gDay = n;
    }
    return dateText(gYear, u"", gMonth, gDay);
}

int solarMonthLength(int year, int month) {
    if (year < 1000 || month < 1 || month > 12)
        return 0;
    if (astronomicalSolar(year, month, 30))
        return solarMonthLengthAstronomical(year, month);
    return month <= 6 ? 31 : month <= 11   ? 30
                         : isLeap128(year) ? 30
                                           : 29;
}

bool isLeap128(int year) { return (std::int64_t(year + 38) * 31) % 128 <= 30; }

namespace {

template <class Convert>
TextOutcome toEnglishDateWith(const QString& farDate, const Convert& convert) {
    Checked check = checkDate(farDate);
    if (!check.ok)
        return {convertDateFormat(QStringView(), u"Y/M/D", u"D/M/Y"), std::move(check.message)};
    const QString converted = convert(farDate);
    if (!QStringView(converted).first(qMin<qsizetype>(4, converted.size())).contains(u'/'))
        return {convertDateFormat(converted, u"Y/M/D", u"D/M/Y"), {}};
    return {converted, {}};
}

}  // namespace

TextOutcome toEnglishDate(const QString& farDate) {
    return toEnglishDateWith(farDate, [](QStringView t) { return convertDateEng(t); });
}

TextOutcome toEnglishDate(const QString& farDate, const std::function<QString(const QString&)>& convert) {
    return toEnglishDateWith(farDate, convert);
}

QString convertDateFormat(QStringView text, QStringView oldFormat, QStringView newFormat) {
    // Positions past the end contribute nothing.
    const auto cut = [text](qsizetype from, qsizetype n) {
        return from >= text.size() ? QStringView() : text.sliced(from, qMin(n, text.size() - from));
    };
    const bool fromDayFirst = oldFormat.compare(u"D/M/Y", Qt::CaseInsensitive) == 0;
    const bool fromYearFirst = oldFormat.compare(u"Y/M/D", Qt::CaseInsensitive) == 0;
    const bool toDayFirst = newFormat.compare(u"D/M/Y", Qt::CaseInsensitive) == 0;
    const bool toYearFirst = newFormat.compare(u"Y/M/D", Qt::CaseInsensitive) == 0;
    QString out;
    if (fromDayFirst && toYearFirst) {
        out.reserve(10);
        out += cut(6, 4);
        out += u'/';
        out += cut(3, 2);
        out += u'/';
        out += cut(0, 2);
    } else if (fromYearFirst && toDayFirst) {
        out.reserve(10);
        out += cut(8, 2);
        out += u'/';
        out += cut(5, 2);
        out += u'/';
        out += cut(0, 4);
    }
    return out;
}

bool isKabise(int year) {
    const std::int64_t sal = year;
    const std::int64_t y = sal >= 100 ? (sal / 100 - 13) * 100 + sal % 100 : sal;
    std::int64_t r = (y - 55) % 33;
    if (r < 0)
        r += 33;
    return r != 32 && r % 4 == 0;
}

QString solarDateOfDay(const QDate& day) {
    QString text;
    appendTwoDigits(text, day.day());
    text += u'/';
    appendTwoDigits(text, day.month());
    text += u'/';
    text += QString::number(day.year());
    return toFarsiDate(text).text.left(10);
}

}  // namespace cal
