#pragma once
// The texts of the run-time input, list and folder dialogs.
#include <QString>

namespace inputtexts {

// Caption of the Persian free-text and list queries.
inline const QString kInQueryCaption = QStringLiteral("سوال");
// Caption of the English free-text query.
inline const QString kInQueryEngCaption = QStringLiteral("دريافت ورودي");
// Caption of the password query.
inline const QString kPassInQueryCaption = QStringLiteral("دريافت رمز ورود");
// Caption of the pick list over a query's rows.
inline const QString kSelectFromListCaption = QStringLiteral("ليست انتخابي");
inline const QString kOkCaption = QStringLiteral("قبول");
inline const QString kCancelCaption = QStringLiteral("انصراف");
// The catch-all entry that a choice of one item never offers.
inline const QString kAllGroupsEntry = QStringLiteral(".همه گروهها.");
// The list's command could not be run (ends in a blank).
inline const QString kListCommandFailed = QStringLiteral("خطا در اجراي دستور تشكيل ليست ");

}  // namespace inputtexts
