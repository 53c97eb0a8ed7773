// The month calendar's model: the days it offers against an independent reference,
// where they sit in the week, and the go-to rules.
#include "tests/fixtures/astronomicalreference.h"
#include "calendar/calendarconversion.h"
#include "calendar/solarmonthgrid.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

// The leap rule the conversion keeps before 1340 (1300, 1304, 1309, 1313, ..., 1337);
// the sky agrees on those years, but the calendar must follow the conversion.
bool leapBefore1340(int year) { return ((year + 38) * 31) % 128 <= 30; }

TEST(MonthGrid, MonthLengthsFrom1300To1500) {
    int compared = 0;
    for (int year = 1300; year <= 1500; ++year) {
        for (int month = 1; month <= 12; ++month) {
            int expected = month <= 6 ? 31 : 30;
            if (month == 12) {
                if (year < 1340)
                    expected = leapBefore1340(year) ? 30 : 29;
                else if (ref::closeCall(year))
                    continue;  // the reference cannot decide this year
                else
                    expected = ref::yearLength(year) - 336;
            }
            ++compared;
            EXPECT_EQ(cal::monthLength(year, month), expected) << year << "/" << month;
        }
    }
    EXPECT_GT(compared, 201 * 12 - 10);
}

TEST(MonthGrid, EveryOfferedDayConvertsAndFollowsTheDayBefore) {
    // Each day the calendar offers converts (a Gregorian "yyyy/mm/dd", not its own
    // pieces back), and from 1340 on the Gregorian days follow one another.
    QDate previous;
    for (cal::Day d{1300, 1, 1}; d.year <= 1500; d = cal::addDays(d, 1)) {
        const QString g = cal::convertDateEng(cal::dayText(d, u"/"));
        ASSERT_EQ(g.size(), 10) << cal::dayText(d, u"/").toStdString();
        const QDate day = QDate::fromString(g, QStringLiteral("yyyy/MM/dd"));
        ASSERT_TRUE(day.isValid()) << g.toStdString();
        // 1339 is common by the 128-year rule but leap in the sky, so one Gregorian day
        // lies between 1339/12/29 and 1340/01/01.
        if (d.year >= 1340 && !(d == cal::Day{1340, 1, 1})) {
            ASSERT_EQ(previous.daysTo(day), 1) << cal::dayText(d, u"/").toStdString();
        }
        previous = day;
        if (d == cal::Day{1500, 12, cal::monthLength(1500, 12)})
            break;
    }
}

// Qt counts Monday 1 .. Sunday 7; the calendar's columns run from Saturday.
int columnOf(const QDate& day) { return (day.dayOfWeek() + 1) % 7; }

TEST(MonthGrid, FirstColumnIsTheWeekdayFromSaturday) {
    struct Row {
        int year, month, column;
    };
    const Row rows[] = {
        {1403, 1, 4},   // 2024-03-20, a Wednesday
        {1404, 1, 6},   // 2025-03-21, a Friday
        {1390, 9, 3},   // 2011-11-22, a Tuesday
        {1399, 12, 6},  // 2021-02-19, a Friday
    };
    for (const Row& r : rows)
        EXPECT_EQ(cal::firstColumn(r.year, r.month), r.column) << r.year << "/" << r.month;
    // Before 1340 the conversion's days run early in some years; the columns follow
    // the conversion, the day the toolkit stores, not the sky.
    EXPECT_EQ(ref::toGregorian({1301, 1, 1}), QDate(1922, 3, 22));
    EXPECT_EQ(cal::convertDateEng(u"1301/01/01"), QStringLiteral("1922/03/21"));
    EXPECT_EQ(cal::firstColumn(1301, 1), columnOf(QDate(1922, 3, 21)));
    for (int year = 1340; year <= 1500; ++year) {
        if (ref::closeCall(year) || ref::closeCall(year - 1))
            continue;
        for (int month = 1; month <= 12; ++month)
            ASSERT_EQ(cal::firstColumn(year, month), columnOf(ref::toGregorian({year, month, 1}))) << year << "/" << month;
    }
}

