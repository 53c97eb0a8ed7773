#include "astronomicalreference.h"

#include <cmath>

namespace ref {

namespace {

constexpr double kDeg = M_PI / 180;

// Periodic terms of the equinox: A, B (degrees), C (degrees per Julian century).
constexpr double kTerms[24][3] = {
    {485, 324.96, 1934.136},  {203, 337.23, 32964.467}, {199, 342.08, 20.186},    {182, 27.85, 445267.112},
    {156, 73.14, 45036.886},  {136, 171.52, 22518.443}, {77, 222.54, 65928.934},  {74, 296.72, 3034.906},
    {70, 243.58, 9037.513},   {58, 119.81, 33718.147},  {52, 297.17, 150.678},    {50, 21.02, 2281.226},
    {45, 247.54, 29929.562},  {44, 325.15, 31555.956},  {29, 60.93, 4443.417},    {18, 155.12, 67555.328},
    {17, 288.79, 4562.452},   {16, 198.04, 62894.029},  {14, 199.76, 31436.921},  {12, 95.39, 14577.848},
    {12, 287.11, 31931.756},  {12, 320.81, 34777.259},  {9, 227.73, 1222.114},    {8, 15.45, 16859.074},
};

// Julian ephemeris day of the March equinox, years 1000..3000.
double equinoxJde(int year) {
    const double y = (year - 2000) / 1000.0;
    const double jde0 = 2451623.80984 + 365242.37404 * y + 0.05169 * y * y - 0.00411 * y * y * y -
                        0.00057 * y * y * y * y;
    const double t = (jde0 - 2451545.0) / 36525;
    const double w = (35999.373 * t - 2.47) * kDeg;
    const double dl = 1 + 0.0334 * std::cos(w) + 0.0007 * std::cos(2 * w);
    double s = 0;
    for (const auto& term : kTerms)
        s += term[0] * std::cos((term[1] + term[2] * t) * kDeg);
    return jde0 + 0.00001 * s / dl;
}

// Terrestrial minus universal time in seconds (Espenak and Meeus), 1800..2150.
double deltaT(double y) {
    double t = 0;
    if (y < 1860) {
        t = y - 1800;
        return 13.72 - 0.332447 * t + 0.0068612 * t * t + 0.0041116 * std::pow(t, 3) - 0.00037436 * std::pow(t, 4) +
               0.0000121272 * std::pow(t, 5) - 0.0000001699 * std::pow(t, 6) + 0.000000000875 * std::pow(t, 7);
    }
    if (y < 1900) {
        t = y - 1860;
        return 7.62 + 0.5737 * t - 0.251754 * t * t + 0.01680668 * std::pow(t, 3) - 0.0004473624 * std::pow(t, 4) +
               std::pow(t, 5) / 233174;
    }
    if (y < 1920) {
        t = y - 1900;
        return -2.79 + 1.494119 * t - 0.0598939 * t * t + 0.0061966 * std::pow(t, 3) - 0.000197 * std::pow(t, 4);
    }
    if (y < 1941) {
        t = y - 1920;
        return 21.20 + 0.84493 * t - 0.076100 * t * t + 0.0020936 * std::pow(t, 3);
    }
    if (y < 1961) {
        t = y - 1950;
        return 29.07 + 0.407 * t - t * t / 233 + std::pow(t, 3) / 2547;
    }
    if (y < 1986) {
        t = y - 1975;
        return 45.45 + 1.067 * t - t * t / 260 - std::pow(t, 3) / 718;
    }
    if (y < 2005) {
        t = y - 2000;
        return 63.86 + 0.3345 * t - 0.060374 * t * t + 0.0017275 * std::pow(t, 3) + 0.000651814 * std::pow(t, 4) +
               0.00002373599 * std::pow(t, 5);
    }
    if (y < 2050) {
        t = y - 2000;
        return 62.92 + 0.32217 * t + 0.005589 * t * t;
    }
    const double u = (y - 1820) / 100;
    return -20 + 32 * u * u - 0.5628 * (2150 - y);
}

// Julian day (UT) of the equinox.
double equinoxJd(int year) { return equinoxJde(year) - deltaT(year + 0.22) / 86400; }

}  // namespace

QDateTime marchEquinoxUtc(int gregorianYear) {
    const double jd = equinoxJd(gregorianYear) + 0.5;
    const qint64 dayNumber = qint64(std::floor(jd));
    const qint64 ms = qint64(std::llround((jd - double(dayNumber)) * 86400000.0));
    return QDateTime(QDate::fromJulianDay(dayNumber), QTime(0, 0), Qt::UTC).addMSecs(ms);
}

Nowruz nowruz(int gregorianYear) {
    const double tehran = equinoxJd(gregorianYear) + 3.5 / 24 + 0.5;  // days from Tehran's midnight
    const qint64 dayNumber = qint64(std::floor(tehran));
    const double fraction = tehran - double(dayNumber);
    const QDate day = QDate::fromJulianDay(dayNumber);
    return {fraction < 0.5 ? day : day.addDays(1), std::fabs(fraction - 0.5) * 1440};
}

int yearLength(int solarYear) {
    return int(nowruz(solarYear + 621).day.daysTo(nowruz(solarYear + 622).day));
}

Solar toSolar(const QDate& day) {
    int year = day.year() - 621;
    QDate start = nowruz(day.year()).day;
    if (day < start) {
        --year;
        start = nowruz(day.year() - 1).day;
    }
    const int doy = int(start.daysTo(day));
    if (doy < 186)
        return {year, doy / 31 + 1, doy % 31 + 1};
    return {year, (doy - 186) / 30 + 7, (doy - 186) % 30 + 1};
}

QDate toGregorian(const Solar& date) {
    if (date.month < 1 || date.month > 12 || date.day < 1)
        return {};
    const int length = date.month <= 6 ? 31 : date.month <= 11 ? 30 : yearLength(date.year) - 336;
    if (date.day > length)
        return {};
    const int before = date.month <= 7 ? (date.month - 1) * 31 : 186 + (date.month - 7) * 30;
    return nowruz(date.year + 621).day.addDays(before + date.day - 1);
}

QString solarText(const Solar& d) {
    return QStringLiteral("%1/%2/%3")
        .arg(d.year, 4, 10, QLatin1Char('0'))
        .arg(d.month, 2, 10, QLatin1Char('0'))
        .arg(d.day, 2, 10, QLatin1Char('0'));
}

QString gregorianText(const QDate& day) {
    return QStringLiteral("%1/%2/%3")
        .arg(day.day(), 2, 10, QLatin1Char('0'))
        .arg(day.month(), 2, 10, QLatin1Char('0'))
        .arg(day.year(), 4, 10, QLatin1Char('0'));
}

bool closeCall(int solarYear, double minutes) {
    return nowruz(solarYear + 621).marginMinutes < minutes || nowruz(solarYear + 622).marginMinutes < minutes;
}

}  // namespace ref
