#include "dbservices/aggregates.h"

#include "dataaccess/sqlquote.h"
#include "platform/blanktext.h"

namespace aggregates {

namespace {

QString withCondition(const QString& sql, const QString& condition) {
    return blanktext::isBlank(condition) ? sql : sql + QStringLiteral(" Where ") + condition;
}

}  // namespace

QString sumOfFieldSql(const QString& table, const QString& field, const QString& condition) {
    return withCondition(QStringLiteral("Select Sum(") + field + QStringLiteral(")As Answer From ") + table, condition);
}

QString sumAndMultiSql(const QString& table, const QString& field1, const QString& field2, const QString& condition) {
    return sumOfFieldSql(table, field1 + QStringLiteral(" * ") + field2, condition);
}

QString pickListSql(bool distinct, const QString& table, const QString& field, const QString& condition) {
    const QString head = (distinct ? QStringLiteral("Select Distinct ") : QStringLiteral("Select ")) +
                         da::bracketedName(field) + QStringLiteral(" From ");
    if (blanktext::isBlank(condition))
        return head + da::bracketedName(table);
    return head + table + QStringLiteral(" Where ") + condition;
}

QString pickListEntry(const QString& value) { return blanktext::isBlank(value) ? QStringLiteral("-") : value; }

}  // namespace aggregates
