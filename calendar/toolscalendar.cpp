// The toolkit's solar calendar members: each runs the pure unit and shows the one
// message it hands back through ShowMsg.
#include "calendar/calendarconversion.h"
#include "calendar/datearithmetic.h"
#include "calendar/datevalidation.h"
#include "calendar/runtimedatetime.h"
#include "calendar/toolsclock.h"
#include "platform/formatsettings.h"
#include "toolkit/tools.h"
#include "widgets/solarmonthcalendar.h"

#include <QLineEdit>
#include <QMetaObject>
#include <QVariant>

namespace {

std::function<QTime()>& nowClock() {
    static std::function<QTime()> clock;
    return clock;
}

}  // namespace

void setNowTimeClock(std::function<QTime()> clock) { nowClock() = std::move(clock); }

namespace {

// Shows the outcome's message, if any, and hands back its text.
QString shown(TTools& tools, cal::TextOutcome outcome) {
    if (!outcome.message.isEmpty())
        tools.ShowMsg(outcome.message);
    return std::move(outcome.text);
}

bool shown(TTools& tools, cal::Checked check) {
    if (!check.ok)
        tools.ShowMsg(check.message);
    return check.ok;
}

}  // namespace

// ---- Conversion

void TTools::initToday() {
    // Written with "/" whatever the platform's date separator: today's date is never
    // the empty text.
    const QDate day = m_systemDate.isValid() ? m_systemDate : QDate::currentDate();
    m_today = cal::solarDateOfDay(day);
    m_today = FarsiToday();
}

QString TTools::FarsiToday() { return m_today; }

QString TTools::ToFarsiDate(const QString& eng_date) { return shown(*this, cal::toFarsiDate(eng_date)); }

QString TTools::ToEnglishDate(const QString& FarDate) {
    // The arithmetic is the month calendar's on the form.
    return shown(*this, cal::toEnglishDate(FarDate, [this](const QString& text) {
        return SolarMonthCalendar1->ConvertDateEng(text);
    }));
}

QString TTools::ToEnglishDateForSQLServer(const QString& FarDate) { return ToEnglishDate(FarDate); }

QString TTools::ConvertDateFormat(const QString& St, const QString& OldFormat, const QString& NewFormat) {
    return cal::convertDateFormat(St, OldFormat, NewFormat);
}

bool TTools::IsKabise(int Sal) { return cal::isKabise(Sal); }

// ---- Entry validation

bool TTools::IsValidDate(const QString& St) { return shown(*this, cal::checkDate(St)); }

QString TTools::CompleateDate(const QString& StToComp) { return shown(*this, cal::compleateDate(StToComp)); }

bool TTools::IsValidTime(const QString& St) { return shown(*this, cal::checkTime(St)); }

QString TTools::CompleateTime(const QString& St) { return shown(*this, cal::compleateTime(St)); }

QString TTools::NowTime() {
    plat::FormatSettings& fs = plat::formatSettings();
    fs.shortDateFormat = fs.longDateFormat = QStringLiteral("dd/mm/yyyy");
    fs.shortTimeFormat = fs.longTimeFormat = QStringLiteral("HH:mm:ss");
    const QTime now = nowClock() ? nowClock()() : QTime::currentTime();
    return shown(*this, cal::nowTimeFromClock(plat::formatDateTime(QStringLiteral("HH:mm:ss"), QDate::currentDate(), now)));
}

bool TTools::CheckTheTime(QLineEdit* Sender) {
    if (!IsValidTime(Sender->text())) {
        Sender->setFocus();
        return false;
    }
    Sender->setText(CompleateTime(Sender->text()));
    return true;
}

bool TTools::CheckTheDate(QLineEdit* Sender, da::Table* InTable) {
    if (!IsValidDate(Sender->text())) {
        Sender->setFocus();
        return false;
    }
    // A data-aware edit names its field in the "dataField" property and shows the
    // field's new value when asked to refresh. Without a table there is no field to
    // set: the edit's own text takes the completed date.
    const QString dataField = Sender->property("dataField").toString();
    if (dataField.isEmpty() || !InTable) {
        Sender->setText(CompleateDate(Sender->text()));
        return true;
    }
    InTable->fieldByName(dataField).setAsString(CompleateDate(Sender->text()));
    if (Sender->metaObject()->indexOfMethod("refresh()") >= 0)
        QMetaObject::invokeMethod(Sender, "refresh");
    return true;
}

// ---- Arithmetic

int TTools::DaySubDate(const QString& Date1, const QString& Date2, bool ReturnMinuse) {
    const QString first = CompleateDate(Date1);
    const QString second = CompleateDate(Date2);
    return cal::daySubDateWithOutCheckDate(first, second, ReturnMinuse);
}

int TTools::DaySubDateWithOutCheckDate(const QString& Date1, const QString& Date2, bool ReturnMinuse) {
    return cal::daySubDateWithOutCheckDate(Date1, Date2, ReturnMinuse);
}

QString TTools::NDayFromDate(const QString& FarDate, int N) {
    const plat::FormatSettings& fs = plat::formatSettings();
    const QDate day = cal::strToDate(ToEnglishDate(FarDate), fs).addDays(N);
    return ToFarsiDate(plat::formatDateTime(fs.shortDateFormat, day));
}

QString TTools::SubDate(const QString& Date1, const QString& Date2) {
    const QString first = CompleateDate(Date1);
    const QString second = CompleateDate(Date2);
    return cal::subDateOfCompleted(first, second);
}

QString TTools::DaysToDateSpell(const QString& Days) { return cal::daysToDateSpell(Days); }

QString TTools::ConvertDayToMonthDay(const QString& St) { return cal::convertDayToMonthDay(St); }

int TTools::DateToInt(const QString& St) {
    if (!IsValidDate(St))
        return -1;
    return cal::dateToIntOfChecked(St);
}

QString TTools::ConvetToDateCompare(const QString& St) { return cal::convetToDateCompare(St); }

double TTools::SubTime(const QString& Time1, const QString& Time2) {
    const QString first = CompleateTime(Time1);
    const QString second = CompleateTime(Time2);
    const plat::FormatSettings& fs = plat::formatSettings();
    return cal::subTimeHours(cal::strToTime(first, fs), cal::strToTime(second, fs));
}

QString TTools::NMinFromTime(const QString& InTime, const QString& N) {
    const plat::FormatSettings& fs = plat::formatSettings();
    const QTime sum = cal::addTimeOfDay(cal::strToTime(InTime, fs), cal::strToTime(N, fs));
    return plat::formatDateTime(QStringLiteral("HH:mm:ss"), QDate(1899, 12, 30), sum).left(5);
}
