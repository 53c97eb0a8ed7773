#pragma once
// Expected message texts, copied from the system's own wording (not from the code).
#include <QString>

namespace expected {

inline const QString dateHead = QStringLiteral(" تاريخ  ");
inline const QString notCorrectTail = QStringLiteral("  صحيح نمي باشد");
inline const QString slashCount = QStringLiteral("تعداد / صحيح نيست");
inline const QString dateDigits = QStringLiteral("جهت تاريخ از اعداد 0 تا 9 استفاده كنيد");
inline const QString dateEntryError = QStringLiteral("اشكال در ورود تاريخ");
inline const QString badMonth = QStringLiteral("ماه صحيح نيست");
inline const QString badDay = QStringLiteral("روز صحيح نيست");
inline const QString timeHead = QStringLiteral(" ساعت  ");
inline const QString colonCount = QStringLiteral("تعداد \":\" درست نيست");
inline const QString timeSigns = QStringLiteral("علامتهاي مجاز اعداد 1 تا 9 و علامت \":\" مي باشد");
inline const QString timeEntryError = QStringLiteral("اشكال در ورود ساعت");
inline const QString badHour = QStringLiteral("ساعت صحيح نيست");
inline const QString badMinute = QStringLiteral("دقيقه صحيح نيست");
inline const QString nowTimeHead = QStringLiteral("ساعت ");
inline const QString nowTimeTail = QStringLiteral("    صحيح نمي باشد . ساعت به 00:00  تغيير يافت");
inline const QString yearsWord = QStringLiteral(" سال ");
inline const QString monthsWord = QStringLiteral(" ماه ");
inline const QString daysWord = QStringLiteral(" روز ");

}  // namespace expected
