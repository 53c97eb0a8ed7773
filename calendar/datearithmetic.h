#pragma once
// Day counts, durations and clock-time sums over solar date and time text. Each
// routine keeps its own day-count model; callers rely on their numbers.
#include <QString>
#include <QStringView>
#include <QTime>

namespace cal {

// Days between two complete solar dates "yyyy/mm/dd", pieces read at fixed places.
// Years count 366 days when isKabise says leap, else 365; months 1..6 have 31 days,
// 7..11 30. With returnMinuse the result is date2 - date1, otherwise the distance.
// Raises plat::ConvertError when a piece is not an integer.
int daySubDateWithOutCheckDate(QStringView date1, QStringView date2, bool returnMinuse);

// Months "/" days between two solar dates in 360-day years of 30-day months, later
// minus earlier; both parts two digits at least. Exactly 30 remaining days (or 360)
// stay as they are (00/30). Raises plat::ConvertError for a piece that is not an integer.
QString subDateOfCompleted(const QString& date1, const QString& date2);

// A day count in words: years of 365 days, months of 30, days; empty for 0, for
// negative counts and for text that is no integer.
QString daysToDateSpell(QStringView days);

// A day count as months "." days of 30-day months, truncating (-45 gives -1.-15).
QString convertDayToMonthDay(QStringView days);

// yyyymmdd of a date the date check accepts (year completed with "1300", month and
// day with "0"). Raises plat::ConvertError when the digits do not make an integer
// (a blank after the day).
int dateToIntOfChecked(QStringView date);

// Months "/" days (or days alone) as a sort key with two-digit parts; a day part
// above 30 carries one month once. Raises plat::ConvertError for a day part that
// is no integer, and for a month part that is none when a month is carried.
QString convetToDateCompare(QStringView text);

// time1 - time2 in hours with two decimals, wrapped into one day (equal times: 0,
// an earlier time1 adds a day).
double subTimeHours(const QTime& time1, const QTime& time2);

// The clock time span after time: the sum as a time of day (wraps at midnight).
QTime addTimeOfDay(const QTime& time, const QTime& span);

}  // namespace cal
