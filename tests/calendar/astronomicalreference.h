#pragma once
// An independent reference for the solar calendar, for tests only: the March
// equinox from the mean-equinox polynomial and its periodic terms (Meeus,
// "Astronomical Algorithms", ch. 27), Delta T from the Espenak-Meeus polynomials,
// and the noon rule in Tehran (UTC+3:30, 52.5 E): the year begins on the day whose
// noon follows the equinox. Gregorian arithmetic through QDate.
#include <QDate>
#include <QDateTime>

namespace ref {

struct Nowruz {
    QDate day;             // 1 Farvardin of solar year gregorianYear - 621
    double marginMinutes;  // distance of the equinox from Tehran noon
};

// The March equinox in UTC.
QDateTime marchEquinoxUtc(int gregorianYear);
Nowruz nowruz(int gregorianYear);

struct Solar {
    int year, month, day;
};

int yearLength(int solarYear);
// The solar date of a Gregorian day.
Solar toSolar(const QDate& day);
// The Gregorian day of a solar date; invalid when the calendar has no such date.
QDate toGregorian(const Solar& date);

// "yyyy/mm/dd" and "dd/mm/yyyy" text.
QString solarText(const Solar& date);
QString gregorianText(const QDate& day);

// True when the equinox of the solar year's start or end lies within minutes of
// Tehran noon, where the reference itself cannot decide.
bool closeCall(int solarYear, double minutes = 5);

}  // namespace ref
