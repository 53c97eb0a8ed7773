#include "tests/fixtures/astronomicalreference.h"
#include "calendar/calendarconversion.h"
#include "calendar/solarcycle.h"
#include "platform/convert.h"
#include "tests/fixtures/qstringprint.h"

#include <gtest/gtest.h>

#include <set>

namespace {

struct TextCase {
    const char* input;
    const char* result;
};

template <class Convert>
void expectConversions(Convert convert, std::initializer_list<TextCase> cases) {
    for (const TextCase& c : cases) {
        const cal::TextOutcome out = convert(QString::fromLatin1(c.input));
        EXPECT_EQ(out.text, QString::fromLatin1(c.result)) << c.input;
        EXPECT_TRUE(out.message.isEmpty()) << c.input;
    }
}

TEST(ToFarsiDate, TableArithmeticThenTheAstronomicalCalendar) {
    expectConversions([](const QString& t) { return cal::toFarsiDate(t); }, {
                                                                                {"08/12/2011", "1390/09/17"},
                                                                                {"21/03/2011", "1390/01/01"},
                                                                                {"20/3/12", "1391/01/01"},
                                                                                {"20/03/2012", "1391/01/01"},
                                                                                {"29/02/2012", "1390/12/10"},
                                                                                {"20/03/2013", "1391/12/30"},
                                                                                {"21/03/2013", "1392/01/01"},
                                                                                {"31/01/2013", "1391/11/12"},
                                                                                {"22/12/2011", "1390/10/01"},
                                                                                {"01/01/2000", "1378/10/11"},
                                                                                {"1/1/1922", "1300/10/11"},
                                                                                {"20/03/1992", "1371/01/01"},
                                                                                {"20/03/2021", "1399/12/30"},
                                                                                {"08-12-2011", ""},
                                                                                {"08/12", ""},
                                                                                {"08/12/2011 ", ""},
                                                                                {"08/12/20/11", ""},
                                                                                {"/12/2011", ""},
                                                                                {" 8/ 12/ 2011", "1390/09/17"},  // leading blanks are part of the number
                                                                                {"31/04/2011", "1390/02/11"},    // the arithmetic carries a day past the month once
                                                                                // After the table span:
                                                                                {"09/12/2026", "1405/09/18"},
                                                                                {"20/03/2025", "1403/12/30"},
                                                                                {"21/03/2025", "1404/01/01"},
                                                                                {"21/03/2021", "1400/01/01"},
                                                                                {"21/3/21", "1400/01/01"},
                                                                                {"9/12/26", "1305/09/18"},
                                                                                {"1/1/2022", "1400/10/11"},
                                                                                {"31/12/1921", "1300/10/10"},
                                                                                {"1/1/30", "1308/10/11"},
                                                                                {"1/1/1930", "1308/10/11"},
                                                                                {"29/02/2025", ""},
                                                                                {"31/04/2025", ""},
                                                                                {"0/1/2030", ""},
                                                                                {"1/13/1900", ""},
                                                                                {"1/1/-5", ""},
                                                                                {"1/1/10000", ""},
                                                                            });
}

TEST(ToEnglishDate, MonthCalendarThenTheAstronomicalCalendar) {
    expectConversions([](const QString& t) { return cal::toEnglishDate(t); }, {
                                                                                  {"1390/09/17", "08/12/2011"},
                                                                                  {"1390/01/01", "21/03/2011"},
                                                                                  {"1391/12/30", "20/03/2013"},
                                                                                  {"1378/10/11", "01/01/2000"},
                                                                                  {"1399/12/30", "20/03/2021"},
                                                                                  {"1400/01/01", "21/03/2021"},
                                                                                  {"1390/12/30", "30/12/1390"},
                                                                                  {"90/01/01", "0/01/01"},
                                                                                  {"1390/07/31", "31/07/1390"},
                                                                                  {" 1390/9/17", "08/12/2011"},
                                                                                  {"1403/12/29", "19/03/2025"},
                                                                                  {"1403/12/30", "20/03/2025"},
                                                                                  {"1404/01/01", "21/03/2025"},
                                                                                  {"1405/09/18", "09/12/2026"},
                                                                                  {"1404/12/30", "30/12/1404"},
                                                                                  {"1408/12/30", "20/03/2030"},
                                                                              });
}

TEST(ToEnglishDate, BlankAfterTheDayRaisesTheIntegerConversionError) {
    try {
        cal::toEnglishDate(QStringLiteral("1390/01/01 "));
        FAIL() << "no error";
    } catch (const plat::ConvertError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("01 "))) << e.what();
        EXPECT_TRUE(e.message().contains(QStringLiteral("is not a valid integer value"))) << e.what();
    }
}

