// The test reference itself against published equinoxes and calendar dates, so that
// the conversion tests compare with something trustworthy.
#include "tests/fixtures/astronomicalreference.h"

#include <gtest/gtest.h>

namespace {

TEST(AstronomicalReference, EquinoxesWithinTwoMinutesOfPublishedTimes) {
    struct Row {
        int year;
        QDateTime utc;
    };
    const Row rows[] = {
        {2000, QDateTime(QDate(2000, 3, 20), QTime(7, 35), Qt::UTC)},
        {2020, QDateTime(QDate(2020, 3, 20), QTime(3, 50), Qt::UTC)},
        {2024, QDateTime(QDate(2024, 3, 20), QTime(3, 6), Qt::UTC)},
        {2025, QDateTime(QDate(2025, 3, 20), QTime(9, 1), Qt::UTC)},
        {2026, QDateTime(QDate(2026, 3, 20), QTime(14, 46), Qt::UTC)},
    };
    for (const Row& r : rows)
        EXPECT_LE(std::abs(ref::marchEquinoxUtc(r.year).secsTo(r.utc)), 120) << r.year;
}

TEST(AstronomicalReference, KnownNewYearDays) {
    struct Row {
        int gregorianYear;
        QDate day;
    };
    const Row rows[] = {
        {1925, QDate(1925, 3, 21)},
        {1992, QDate(1992, 3, 21)},
        {1993, QDate(1993, 3, 21)},
        {2017, QDate(2017, 3, 21)},
        {2020, QDate(2020, 3, 20)},
        {2021, QDate(2021, 3, 21)},
        {2024, QDate(2024, 3, 20)},
        {2025, QDate(2025, 3, 21)},
        {2026, QDate(2026, 3, 21)},
    };
    for (const Row& r : rows)
        EXPECT_EQ(ref::nowruz(r.gregorianYear).day, r.day) << r.gregorianYear;
}

TEST(AstronomicalReference, ConversionsInvertEachOther) {
    for (QDate d(2020, 1, 1); d <= QDate(2030, 12, 31); d = d.addDays(1))
        ASSERT_EQ(ref::toGregorian(ref::toSolar(d)), d) << d.toString(Qt::ISODate).toStdString();
    EXPECT_EQ(ref::solarText(ref::toSolar(QDate(2026, 12, 9))), QStringLiteral("1405/09/18"));
}

}  // namespace
