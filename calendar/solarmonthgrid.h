#pragma once
// The month calendar's model: which days a solar month offers, where they sit in a
// week grid that starts on Saturday, and how the selection moves. Lengths and
// weekdays follow the conversion (solarMonthLength, convertDateEng), so each day
// offered is a day the toolkit converts. Before 1340 the conversion keeps the
// 128-year leap rule, whose leap years agree with the sky's there, with day
// arithmetic that runs a day early in some years (1301/01/01 is 1922-03-21 to it,
// the 22nd in the sky); the calendar follows the conversion there too, because a
// farm's stored dates of those years were written and are read back by it.
#include "solarcycle.h"

#include <QString>
#include <QStringView>
#include <optional>

namespace cal {

struct Day {
    int year;   // kFirstCalendarYear..kLastCalendarYear
    int month;  // 1..12
    int day;    // 1..length of the month
    friend bool operator==(const Day&, const Day&) = default;
};

// Years the calendar shows: four-digit years the conversion handles, up to the end of
// the astronomical cycle table.
constexpr int kFirstCalendarYear = 1000;
constexpr int kLastCalendarYear = kLastCycleYear;

constexpr int kWeekColumns = 7;  // column 0 is Saturday
constexpr int kWeekRows = 6;     // enough for a 31-day month that starts on Friday

// 29..31 days; 0 for a year outside the calendar or a month outside 1..12.
int monthLength(int year, int month);
bool isOffered(const Day& d);

// Column (0 = Saturday .. 6 = Friday) of the month's first day: the weekday of the
// Gregorian day the conversion gives for it, so a date sits under the weekday of the
// day it is stored as. Precondition: monthLength(year, month) > 0.
int firstColumn(int year, int month);

// The selection moves. Each answers a day the calendar offers; a move past the first
// or last year stops at that end.
Day addDays(const Day& d, int n);
Day addMonths(const Day& d, int n);  // keeps the day, clamped to the new month
Day addYears(const Day& d, int n);   // keeps month and day, clamped

// Go-to rules: a year keeps month and day (clamping a day the new month lacks) and is
// ignored outside the calendar's years; a month outside 1..12 is ignored, otherwise
// the day is clamped; a day the month lacks is ignored.
Day goToYear(const Day& d, int year);
Day goToMonth(const Day& d, int month);
Day goToDay(const Day& d, int day);

// Four-digit year, separator, two-digit month, separator, two-digit day.
QString dayText(const Day& d, QStringView separator);
// "yyyy/mm/dd" (blanks at the ends ignored) naming a day the calendar offers.
std::optional<Day> parseDay(QStringView text);

// One month laid out on kWeekRows x kWeekColumns cells, row by row from Saturday.
struct MonthGrid {
    int year = 0, month = 0;
    int first = 0;           // column of day 1
    int length = 0;          // days of the month
    int previousLength = 0;  // days of the month before (for the leading cells)

    static MonthGrid of(int year, int month);
    // Day of the month in a cell (0..41), or 0 for a cell of a neighbouring month.
    int dayAt(int cell) const;
    // The neighbouring month's day number shown in such a cell.
    int neighbourDayAt(int cell) const;
    int cellOf(int day) const { return first + day - 1; }
};

}  // namespace cal
