#pragma once
// The Persian texts of the date and time messages and of spelled-out durations,
// exactly as the user sees them (blanks included; Arabic letter forms).
#include <QString>

namespace cal::text {

// Head of a refused date, before the text
inline QString dateHead() { return QStringLiteral(" تاريخ  "); }
// After the refused text
inline QString notCorrectTail() { return QStringLiteral("  صحيح نمي باشد"); }
// Wrong count of "/"
inline QString slashCount() { return QStringLiteral("تعداد / صحيح نيست"); }
// A character other than "/" and digits
inline QString dateDigits() { return QStringLiteral("جهت تاريخ از اعداد 0 تا 9 استفاده كنيد"); }
// An empty part (shown alone)
inline QString dateEntryError() { return QStringLiteral("اشكال در ورود تاريخ"); }
// Month outside 1 to 12
inline QString badMonth() { return QStringLiteral("ماه صحيح نيست"); }
// Day outside 1 to 31
inline QString badDay() { return QStringLiteral("روز صحيح نيست"); }
// Head of a refused time, before the text
inline QString timeHead() { return QStringLiteral(" ساعت  "); }
// Wrong count of ":"
inline QString colonCount() { return QStringLiteral("تعداد \":\" درست نيست"); }
// A character other than ":" and digits
inline QString timeSigns() { return QStringLiteral("علامتهاي مجاز اعداد 1 تا 9 و علامت \":\" مي باشد"); }
// An empty hour or minute
inline QString timeEntryError() { return QStringLiteral("اشكال در ورود ساعت"); }
// Hour 24 or more
inline QString badHour() { return QStringLiteral("ساعت صحيح نيست"); }
// Minute 60 or more
inline QString badMinute() { return QStringLiteral("دقيقه صحيح نيست"); }
// Head of the clock-text refusal
inline QString nowTimeHead() { return QStringLiteral("ساعت "); }
// After the clock text
inline QString nowTimeTail() { return QStringLiteral("    صحيح نمي باشد . ساعت به 00:00  تغيير يافت"); }
// The line break of every message.
inline QString lineBreak() { return QStringLiteral("\r"); }

// Duration words, one blank on each side.
inline QString yearsWord() { return QStringLiteral(" سال "); }
inline QString monthsWord() { return QStringLiteral(" ماه "); }
inline QString daysWord() { return QStringLiteral(" روز "); }

}  // namespace cal::text
