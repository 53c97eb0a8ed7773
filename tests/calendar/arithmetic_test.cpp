#include "calendar/datearithmetic.h"
#include "tests/fixtures/expectedtexts.h"
#include "platform/convert.h"
#include "tests/fixtures/qstringprint.h"

#include <gtest/gtest.h>

namespace {

using namespace expected;

TEST(DaySubDate, CalendarCountModel) {
    struct Case {
        const char *from, *to;
        int distance;
        int signedCount;  // with ReturnMinuse
    };
    const Case cases[] = {
        {"1390/01/01", "1390/01/31", 30, 30}, {"1390/01/01", "1391/01/01", 365, 365}, {"1391/01/01", "1392/01/01", 365, 365}, {"1392/01/01", "1393/01/01", 366, 366}, {"1390/06/31", "1390/07/01", 1, 1}, {"1390/12/29", "1391/01/01", 1, 1}, {"1389/05/10", "1390/09/17", 494, 494}, {"1390/07/01", "1390/06/31", 1, -1}, {"1390/09/17", "1389/05/10", 494, -494}, {"1390/05/05", "1390/05/05", 0, 0}, {"1380/01/01", "1390/01/01", 3652, 3652},  // 1383 and 1388 leap
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cal::daySubDateWithOutCheckDate(QString::fromLatin1(c.from), QString::fromLatin1(c.to), false),
                  c.distance)
            << c.from << ' ' << c.to;
        EXPECT_EQ(cal::daySubDateWithOutCheckDate(QString::fromLatin1(c.from), QString::fromLatin1(c.to), true),
                  c.signedCount)
            << c.from << ' ' << c.to;
    }
    EXPECT_THROW(cal::daySubDateWithOutCheckDate(u"1390/xx/01", u"1390/01/01", false), plat::ConvertError);
    EXPECT_THROW(cal::daySubDateWithOutCheckDate(u"90/1/1", u"1390/01/01", false), plat::ConvertError);
}

TEST(SubDate, ThreeHundredSixtyDayModel) {
    struct Case {
        const char *a, *b, *result;
    };
    const Case cases[] = {
        {"1389/05/10", "1390/09/17", "16/07"},
        {"1390/09/17", "1389/05/10", "16/07"},
        {"1390/01/01", "1391/01/01", "12/00"},
        {"1390/01/01", "1390/02/01", "00/30"},
        {"1390/01/01", "1391/02/01", "12/30"},
        {"1390/12/29", "1391/01/01", "00/02"},
        {"1390/05/05", "1390/05/05", "00/00"},
        {"1380/01/01", "1390/01/15", "120/14"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cal::subDateOfCompleted(QString::fromLatin1(c.a), QString::fromLatin1(c.b)),
                  QString::fromLatin1(c.result))
            << c.a << ' ' << c.b;
    EXPECT_THROW(cal::subDateOfCompleted(QStringLiteral("1390/13/1 "), QStringLiteral("1390/01/01")),
                 plat::ConvertError);
    EXPECT_THROW(cal::subDateOfCompleted(QStringLiteral("13901301"), QStringLiteral("1390/01/01")), plat::ConvertError);
}

TEST(DaysToDateSpell, YearsMonthsDaysInWords) {
    const std::pair<const char*, QString> cases[] = {
        {"400", "1" + yearsWord + "1" + monthsWord + "5" + daysWord},
        {"365", "1" + yearsWord},
        {"731", "2" + yearsWord + "1" + daysWord},
        {"395", "1" + yearsWord + "1" + monthsWord},
        {"29", "29" + daysWord},
        {"0", ""},
        {"abc", ""},
        {"-400", ""},
    };
    for (const auto& [input, want] : cases)
        EXPECT_EQ(cal::daysToDateSpell(QString::fromLatin1(input)), want) << input;
}

TEST(ConvertDayToMonthDay, TruncatingMonthsOfThirtyDays) {
    const std::pair<const char*, const char*> cases[] = {
        {"30", "1.0"},
        {"abc", "0.0"},
        {"45", "1.15"},
        {"-45", "-1.-15"},
        {"29", "0.29"},
    };
    for (const auto& [input, want] : cases)
        EXPECT_EQ(cal::convertDayToMonthDay(QString::fromLatin1(input)), QString::fromLatin1(want)) << input;
}

TEST(ConvetToDateCompare, TwoDigitPartsAndOneCarriedMonth) {
    const std::pair<const char*, const char*> cases[] = {
        {"1/5", "01/05"},
        {"7", "00/07"},
        {"12/30", "12/30"},
        {"1/45", "02/15"},
        {"40", "01/10"},
        {"2/75", "03/45"},
        {"10/31", "11/01"},
    };
    for (const auto& [input, want] : cases)
        EXPECT_EQ(cal::convetToDateCompare(QString::fromLatin1(input)), QString::fromLatin1(want)) << input;
    EXPECT_THROW(cal::convetToDateCompare(u"1/x"), plat::ConvertError);
}

TEST(DateToInt, EightDigitKey) {
    EXPECT_EQ(cal::dateToIntOfChecked(u"1390/9/17"), 13900917);
    EXPECT_EQ(cal::dateToIntOfChecked(u"90/1/1"), 13900101);
    EXPECT_EQ(cal::dateToIntOfChecked(u"1390/12/29"), 13901229);
    EXPECT_THROW(cal::dateToIntOfChecked(u"1390/1/1 "), plat::ConvertError);
}

TEST(SubTime, HoursWithTwoDecimalsWrappedIntoOneDay) {
    struct Case {
        QTime a, b;
        double hours;
    };
    const Case cases[] = {
        {QTime(8, 30), QTime(6, 15), 2.25},
        {QTime(6, 15), QTime(8, 30), 21.75},
        {QTime(8, 0), QTime(8, 0), 0},
        {QTime(8, 0), QTime(6, 30), 1.5},
        {QTime(0, 20), QTime(0, 0), 0.33},
        {QTime(0, 0), QTime(23, 59), 0.02},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(cal::subTimeHours(c.a, c.b), c.hours) << c.a.toString().toStdString();
}

TEST(AddTimeOfDay, WrapsAtMidnight) {
    EXPECT_EQ(cal::addTimeOfDay(QTime(8, 30), QTime(1, 45)), QTime(10, 15));
    EXPECT_EQ(cal::addTimeOfDay(QTime(23, 30), QTime(1, 0)), QTime(0, 30));
}

}  // namespace
