#include "calendar/datevalidation.h"
#include "calendar/runtimedatetime.h"
#include "expectedtexts.h"
#include "platform/convert.h"
#include "qstringprint.h"

#include <gtest/gtest.h>

namespace {

using namespace expected;

QString refused(const QString& head, const QString& shown, const QString& reason) {
    return head + shown + notCorrectTail + u'\r' + reason;
}

struct CheckCase {
    QString input;
    QString message;  // empty: accepted
};

TEST(CheckDate, EachRefusalHasItsOneMessage) {
    const CheckCase cases[] = {
        {"1390/12/31", {}},
        {"1390/7/31", {}},
        {"  1390/1/1\t", {}},
        {"1390-01-01", refused(dateHead, "1390-01-01", slashCount)},
        {"1390/1/1/", refused(dateHead, "1390/1/1/", slashCount)},
        {"", refused(dateHead, "", slashCount)},
        {" 13a0/1/1 ", refused(dateHead, "13a0/1/1", dateDigits)},
        {"13 90/1/1", refused(dateHead, "13 90/1/1", dateDigits)},
        {"1390//1", dateEntryError},
        {"/1/1", dateEntryError},
        {"1390/1/", dateEntryError},
        {"1390/0/1", refused(dateHead, "1390/0/1", badMonth)},
        {"1390/13/1", refused(dateHead, "1390/13/1", badMonth)},
        {"1390/1/32", refused(dateHead, "1390/1/32", badDay)},
        {"1390/1/0", refused(dateHead, "1390/1/0", badDay)},
    };
    for (const CheckCase& c : cases) {
        const cal::Checked r = cal::checkDate(c.input);
        EXPECT_EQ(r.ok, c.message.isEmpty()) << c.input.toStdString();
        EXPECT_EQ(r.message, c.message) << c.input.toStdString();
    }
}

TEST(CheckDate, MonthBeyond32BitsRaisesTheConversionError) {
    EXPECT_THROW(cal::checkDate(u"1390/99999999999/1"), plat::ConvertError);
}

TEST(CompleateDate, PadsYearMonthAndDay) {
    const std::pair<QString, QString> cases[] = {
        {"90/1/1", "1390/01/01"},       {"5/12/3", "1305/12/03"},         {"390/7/15", "1390/07/15"},
        {"100/1/1", "1100/01/01"},      {"1390/01/01", "1390/01/01"},     {"1390/001/01", "1390/001/01"},
        {"1390/1/1 ", "1390/01/1 "},    {" 90/1/1", "1390/01/01"},       {"12345/1/1", "12345/01/01"},
    };
    for (const auto& [input, want] : cases) {
        const cal::TextOutcome r = cal::compleateDate(input);
        EXPECT_EQ(r.text, want) << input.toStdString();
        EXPECT_TRUE(r.message.isEmpty()) << input.toStdString();
    }
    const cal::TextOutcome refusedDate = cal::compleateDate(QStringLiteral("1390/13/1"));
    EXPECT_EQ(refusedDate.text, QStringLiteral("1390/13/1"));
    EXPECT_EQ(refusedDate.message, refused(dateHead, "1390/13/1", badMonth));
}

TEST(CheckTime, EachRefusalHasItsOneMessage) {
    const CheckCase cases[] = {
        {"8", {}},
        {"8:5", {}},
        {" 8:5 ", {}},
        {"23:59", {}},
        {"12:000000000000", {}},  // only ten characters after ":" count
        {"24:00", refused(timeHead, "24:00", badHour)},
        {"23:60", refused(timeHead, "23:60", badMinute)},
        {"12:30:00", refused(timeHead, "12:30:00", colonCount)},
        {"8.30", refused(timeHead, "8.30:00", timeSigns)},
        {":30", refused(timeHead, ":30", timeEntryError)},
        {"", refused(timeHead, ":00", timeEntryError)},
        {"8:", refused(timeHead, "8:", timeEntryError)},
    };
    for (const CheckCase& c : cases) {
        const cal::Checked r = cal::checkTime(c.input);
        EXPECT_EQ(r.ok, c.message.isEmpty()) << c.input.toStdString();
        EXPECT_EQ(r.message, c.message) << c.input.toStdString();
    }
}

TEST(CompleateTime, PadsHourAndMinuteOrGivesEmptyText) {
    const std::pair<QString, QString> cases[] = {
        {"8", "08:00"}, {"8:5", "08:05"}, {" 8:5 ", "08:05"}, {"23:59", "23:59"}, {"0:0", "00:00"},
    };
    for (const auto& [input, want] : cases) {
        const cal::TextOutcome r = cal::compleateTime(input);
        EXPECT_EQ(r.text, want) << input.toStdString();
        EXPECT_TRUE(r.message.isEmpty());
    }
    const cal::TextOutcome r = cal::compleateTime(QStringLiteral("24:00"));
    EXPECT_TRUE(r.text.isEmpty());
    EXPECT_EQ(r.message, refused(timeHead, "24:00", badHour));
}

TEST(NowTimeFromClock, KeepsHourAndMinute) {
    const cal::TextOutcome r = cal::nowTimeFromClock(QStringLiteral("09:05:33"));
    EXPECT_EQ(r.text, QStringLiteral("09:05"));
    EXPECT_TRUE(r.message.isEmpty());
}

TEST(NowTimeFromClock, ClockTextWithoutColonGivesMidnightAndTheMessage) {
    const cal::TextOutcome r = cal::nowTimeFromClock(QStringLiteral("09.05.33"));
    EXPECT_EQ(r.text, QStringLiteral("00:00"));
    ASSERT_TRUE(r.message.startsWith(nowTimeHead));
    ASSERT_TRUE(r.message.endsWith(nowTimeTail));
    EXPECT_NE(r.message.size() - nowTimeHead.size() - nowTimeTail.size(), 5);
}

TEST(StrToDate, DayFirstWithTheDateSeparator) {
    plat::FormatSettings fs;
    EXPECT_EQ(cal::strToDate(QStringLiteral("08/12/2011"), fs), QDate(2011, 12, 8));
    EXPECT_EQ(cal::strToDate(QStringLiteral(" 8/12/2011 "), fs), QDate(2011, 12, 8));
    EXPECT_EQ(cal::strToDate(QStringLiteral("30/12/1390"), fs), QDate(1390, 12, 30));
    EXPECT_EQ(cal::strToDate(QStringLiteral("1/2/03"), fs), QDate(2003, 2, 1));
    for (const char* bad : {"//", "31/02/2011", "0/01/01", "08/12", "08/12/2011x", "08-12-2011", ""}) {
        try {
            cal::strToDate(QString::fromLatin1(bad), fs);
            ADD_FAILURE() << bad;
        } catch (const plat::ConvertError& e) {
            EXPECT_EQ(e.message(), QStringLiteral("'%1' is not a valid date").arg(QString::fromLatin1(bad)));
        }
    }
    fs.dateSeparator = u'-';
    EXPECT_EQ(cal::strToDate(QStringLiteral("08-12-2011"), fs), QDate(2011, 12, 8));
    EXPECT_THROW(cal::strToDate(QStringLiteral("08/12/2011"), fs), plat::ConvertError);
    fs.shortDateFormat = QStringLiteral("yyyy/mm/dd");
    EXPECT_EQ(cal::strToDate(QStringLiteral("2011-12-08"), fs), QDate(2011, 12, 8));
}

TEST(StrToTime, TwentyFourHourClockWithTheTimeSeparator) {
    plat::FormatSettings fs;
    EXPECT_EQ(cal::strToTime(QStringLiteral("08:30"), fs), QTime(8, 30));
    EXPECT_EQ(cal::strToTime(QStringLiteral("8"), fs), QTime(8, 0));
    EXPECT_EQ(cal::strToTime(QStringLiteral("23:59:59"), fs), QTime(23, 59, 59));
    for (const char* bad : {"24:00", "12:60", "", "08.30", "8:30x", ":30"}) {
        try {
            cal::strToTime(QString::fromLatin1(bad), fs);
            ADD_FAILURE() << bad;
        } catch (const plat::ConvertError& e) {
            EXPECT_EQ(e.message(), QStringLiteral("'%1' is not a valid time").arg(QString::fromLatin1(bad)));
        }
    }
    fs.timeSeparator = u'.';
    EXPECT_EQ(cal::strToTime(QStringLiteral("08.30"), fs), QTime(8, 30));
}

}  // namespace
