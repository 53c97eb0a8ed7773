#pragma once
// Conversions between Gregorian date text (day first) and solar date text (year
// first), the reordering of date text, and the leap-year test of the day counts.
#include "datevalidation.h"

#include <QDate>
#include <QString>
#include <QStringView>
#include <functional>

namespace cal {

// Gregorian "d/m/y" text to a solar date "yyyy/mm/dd". Dates from 1922-01-01 to
// 2021-03-20 go through the two-digit table arithmetic that stored farm data was
// written with (one day late in some years before 1993); all others through the
// astronomical calendar. A one- or two-digit year names a year of that span (22..99:
// 19xx, 0..21: 20xx). Empty text when a part does not parse. Within the span, an
// arithmetic outcome that is no solar date comes back uncompleted with the date
// check's message.
TextOutcome toFarsiDate(QStringView engDate);

// Solar date text to Gregorian "dd/mm/yyyy". A text the date check refuses gives
// "//" and its message; a date the calendar does not have comes back reordered
// to day first, unconverted. Raises plat::ConvertError for a piece that is not an
// integer (a blank after the day, for instance).
TextOutcome toEnglishDate(const QString& farDate);
// The same with the solar-to-Gregorian step handed to convert (the toolkit's month
// calendar, whose arithmetic is convertDateEng).
TextOutcome toEnglishDate(const QString& farDate, const std::function<QString(const QString&)>& convert);

// The month calendar's solar-to-Gregorian arithmetic: "yyyy/mm/dd" (Gregorian) for a
// date it has, otherwise its own pieces "y/mm/dd" with a year below 1000 read as 0,
// a month above 12 and a day above 31 read as 0. Years 1300 to 1403/12/29 follow the
// 128-year leap rule; years before and dates from 1403/12/30 on the astronomical
// calendar. Raises plat::ConvertError for a piece that is not an integer.
QString convertDateEng(QStringView solarText);

// Month length (29..31) as convertDateEng accepts it; 0 for a year it does not
// convert or a month outside 1..12.
int solarMonthLength(int year, int month);

// The 128-year leap rule of the month calendar: ((year + 38) * 31) mod 128 <= 30.
bool isLeap128(int year);

// Reorders date text between "D/M/Y" and "Y/M/D" (letter case ignored) at fixed
// positions; any other pair of order names gives the empty text.
QString convertDateFormat(QStringView text, QStringView oldFormat, QStringView newFormat);

// The leap-year rule of the day counts: years (or two-digit years of the 1300s)
// whose place in a 33-year cycle from 1355 is divisible by 4, except place 32.
bool isKabise(int year);

// Today's solar date for a Gregorian day (at most 10 characters). Written without
// the platform's date separator, so it never depends on it.
QString solarDateOfDay(const QDate& day);

}  // namespace cal
