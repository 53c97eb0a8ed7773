// The toolkit's calendar members on a toolkit built with the recording dialogs: what
// the user is shown, and the member-level compositions.
#include "calendar/toolsclock.h"
#include "dataaccess/connection.h"
#include "dataaccess/query.h"
#include "dataaccess/table.h"
#include "tests/fixtures/expectedtexts.h"
#include "platform/convert.h"
#include "platform/formatsettings.h"
#include "tests/fixtures/qstringprint.h"
#include "toolkit/recordingdialogs.h"
#include "toolkit/tools.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

using namespace expected;
using Kind = RecordingDialogs::Kind;

QString refused(const QString& head, const QString& shown, const QString& reason) {
    return head + shown + notCorrectTail + u'\r' + reason;
}

class ToolsCalendar : public ::testing::Test {
protected:
    void SetUp() override {
        m_saved = plat::formatSettings();
        m_tools = makeTools(QDate(2026, 12, 9));
        m_rec.clear();
    }
    void TearDown() override {
        m_tools.reset();
        plat::formatSettings() = m_saved;
        setNowTimeClock({});
    }
    std::unique_ptr<TTools> makeTools(const QDate& systemDate) {
        return std::make_unique<TTools>(ToolsOptions{&m_rec, m_dir.path() + u'/', systemDate});
    }
    std::vector<QString> messages() const { return m_rec.texts(Kind::Msg); }

    QTemporaryDir m_dir;
    RecordingDialogs m_rec;
    std::unique_ptr<TTools> m_tools;
    plat::FormatSettings m_saved;
};

TEST_F(ToolsCalendar, FarsiTodayIsTheSolarDateOfTheSystemDateWhateverTheSeparator) {
    EXPECT_EQ(m_tools->FarsiToday(), QStringLiteral("1405/09/18"));
    m_tools.reset();
    plat::formatSettings().dateSeparator = u'-';
    m_tools = makeTools(QDate(2025, 3, 20));
    EXPECT_EQ(m_tools->FarsiToday(), QStringLiteral("1403/12/30"));
    plat::formatSettings().dateSeparator = u'.';
    EXPECT_EQ(m_tools->FarsiToday(), QStringLiteral("1403/12/30"));  // kept from creation
}

// Empty message: accepted, nothing shown.
TEST_F(ToolsCalendar, EachDateRefusalShowsExactlyOneMessage) {
    const std::pair<QString, QString> cases[] = {
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
    for (const auto& [input, message] : cases) {
        m_rec.clear();
        EXPECT_EQ(m_tools->IsValidDate(input), message.isEmpty()) << input.toStdString();
        EXPECT_EQ(messages(), message.isEmpty() ? std::vector<QString>{} : std::vector<QString>{message})
            << input.toStdString();
    }
}

TEST_F(ToolsCalendar, EachTimeRefusalShowsExactlyOneMessage) {
    const std::pair<QString, QString> cases[] = {
        {"8", {}},
        {"8:5", {}},
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
    for (const auto& [input, message] : cases) {
        m_rec.clear();
        EXPECT_EQ(m_tools->IsValidTime(input), message.isEmpty()) << input.toStdString();
        EXPECT_EQ(messages(), message.isEmpty() ? std::vector<QString>{} : std::vector<QString>{message})
            << input.toStdString();
        if (message.isEmpty())
            continue;
        m_rec.clear();
        EXPECT_EQ(m_tools->CompleateTime(input), QString()) << input.toStdString();
        EXPECT_EQ(messages().size(), 1u);
    }
    m_rec.clear();
    EXPECT_EQ(m_tools->CompleateTime(QStringLiteral(" 8:5 ")), QStringLiteral("08:05"));
    EXPECT_TRUE(m_rec.entries().empty());
}

TEST_F(ToolsCalendar, NowTimeReadsTheClockAndResetsTheFormats) {
    setNowTimeClock([] { return QTime(9, 5, 33); });
    plat::formatSettings().shortDateFormat = QStringLiteral("yyyy-mm-dd");
    plat::formatSettings().longTimeFormat = QStringLiteral("hh:nn");
    EXPECT_EQ(m_tools->NowTime(), QStringLiteral("09:05"));
    EXPECT_TRUE(m_rec.entries().empty());
    EXPECT_EQ(plat::formatSettings().shortDateFormat, QStringLiteral("dd/mm/yyyy"));
    EXPECT_EQ(plat::formatSettings().longDateFormat, QStringLiteral("dd/mm/yyyy"));
    EXPECT_EQ(plat::formatSettings().shortTimeFormat, QStringLiteral("HH:mm:ss"));
    EXPECT_EQ(plat::formatSettings().longTimeFormat, QStringLiteral("HH:mm:ss"));
}

TEST_F(ToolsCalendar, NowTimeUnderAnotherTimeSeparatorShowsOneMessageAndGivesMidnight) {
    setNowTimeClock([] { return QTime(9, 5, 33); });
    plat::formatSettings().timeSeparator = u'.';
    EXPECT_EQ(m_tools->NowTime(), QStringLiteral("00:00"));
    const std::vector<QString> shown = messages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].startsWith(nowTimeHead));
    EXPECT_TRUE(shown[0].endsWith(nowTimeTail));
}

