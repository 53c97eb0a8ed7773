#pragma once
// The SQL texts of the aggregates and pick lists. Names and conditions are pasted as
// the caller gives them; a condition that is empty after trimming leaves the WHERE
// clause out.
#include <QString>

namespace aggregates {

// "Select Sum(field)As Answer From table[ Where condition]".
QString sumOfFieldSql(const QString& table, const QString& field, const QString& condition);
// "Select Sum(field1 * field2)As Answer From table[ Where condition]".
QString sumAndMultiSql(const QString& table, const QString& field1, const QString& field2, const QString& condition);

// "Select [Distinct ][field] From [table]" without a condition, "... From table Where
// condition" with one: the table stands bare when a condition follows it. A "]"
// inside a bracketed name is doubled, so the brackets always enclose the whole name.
QString pickListSql(bool distinct, const QString& table, const QString& field, const QString& condition);

// The entry a pick list shows for a value: "-" for one that is empty after trimming,
// else the value as read.
QString pickListEntry(const QString& value);

}  // namespace aggregates