TEST(ConvertDateEng, PiecesOutOfRangeReadAsZero) {
    EXPECT_EQ(cal::convertDateEng(u"1390/13/01"), QStringLiteral("1390/00/01"));
    EXPECT_EQ(cal::convertDateEng(u"1390/01/32"), QStringLiteral("1390/01/00"));
    EXPECT_EQ(cal::convertDateEng(u"999/01/01"), QStringLiteral("0/01/01"));
    EXPECT_EQ(cal::convertDateEng(u"3177/01/01"), QStringLiteral("3177/01/01"));  // past the cycle table
    EXPECT_THROW(cal::convertDateEng(u"1390/01"), plat::ConvertError);
}

TEST(SolarMonthLength, FollowsTheConversionsLeapRules) {
    const struct {
        int year, month, days;
    } rows[] = {{1399, 12, 30}, {1402, 12, 29}, {1403, 12, 30}, {1404, 12, 29}, {1408, 12, 30}, {1404, 6, 31}, {1404, 7, 30}, {999, 1, 0}, {1404, 13, 0}};
    for (const auto& r : rows)
        EXPECT_EQ(cal::solarMonthLength(r.year, r.month), r.days) << r.year << '/' << r.month;
}

TEST(ConvertDateFormat, FixedPositionCuts) {
    struct Case {
        const char *text, *from, *to, *result;
    };
    const Case cases[] = {
        {"08/12/2011", "D/M/Y", "Y/M/D", "2011/12/08"},
        {"08/12/2011", "d/m/y", "y/m/d", "2011/12/08"},
        {"1390/09/17", "Y/M/D", "D/M/Y", "17/09/1390"},
        {"8/12/2011", "D/M/Y", "Y/M/D", "011/2//8/"},
        {"08/12/2011", "D/M/Y", "D/M/Y", ""},
        {"", "Y/M/D", "D/M/Y", "//"},
        {"1390/09", "Y/M/D", "D/M/Y", "/09/1390"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cal::convertDateFormat(QString::fromLatin1(c.text), QString::fromLatin1(c.from),
                                         QString::fromLatin1(c.to)),
                  QString::fromLatin1(c.result))
            << c.text << ' ' << c.from << ' ' << c.to;
}

TEST(IsKabise, ThirtyThreeYearRule) {
    EXPECT_TRUE(cal::isKabise(92));  // two-digit years read as 13xx
    EXPECT_FALSE(cal::isKabise(91));
    const std::set<int> leap = {1301, 1305, 1309, 1313, 1317, 1322, 1326, 1330, 1334, 1338,
                                1342, 1346, 1350, 1355, 1359, 1363, 1367, 1371, 1375, 1379,
                                1383, 1388, 1392, 1396, 1400, 1404, 1408, 1412, 1416};
    for (int y = 1300; y <= 1420; ++y)
        EXPECT_EQ(cal::isKabise(y), leap.count(y) == 1) << y;
    cal::isKabise(std::numeric_limits<int>::min());  // no overflow trap
}

TEST(IsLeap128, MonthCalendarRule) {
    for (int y : {1300, 1304, 1309, 1337, 1342, 1370, 1375, 1399, 1404, 1408})
        EXPECT_TRUE(cal::isLeap128(y)) << y;
    EXPECT_TRUE(cal::isLeap128(1391));  // unlike isKabise
    for (int y : {1403, 1398, 1400})
        EXPECT_FALSE(cal::isLeap128(y)) << y;
}

TEST(ToFarsiDate, AroundNewYearAndLeapDaysOfEveryYear2021To2100) {
    int compared = 0;
    for (int gy = 2021; gy <= 2100; ++gy) {
        std::vector<QDate> days;
        const QDate nowruz = ref::nowruz(gy).day;
        for (int k = -3; k <= 3; ++k)
            days.push_back(nowruz.addDays(k));
        for (QDate d(gy, 2, 27); d <= QDate(gy, 3, 2); d = d.addDays(1))
            days.push_back(d);
        days.push_back(QDate(gy, 1, 1));
        days.push_back(QDate(gy, 12, 31));
        for (const QDate& d : days) {
            if (d < QDate(2021, 3, 21) || ref::closeCall(ref::toSolar(d).year))
                continue;
            EXPECT_EQ(cal::toFarsiDate(ref::gregorianText(d)).text, ref::solarText(ref::toSolar(d)))
                << ref::gregorianText(d).toStdString();
            ++compared;
        }
    }
    EXPECT_GT(compared, 80 * 12);
}

TEST(ToEnglishDate, LastDaysAndNewYearOfEverySolarYear1400To1479) {
    for (int sy = 1400; sy <= 1479; ++sy) {
        if (ref::closeCall(sy))
            continue;
        for (const ref::Solar s : {ref::Solar{sy, 12, 28}, ref::Solar{sy, 12, 29}, ref::Solar{sy, 12, 30},
                                   ref::Solar{sy + 1, 1, 1}, ref::Solar{sy, 11, 30}}) {
            const QString text = ref::solarText(s);
            const QDate g = ref::toGregorian(s);
            // A 12/30 that the calendar lacks comes back reordered, unconverted.
            const QString want = g.isValid() ? ref::gregorianText(g)
                                             : QStringLiteral("30/12/%1").arg(sy);
            EXPECT_EQ(cal::toEnglishDate(text).text, want) << text.toStdString();
        }
    }
}

TEST(ToFarsiDate, EqualsTheCalendarFrom1993To2021AndBefore1922) {
    for (QDate d(1993, 3, 21); d <= QDate(2021, 3, 20); d = d.addDays(1))
        ASSERT_EQ(cal::toFarsiDate(ref::gregorianText(d)).text, ref::solarText(ref::toSolar(d)))
            << ref::gregorianText(d).toStdString();
    for (int gy = 1800; gy <= 1921; ++gy) {
        const QDate nowruz = ref::nowruz(gy).day;
        for (int k = -2; k <= 2; ++k) {
            const QDate d = nowruz.addDays(k);
            if (ref::closeCall(ref::toSolar(d).year))
                continue;
            EXPECT_EQ(cal::toFarsiDate(ref::gregorianText(d)).text, ref::solarText(ref::toSolar(d)))
                << ref::gregorianText(d).toStdString();
        }
    }
}

TEST(ToFarsiDate, KeepsTheTablesOneDayDifferenceBefore1993) {
    // From 20 March 1992 to 20 March 1993 the table arithmetic is a day late.
    EXPECT_EQ(ref::solarText(ref::toSolar(QDate(1992, 3, 20))), QStringLiteral("1370/12/30"));
    EXPECT_EQ(cal::toFarsiDate(u"20/03/1992").text, QStringLiteral("1371/01/01"));
    EXPECT_EQ(ref::solarText(ref::toSolar(QDate(1993, 3, 20))), QStringLiteral("1371/12/29"));
    EXPECT_EQ(cal::toFarsiDate(u"20/03/1993").text, QStringLiteral("1371/12/30"));
    EXPECT_EQ(cal::toFarsiDate(u"21/03/1993").text, QStringLiteral("1372/01/01"));
}

TEST(Conversions, RoundTripEverySolarDate1372To1479) {
    int dates = 0;
    for (int sy = 1372; sy <= 1479; ++sy) {
        const int length = ref::yearLength(sy);
        for (int m = 1; m <= 12; ++m) {
            const int days = m <= 6 ? 31 : m <= 11 ? 30
                                                   : length - 336;
            for (int d = 1; d <= days; ++d) {
                const QString x = ref::solarText({sy, m, d});
                const cal::TextOutcome english = cal::toEnglishDate(x);
                ASSERT_EQ(cal::toFarsiDate(english.text).text, x) << english.text.toStdString();
                ++dates;
            }
        }
    }
    EXPECT_EQ(dates, int(QDate(1993, 3, 21).daysTo(ref::nowruz(2101).day)));
}

TEST(SolarCycle, DayNumbersMatchTheReferenceFrom1300To1500) {
    for (int sy = 1300; sy <= 1500; ++sy) {
        if (ref::closeCall(sy))
            continue;
        EXPECT_EQ(cal::solarYearLength(sy), ref::yearLength(sy)) << sy;
        const cal::CivilDate g = cal::civilFromDays(*cal::nowruzDay(sy));
        EXPECT_EQ(QDate(g.year, g.month, g.day), ref::nowruz(sy + 621).day) << sy;
    }
    EXPECT_FALSE(cal::nowruzDay(0));
    EXPECT_FALSE(cal::nowruzDay(cal::kLastCycleYear + 1));
}

}  // namespace