TEST(MonthGrid, GoToRules) {
    using cal::Day;
    struct Row {
        const char* what;
        Day from;
        Day (*go)(const Day&, int);
        int value;
        Day expected;
    };
    const Row rows[] = {
        {"month 13 ignored", {1390, 5, 10}, cal::goToMonth, 13, {1390, 5, 10}},
        {"month 0 ignored", {1390, 5, 10}, cal::goToMonth, 0, {1390, 5, 10}},
        {"month 7 clamps day 31", {1390, 5, 31}, cal::goToMonth, 7, {1390, 7, 30}},
        {"day 31 in month 7 ignored", {1390, 7, 10}, cal::goToDay, 31, {1390, 7, 10}},
        {"day 0 ignored", {1390, 7, 10}, cal::goToDay, 0, {1390, 7, 10}},
        {"day 30 of a common Esfand ignored", {1402, 12, 5}, cal::goToDay, 30, {1402, 12, 5}},
        {"day 30 of a leap Esfand", {1403, 12, 5}, cal::goToDay, 30, {1403, 12, 30}},
        {"year keeps month and day", {1390, 5, 10}, cal::goToYear, 1402, {1402, 5, 10}},
        {"year clamps the leap day", {1403, 12, 30}, cal::goToYear, 1404, {1404, 12, 29}},
        {"year outside the calendar ignored", {1390, 5, 10}, cal::goToYear, 90, {1390, 5, 10}},
        {"year past the cycle table ignored", {1390, 5, 10}, cal::goToYear, 5000, {1390, 5, 10}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(r.go(r.from, r.value), r.expected) << r.what;
}

TEST(MonthGrid, MovesAcrossMonthYearAndCalendarEnds) {
    using cal::Day;
    EXPECT_EQ(cal::addDays({1403, 12, 29}, 1), (Day{1403, 12, 30}));
    EXPECT_EQ(cal::addDays({1403, 12, 30}, 1), (Day{1404, 1, 1}));
    EXPECT_EQ(cal::addDays({1404, 1, 1}, -1), (Day{1403, 12, 30}));
    EXPECT_EQ(cal::addDays({1402, 12, 29}, 1), (Day{1403, 1, 1}));
    EXPECT_EQ(cal::addDays({1403, 1, 1}, 365), (Day{1403, 12, 30}));
    EXPECT_EQ(cal::addMonths({1403, 6, 31}, 1), (Day{1403, 7, 30}));
    EXPECT_EQ(cal::addMonths({1403, 12, 30}, -12), (Day{1402, 12, 29}));
    EXPECT_EQ(cal::addYears({1403, 12, 30}, 1), (Day{1404, 12, 29}));
    // The ends of the calendar hold.
    EXPECT_EQ(cal::addDays({cal::kFirstCalendarYear, 1, 3}, -10), (Day{cal::kFirstCalendarYear, 1, 1}));
    EXPECT_EQ(cal::addMonths({cal::kLastCalendarYear, 11, 5}, 1000000), (Day{cal::kLastCalendarYear, 12, 5}));
    EXPECT_EQ(cal::addYears({1403, 1, 1}, std::numeric_limits<int>::min()), (Day{cal::kFirstCalendarYear, 1, 1}));
}

TEST(MonthGrid, DayTextAndParsing) {
    EXPECT_EQ(cal::dayText({1390, 1, 5}, u"/"), QStringLiteral("1390/01/05"));
    EXPECT_EQ(cal::dayText({1390, 11, 25}, u"-"), QStringLiteral("1390-11-25"));
    EXPECT_EQ(cal::dayText({1390, 1, 5}, u""), QStringLiteral("13900105"));
    EXPECT_EQ(cal::parseDay(u" 1403/12/30 "), (cal::Day{1403, 12, 30}));
    for (const char16_t* bad : {u"1402/12/30", u"1390/07/31", u"1390/1/05", u"+390/01/05", u"1390/01/ 5", u"", u"abcd/ef/gh"})
        EXPECT_FALSE(cal::parseDay(bad).has_value()) << QString::fromUtf16(bad).toStdString();
}

}  // namespace
