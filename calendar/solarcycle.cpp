#include "solarcycle.h"

#include <iterator>

namespace cal {

namespace {

// Solar years at which the pattern of the 33-year cycles breaks; the calendar's
// leap years follow 8 leap years per 33 between two breaks.
constexpr int kBreaks[] = {-61, 9, 38, 199, 426, 686, 756, 818, 1111, 1181, 1210,
                           1635, 2060, 2097, 2192, 2262, 2324, 2394, 2456, 3178};

// Truncating division and remainder, as the cycle arithmetic is written.
constexpr int tdiv(int a, int b) { return a / b; }
constexpr int tmod(int a, int b) { return a % b; }

// Day of March (of Gregorian year solarYear + 621) on which solarYear begins.
// Precondition: kFirstCycleYear - 1 <= solarYear <= kLastCycleYear + 1.
int nowruzMarchDay(int solarYear) {
    const int gy = solarYear + 621;
    int leapJ = -14;  // leap years of the solar calendar before the first break
    int jp = kBreaks[0];
    int jump = 0;
    for (int i = 1; i < int(std::size(kBreaks)); ++i) {
        const int jm = kBreaks[i];
        jump = jm - jp;
        if (solarYear < jm)
            break;
        leapJ += tdiv(jump, 33) * 8 + tdiv(tmod(jump, 33), 4);
        jp = jm;
    }
    const int n = solarYear - jp;
    leapJ += tdiv(n, 33) * 8 + tdiv(tmod(n, 33) + 3, 4);
    if (tmod(jump, 33) == 4 && jump - n == 4)
        ++leapJ;
    const int leapG = tdiv(gy, 4) - tdiv((tdiv(gy, 100) + 1) * 3, 4) - 150;  // Gregorian leap days
    return 20 + leapJ - leapG;                                               // 19..22
}

bool inTable(int solarYear) { return solarYear >= kFirstCycleYear && solarYear <= kLastCycleYear; }

// Days before month m (1..12) of a solar year.
constexpr int daysBeforeMonth(int m) { return m <= 7 ? (m - 1) * 31 : 186 + (m - 7) * 30; }

}  // namespace

bool isGregorianLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int gregorianMonthLength(int year, int month) {
    static constexpr int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return lengths[month - 1] + (month == 2 && isGregorianLeap(year) ? 1 : 0);
}

// Civil-calendar day counting after H. Hinnant's days_from_civil / civil_from_days.
int daysFromCivil(int year, int month, int day) {
    const int y = year - (month <= 2 ? 1 : 0);
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;                                             // [0, 399]
    const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;  // [0, 365]
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;                     // [0, 146096]
    return era * 146097 + doe - 719468;
}

CivilDate civilFromDays(int days) {
    const int z = days + 719468;
    const int era = (z >= 0 ? z : z - 146096) / 146097;
    const int doe = z - era * 146097;                                       // [0, 146096]
    const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;  // [0, 399]
    const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);                // [0, 365]
    const int mp = (5 * doy + 2) / 153;                                     // [0, 11]
    const int d = doy - (153 * mp + 2) / 5 + 1;                             // [1, 31]
    const int m = mp < 10 ? mp + 3 : mp - 9;                                // [1, 12]
    return {yoe + era * 400 + (m <= 2 ? 1 : 0), m, d};
}

std::optional<int> nowruzDay(int solarYear) {
    if (!inTable(solarYear))
        return std::nullopt;
    return daysFromCivil(solarYear + 621, 3, nowruzMarchDay(solarYear));
}

int solarYearLength(int solarYear) {
    if (!inTable(solarYear))
        return 0;
    return daysFromCivil(solarYear + 622, 3, nowruzMarchDay(solarYear + 1)) -
           daysFromCivil(solarYear + 621, 3, nowruzMarchDay(solarYear));
}

int solarMonthLengthAstronomical(int solarYear, int month) {
    if (!inTable(solarYear) || month < 1 || month > 12)
        return 0;
    if (month <= 6)
        return 31;
    if (month <= 11)
        return 30;
    return solarYearLength(solarYear) - 336;
}

std::optional<int> solarToDays(const SolarDate& date) {
    const int length = solarMonthLengthAstronomical(date.year, date.month);
    if (length == 0 || date.day < 1 || date.day > length)
        return std::nullopt;
    return *nowruzDay(date.year) + daysBeforeMonth(date.month) + date.day - 1;
}

std::optional<SolarDate> daysToSolar(int days) {
    int year = civilFromDays(days).year - 621;
    if (year < kFirstCycleYear - 1 || year > kLastCycleYear)
        return std::nullopt;
    int start = daysFromCivil(year + 621, 3, nowruzMarchDay(year));
    if (days < start) {
        --year;
        start = daysFromCivil(year + 621, 3, nowruzMarchDay(year));
    }
    if (!inTable(year))
        return std::nullopt;
    const int doy = days - start;  // 0..365
    if (doy < 186)
        return SolarDate{year, doy / 31 + 1, doy % 31 + 1};
    return SolarDate{year, (doy - 186) / 30 + 7, (doy - 186) % 30 + 1};
}

}  // namespace cal
