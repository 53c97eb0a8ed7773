#include "calendar/datevalidation.h"
#include "calendar/runtimedatetime.h"
#include "tests/fixtures/expectedtexts.h"
#include "platform/convert.h"
#include "tests/fixtures/qstringprint.h"

#include <gtest/gtest.h>

namespace {

using namespace expected;

QString refused(const QString& head, const QString& shown, const QString& reason) {
    return head + shown + notCorrectTail + u'\r' + reason;
}

TEST(CheckDate, MonthBeyond32BitsRaisesTheConversionError) {
    EXPECT_THROW(cal::checkDate(u"1390/99999999999/1"), plat::ConvertError);
}

TEST(CompleateDate, PadsYearMonthAndDay) {
    const std::pair<QString, QString> cases[] = {
        {"90/1/1", "1390/01/01"},
        {"5/12/3", "1305/12/03"},
        {"390/7/15", "1390/07/15"},
        {"100/1/1", "1100/01/01"},
        {"1390/01/01", "1390/01/01"},
        {"1390/001/01", "1390/001/01"},
        {"1390/1/1 ", "1390/01/1 "},
        {" 90/1/1", "1390/01/01"},
        {"12345/1/1", "12345/01/01"},
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

TEST(CompleateTime, PadsHourAndMinuteOrGivesEmptyText) {
    const std::pair<QString, QString> cases[] = {
        {"8", "08:00"},
        {"8:5", "08:05"},
        {" 8:5 ", "08:05"},
        {"23:59", "23:59"},
        {"0:0", "00:00"},
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

template <class Parse>
void expectRefused(Parse parse, std::initializer_list<const char*> texts, const char* what) {
    for (const char* bad : texts) {
        try {
            parse(QString::fromLatin1(bad));
            ADD_FAILURE() << bad;
        } catch (const plat::ConvertError& e) {
            EXPECT_EQ(e.message(), QStringLiteral("'%1' is not a valid %2").arg(QString::fromLatin1(bad), what));
        }
    }
}

TEST(StrToDate, DayFirstWithTheDateSeparator) {
    plat::FormatSettings fs;
    EXPECT_EQ(cal::strToDate(QStringLiteral("08/12/2011"), fs), QDate(2011, 12, 8));
    EXPECT_EQ(cal::strToDate(QStringLiteral(" 8/12/2011 "), fs), QDate(2011, 12, 8));
    EXPECT_EQ(cal::strToDate(QStringLiteral("30/12/1390"), fs), QDate(1390, 12, 30));
    EXPECT_EQ(cal::strToDate(QStringLiteral("1/2/03"), fs), QDate(2003, 2, 1));
    expectRefused([&fs](const QString& t) { return cal::strToDate(t, fs); },
                  {"//", "31/02/2011", "0/01/01", "08/12", "08/12/2011x", "08-12-2011", ""}, "date");
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
    expectRefused([&fs](const QString& t) { return cal::strToTime(t, fs); },
                  {"24:00", "12:60", "", "08.30", "8:30x", ":30"}, "time");
    fs.timeSeparator = u'.';
    EXPECT_EQ(cal::strToTime(QStringLiteral("08.30"), fs), QTime(8, 30));
}

}  // namespace
