#include "toolkit/tools.h"

#include <stdexcept>

// Placeholder definitions: replaced by the real ones of this subsystem.

void TTools::initToday() { throw std::logic_error("initToday: not built yet"); }
QString TTools::FarsiToday() { throw std::logic_error("FarsiToday: not built yet"); }
QString TTools::ToFarsiDate(const QString& eng_date) { throw std::logic_error("ToFarsiDate: not built yet"); }
QString TTools::ToEnglishDate(const QString& FarDate) { throw std::logic_error("ToEnglishDate: not built yet"); }
QString TTools::ToEnglishDateForSQLServer(const QString& FarDate) { throw std::logic_error("ToEnglishDateForSQLServer: not built yet"); }
QString TTools::ConvertDateFormat(const QString& St, const QString& OldFormat, const QString& NewFormat) { throw std::logic_error("ConvertDateFormat: not built yet"); }
bool TTools::IsKabise(int Sal) { throw std::logic_error("IsKabise: not built yet"); }
bool TTools::IsValidDate(const QString& St) { throw std::logic_error("IsValidDate: not built yet"); }
QString TTools::CompleateDate(const QString& StToComp) { throw std::logic_error("CompleateDate: not built yet"); }
bool TTools::IsValidTime(const QString& St) { throw std::logic_error("IsValidTime: not built yet"); }
QString TTools::CompleateTime(const QString& St) { throw std::logic_error("CompleateTime: not built yet"); }
QString TTools::NowTime() { throw std::logic_error("NowTime: not built yet"); }
bool TTools::CheckTheTime(QLineEdit* Sender) { throw std::logic_error("CheckTheTime: not built yet"); }
bool TTools::CheckTheDate(QLineEdit* Sender, da::Table* InTable) { throw std::logic_error("CheckTheDate: not built yet"); }
int TTools::DaySubDate(const QString& Date1, const QString& Date2, bool ReturnMinuse) { throw std::logic_error("DaySubDate: not built yet"); }
int TTools::DaySubDateWithOutCheckDate(const QString& Date1, const QString& Date2, bool ReturnMinuse) { throw std::logic_error("DaySubDateWithOutCheckDate: not built yet"); }
QString TTools::NDayFromDate(const QString& FarDate, int N) { throw std::logic_error("NDayFromDate: not built yet"); }
QString TTools::SubDate(const QString& Date1, const QString& Date2) { throw std::logic_error("SubDate: not built yet"); }
QString TTools::DaysToDateSpell(const QString& Days) { throw std::logic_error("DaysToDateSpell: not built yet"); }
QString TTools::ConvertDayToMonthDay(const QString& St) { throw std::logic_error("ConvertDayToMonthDay: not built yet"); }
int TTools::DateToInt(const QString& St) { throw std::logic_error("DateToInt: not built yet"); }
QString TTools::ConvetToDateCompare(const QString& St) { throw std::logic_error("ConvetToDateCompare: not built yet"); }
double TTools::SubTime(const QString& Time1, const QString& Time2) { throw std::logic_error("SubTime: not built yet"); }
QString TTools::NMinFromTime(const QString& InTime, const QString& N) { throw std::logic_error("NMinFromTime: not built yet"); }
