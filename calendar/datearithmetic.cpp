#include "datearithmetic.h"

#include "calendarconversion.h"
#include "calendarmessages.h"
#include "integertext.h"

#include <cmath>

namespace cal {

namespace {

// Characters from..from+n-1 (0-based), positions past the end contributing nothing.
QStringView fixedPiece(QStringView text, qsizetype from, qsizetype n) {
    return from >= text.size() ? QStringView() : text.sliced(from, qMin(n, text.size() - from));
}

struct Ymd {
    int year, month, day;
};

Ymd fixedPieces(QStringView date) {
    return {strToInt(fixedPiece(date, 0, 4)), strToInt(fixedPiece(date, 5, 2)), strToInt(fixedPiece(date, 8, 2))};
}

// Year, month and day text split at "/": a piece missing for want of a "/" is empty.
struct DateText {
    QStringView year, month, day;
};
DateText splitAtSlashes(QStringView date) {
    const qsizetype first = date.indexOf(u'/');
    const QStringView year = first < 0 ? QStringView() : date.first(first);
    const QStringView rest = date.sliced(first + 1);
    const qsizetype second = rest.indexOf(u'/');
    const QStringView month = second < 0 ? QStringView() : rest.first(second);
    return {trimView(year), trimView(month), rest.sliced(second + 1)};
}

int monthLength(int month) { return month <= 6 ? 31 : month <= 11 ? 30
                                                                  : 29; }

QString twoDigitsAtLeast(long long v) {
    return (v < 10 ? QStringLiteral("0") : QString()) + QString::number(v);
}

}  // namespace

int daySubDateWithOutCheckDate(QStringView date1, QStringView date2, bool returnMinuse) {
    const Ymd a = fixedPieces(date1);
    const Ymd b = fixedPieces(date2);
    const bool firstLater = a.year > b.year || (a.year == b.year && a.month > b.month) ||
                            (a.year == b.year && a.month == b.month && a.day > b.day);
    long long years = 0;
    for (int y = qMin(a.year, b.year); y < qMax(a.year, b.year); ++y)
        years += isKabise(y) ? 366 : 365;
    long long months = 0;
    for (int m = qMin(a.month, b.month); m < qMax(a.month, b.month); ++m)
        months += monthLength(m);
    long long days = b.day - a.day;
    if (firstLater)
        days = -days;
    if ((!firstLater && a.month > b.month) || (firstLater && a.month < b.month))
        months = -months;
    long long count = years + months + days;
    if (returnMinuse && firstLater)
        count = -count;
    return int(count);
}

QString subDateOfCompleted(const QString& date1, const QString& date2) {
    // Complete solar dates sort chronologically as text: the later one first.
    const bool swap = date1 < date2;
    const QString& later = swap ? date2 : date1;
    const QString& earlier = swap ? date1 : date2;
    const auto dayNumber = [](const QString& date) {
        const DateText t = splitAtSlashes(date);
        return (long long)strToInt(t.year) * 360 + (long long)strToInt(t.month) * 30 + strToInt(t.day);
    };
    long long r = dayNumber(later) - dayNumber(earlier);
    long long months = 0;
    // Strict comparisons: a whole year (or month) left over stays as days.
    if (double(r) / 360 > 1) {
        const long long whole = (long long)std::trunc(double(r) / 360);
        months = 12 * whole;
        r -= 360 * whole;
    }
    if (double(r) / 30 > 1) {
        const long long whole = (long long)std::trunc(double(r) / 30);
        months += whole;
        r -= 30 * whole;
    }
    return twoDigitsAtLeast(months) + u'/' + twoDigitsAtLeast(r);
}

QString daysToDateSpell(QStringView daysText) {
    int n = strToIntDef(daysText, 0);
    QString out;
    if (n / 365 > 0)
        out += QString::number(n / 365) + text::yearsWord();
    n %= 365;
    if (n / 30 > 0)
        out += QString::number(n / 30) + text::monthsWord();
    if (n % 30 > 0)
        out += QString::number(n % 30) + text::daysWord();
    return out;
}

QString convertDayToMonthDay(QStringView daysText) {
    const int n = strToIntDef(daysText, 0);
    return QString::number(n / 30) + u'.' + QString::number(n % 30);
}

int dateToIntOfChecked(QStringView date) {
    const DateText t = splitAtSlashes(date);
    return strToInt(padFront(t.year, u"1300") + padFront(t.month, u"00") + padFront(t.day, u"00"));
}

QString convetToDateCompare(QStringView text) {
    QString month;
    QString day;
    const qsizetype slash = text.indexOf(u'/');
    if (slash >= 0) {
        month = text.first(slash).toString();
        day = text.sliced(slash + 1).first(qMin<qsizetype>(100, text.size() - slash - 1)).toString();
    } else {
        month = QStringLiteral("00");
        day = text.toString();
    }
    const int days = strToInt(day);
    if (days > 30) {
        // 30 days carry exactly one month, once.
        day = QString::number(days - 30);
        month = QString::number(strToInt(month) + 1);
    }
    if (month.size() == 1)
        month.prepend(u'0');
    if (day.size() == 1)
        day.prepend(u'0');
    return month + u'/' + day;
}

double subTimeHours(const QTime& time1, const QTime& time2) {
    const int a = time1.msecsSinceStartOfDay() / 1000;
    const int b = time2.msecsSinceStartOfDay() / 1000;
    int diff = a - b;
    if (b >= a)
        diff += 86400;
    diff %= 86400;
    const int hours = diff / 3600;
    const int minutes = diff % 3600 / 60;
    return std::round((hours + minutes / 60.0) * 100) / 100;
}

QTime addTimeOfDay(const QTime& time, const QTime& span) {
    const int ms = (time.msecsSinceStartOfDay() + span.msecsSinceStartOfDay()) % 86400000;
    return QTime::fromMSecsSinceStartOfDay(ms);
}

}  // namespace cal
