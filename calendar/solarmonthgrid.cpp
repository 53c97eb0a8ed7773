#include "solarmonthgrid.h"

#include "calendarconversion.h"
#include "integertext.h"

#include <algorithm>

namespace cal {

namespace {

bool inYears(int year) { return year >= kFirstCalendarYear && year <= kLastCalendarYear; }

Day clamped(int year, int month, int day) { return {year, month, std::clamp(day, 1, monthLength(year, month))}; }

constexpr Day kFirstDay{kFirstCalendarYear, 1, 1};
Day lastDay() { return {kLastCalendarYear, 12, monthLength(kLastCalendarYear, 12)}; }

// Months counted from year 0, for moves by whole months.
long long monthIndex(int year, int month) { return year * 12LL + (month - 1); }

}  // namespace

int monthLength(int year, int month) { return inYears(year) ? solarMonthLength(year, month) : 0; }

bool isOffered(const Day& d) { return d.day >= 1 && d.day <= monthLength(d.year, d.month); }

int firstColumn(int year, int month) {
    // "yyyy/mm/dd" of the Gregorian day; the month calendar converts every day it offers.
    const QString g = convertDateEng(dayText({year, month, 1}, u"/"));
    const int days = daysFromCivil(g.left(4).toInt(), g.mid(5, 2).toInt(), g.mid(8, 2).toInt());
    return ((days + 5) % 7 + 7) % 7;  // day 0, 1970-01-01, was a Thursday: column 5
}

Day addDays(const Day& d, int n) {
    Day out = d;
    // Whole months at a time, so a jump of years costs a few hundred steps at most.
    while (n > 0) {
        const int left = monthLength(out.year, out.month) - out.day;
        if (n <= left) {
            out.day += n;
            return out;
        }
        if (out.year == kLastCalendarYear && out.month == 12)
            return lastDay();
        n -= left + 1;
        out = out.month == 12 ? Day{out.year + 1, 1, 1} : Day{out.year, out.month + 1, 1};
    }
    while (n < 0) {
        if (-n < out.day) {
            out.day += n;
            return out;
        }
        if (out.year == kFirstCalendarYear && out.month == 1)
            return kFirstDay;
        n += out.day;
        out = out.month == 1 ? Day{out.year - 1, 12, 0} : Day{out.year, out.month - 1, 0};
        out.day = monthLength(out.year, out.month);
    }
    return out;
}

Day addMonths(const Day& d, int n) {
    const long long index = std::clamp(monthIndex(d.year, d.month) + n, monthIndex(kFirstCalendarYear, 1),
                                       monthIndex(kLastCalendarYear, 12));
    return clamped(int(index / 12), int(index % 12) + 1, d.day);
}

Day addYears(const Day& d, int n) {
    return clamped(int(std::clamp<long long>(d.year + 0LL + n, kFirstCalendarYear, kLastCalendarYear)), d.month, d.day);
}

Day goToYear(const Day& d, int year) { return inYears(year) ? clamped(year, d.month, d.day) : d; }

Day goToMonth(const Day& d, int month) { return month >= 1 && month <= 12 ? clamped(d.year, month, d.day) : d; }

Day goToDay(const Day& d, int day) {
    const Day out{d.year, d.month, day};
    return isOffered(out) ? out : d;
}

QString dayText(const Day& d, QStringView separator) {
    QString out = QString::number(d.year).rightJustified(4, u'0');
    out += separator;
    out += QString::number(d.month).rightJustified(2, u'0');
    out += separator;
    out += QString::number(d.day).rightJustified(2, u'0');
    return out;
}

std::optional<Day> parseDay(QStringView text) {
    const QStringView t = trimView(text);
    if (t.size() != 10 || t[4] != u'/' || t[7] != u'/')
        return std::nullopt;
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (i != 4 && i != 7 && (t[i] < u'0' || t[i] > u'9'))
            return std::nullopt;
    }
    Day d{};
    if (!tryParseDecimal(t.first(4), d.year) || !tryParseDecimal(t.sliced(5, 2), d.month) ||
        !tryParseDecimal(t.sliced(8, 2), d.day))
        return std::nullopt;
    if (!isOffered(d))
        return std::nullopt;
    return d;
}

MonthGrid MonthGrid::of(int year, int month) {
    MonthGrid g;
    g.year = year;
    g.month = month;
    g.length = monthLength(year, month);
    g.first = g.length > 0 ? firstColumn(year, month) : 0;
    g.previousLength = month == 1 ? monthLength(year - 1, 12) : monthLength(year, month - 1);
    return g;
}

int MonthGrid::dayAt(int cell) const {
    const int day = cell - first + 1;
    return day >= 1 && day <= length ? day : 0;
}

int MonthGrid::neighbourDayAt(int cell) const {
    if (cell < first)
        return previousLength > 0 ? previousLength - (first - cell) + 1 : 0;
    const int after = cell - first - length + 1;
    return after >= 1 ? after : 0;
}

}  // namespace cal