TEST_F(ToolsCalendar, ConversionsShowTheDateMessageOnce) {
    EXPECT_EQ(m_tools->ToEnglishDate(QStringLiteral("1390/13/01")), QStringLiteral("//"));
    EXPECT_EQ(messages(), std::vector<QString>{refused(dateHead, "1390/13/01", badMonth)});
    m_rec.clear();
    EXPECT_EQ(m_tools->ToFarsiDate(QStringLiteral("99/1/2011")), QStringLiteral("89/11/79"));
    EXPECT_EQ(messages(), std::vector<QString>{refused(dateHead, "89/11/79", badDay)});
    m_rec.clear();
    EXPECT_EQ(m_tools->ToEnglishDateForSQLServer(QStringLiteral("1405/09/18")), QStringLiteral("09/12/2026"));
    EXPECT_EQ(m_tools->ToFarsiDate(QStringLiteral("09/12/2026")), QStringLiteral("1405/09/18"));
    EXPECT_EQ(m_tools->ConvertDateFormat(QStringLiteral("08/12/2011"), QStringLiteral("d/m/y"), QStringLiteral("Y/M/D")),
              QStringLiteral("2011/12/08"));
    EXPECT_TRUE(m_tools->IsKabise(1404));
    EXPECT_TRUE(m_rec.entries().empty());
}

TEST_F(ToolsCalendar, ArithmeticCompletesTypedDates) {
    EXPECT_EQ(m_tools->DaySubDate(QStringLiteral("90/1/1"), QStringLiteral("91/1/1"), false), 365);
    EXPECT_EQ(m_tools->DaySubDate(QStringLiteral("1390/07/01"), QStringLiteral("1390/6/31"), true), -1);
    EXPECT_EQ(m_tools->DaySubDateWithOutCheckDate(QStringLiteral("1389/05/10"), QStringLiteral("1390/09/17"), false),
              494);
    EXPECT_EQ(m_tools->SubDate(QStringLiteral("90/9/17"), QStringLiteral("89/5/10")), QStringLiteral("16/07"));
    EXPECT_EQ(m_tools->DateToInt(QStringLiteral("90/1/1")), 13900101);
    EXPECT_TRUE(m_rec.entries().empty());
    EXPECT_EQ(m_tools->DateToInt(QStringLiteral("1390/13/1")), -1);
    EXPECT_EQ(messages(), std::vector<QString>{refused(dateHead, "1390/13/1", badMonth)});
    m_rec.clear();
    // A refused date still goes on to the count, after its message.
    m_tools->DaySubDate(QStringLiteral("1390/13/1"), QStringLiteral("1390/01/01"), false);
    EXPECT_EQ(messages().size(), 1u);
}

