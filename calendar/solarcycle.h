#pragma once
// The astronomical solar calendar: the year begins on the day whose noon in Tehran
// follows the March equinox. Computed arithmetically from the break years of its
// 33-year cycles, which reproduces that rule for solar years 1 to 3176 (Gregorian
// 622 to 3797); outside that span every function answers "no date".
//
// Day numbers count days from 1970-01-01 of the proleptic Gregorian calendar.
#include <optional>

namespace cal {

struct CivilDate {
    int year;   // Gregorian, any int the day number fits
    int month;  // 1..12
    int day;    // 1..31
};

struct SolarDate {
    int year;   // 1..3176 where the cycle table applies
    int month;  // 1..12
    int day;    // 1..31
};

constexpr int kFirstCycleYear = 1;
constexpr int kLastCycleYear = 3176;

bool isGregorianLeap(int year);
// 28..31; 0 for a month outside 1..12.
int gregorianMonthLength(int year, int month);
// Precondition: a real Gregorian date (any year within +-5 million).
int daysFromCivil(int year, int month, int day);
CivilDate civilFromDays(int days);

// Day number of 1 Farvardin of solarYear.
std::optional<int> nowruzDay(int solarYear);
// 365 or 366; 0 outside the table.
int solarYearLength(int solarYear);
// Length of month 1..12 of solarYear in the astronomical calendar; 0 outside.
int solarMonthLengthAstronomical(int solarYear, int month);
// Day number of a real astronomical solar date.
std::optional<int> solarToDays(const SolarDate& date);
// The astronomical solar date of a day number.
std::optional<SolarDate> daysToSolar(int days);

}  // namespace cal