TEST_F(ToolsCalendar, NDayFromDateGoesThroughTheGregorianCalendar) {
    struct Case {
        const char* date;
        int n;
        const char* result;
    };
    const Case cases[] = {
        {"1390/09/17", 30, "1390/10/17"},
        {"1390/12/29", 1, "1391/01/01"},
        {"1391/01/01", -1, "1390/12/29"},
        {"1403/12/29", 1, "1403/12/30"},
        {"1403/12/30", 1, "1404/01/01"},
        {"1405/09/18", 365, "1406/09/18"},
        {"1399/12/30", 1, "1400/01/01"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(m_tools->NDayFromDate(QString::fromLatin1(c.date), c.n), QString::fromLatin1(c.result)) << c.date;
    EXPECT_TRUE(m_rec.entries().empty());
    EXPECT_THROW(m_tools->NDayFromDate(QStringLiteral("1390/13/01"), 1), plat::ConvertError);
    EXPECT_EQ(messages().size(), 1u);
}

TEST_F(ToolsCalendar, TimeArithmetic) {
    EXPECT_DOUBLE_EQ(m_tools->SubTime(QStringLiteral("8"), QStringLiteral("6:30")), 1.5);
    EXPECT_DOUBLE_EQ(m_tools->SubTime(QStringLiteral("08:30"), QStringLiteral("08:30")), 0);
    EXPECT_DOUBLE_EQ(m_tools->SubTime(QStringLiteral("06:15"), QStringLiteral("08:30")), 21.75);
    EXPECT_EQ(m_tools->NMinFromTime(QStringLiteral("08:30"), QStringLiteral("01:45")), QStringLiteral("10:15"));
    EXPECT_EQ(m_tools->NMinFromTime(QStringLiteral("23:30"), QStringLiteral("01:00")), QStringLiteral("00:30"));
    EXPECT_TRUE(m_rec.entries().empty());
    EXPECT_THROW(m_tools->NMinFromTime(QStringLiteral("23:30"), QStringLiteral("24:00")), plat::ConvertError);
    EXPECT_THROW(m_tools->SubTime(QStringLiteral("24:00"), QStringLiteral("08:00")), plat::ConvertError);
    EXPECT_EQ(messages().size(), 1u);
}

// A window with two edits, the second focused, as a form's field exit sees it.
class FieldExit : public ToolsCalendar {
protected:
    void SetUp() override {
        ToolsCalendar::SetUp();
        auto* layout = new QVBoxLayout(&m_window);
        m_edit = new QLineEdit(&m_window);
        m_other = new QLineEdit(&m_window);
        layout->addWidget(m_edit);
        layout->addWidget(m_other);
        m_window.show();
        QApplication::setActiveWindow(&m_window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
        m_other->setFocus();
        QTRY_VERIFY(m_other->hasFocus());
    }
    QWidget m_window;
    QLineEdit* m_edit = nullptr;
    QLineEdit* m_other = nullptr;
};

TEST_F(FieldExit, CheckTheDateCompletesOrKeepsTheTextAndTakesTheFocusBack) {
    QTest::keyClicks(m_edit, QStringLiteral("90/1/1"));
    EXPECT_TRUE(m_tools->CheckTheDate(m_edit, nullptr));
    EXPECT_EQ(m_edit->text(), QStringLiteral("1390/01/01"));
    EXPECT_TRUE(m_other->hasFocus());

    m_edit->clear();
    QTest::keyClicks(m_edit, QStringLiteral("1390/13/1"));
    EXPECT_FALSE(m_tools->CheckTheDate(m_edit, nullptr));
    EXPECT_EQ(m_edit->text(), QStringLiteral("1390/13/1"));
    QTRY_VERIFY(m_edit->hasFocus());
    EXPECT_EQ(messages(), std::vector<QString>{refused(dateHead, "1390/13/1", badMonth)});
}

TEST_F(FieldExit, CheckTheTimeCompletesOrKeepsTheText) {
    QTest::keyClicks(m_edit, QStringLiteral("8:5"));
    EXPECT_TRUE(m_tools->CheckTheTime(m_edit));
    EXPECT_EQ(m_edit->text(), QStringLiteral("08:05"));

    m_edit->setText(QStringLiteral("24:00"));
    EXPECT_FALSE(m_tools->CheckTheTime(m_edit));
    EXPECT_EQ(m_edit->text(), QStringLiteral("24:00"));
    QTRY_VERIFY(m_edit->hasFocus());
    EXPECT_EQ(messages(), std::vector<QString>{refused(timeHead, "24:00", badHour)});
}

TEST_F(FieldExit, CheckTheDateWritesADataAwareEditsFieldInTheTable) {
    QTemporaryDir serverDir;
    da::Connection connection;
    connection.setServer(QStringLiteral("file:") + serverDir.path());
    connection.setDatabase(QStringLiteral("master"));
    connection.setUser(QStringLiteral("sa"));
    connection.connect();
    da::Query setup(&connection);
    setup.setSql(QStringLiteral("CREATE TABLE Cows (ID int, BirthDate nvarchar(10))"));
    setup.execute();
    setup.setSql(QStringLiteral("INSERT INTO Cows (ID, BirthDate) VALUES (1, '1389/01/01')"));
    setup.execute();
    da::Table cows(&connection, QStringLiteral("Cows"));
    cows.open();
    cows.edit();

    m_edit->setProperty("dataField", QStringLiteral("BirthDate"));
    m_edit->setText(QStringLiteral("90/7/3"));
    EXPECT_TRUE(m_tools->CheckTheDate(m_edit, &cows));
    EXPECT_EQ(cows.fieldByName(QStringLiteral("BirthDate")).asString(), QStringLiteral("1390/07/03"));
    EXPECT_EQ(m_edit->text(), QStringLiteral("90/7/3"));  // a plain edit has no binding to show it

    m_edit->setText(QStringLiteral("90/7/32"));
    EXPECT_FALSE(m_tools->CheckTheDate(m_edit, &cows));
    EXPECT_EQ(cows.fieldByName(QStringLiteral("BirthDate")).asString(), QStringLiteral("1390/07/03"));
    EXPECT_EQ(messages(), std::vector<QString>{refused(dateHead, "90/7/32", badDay)});
}

}  // namespace
