#pragma once
// Text work of the statement runners and the schema probes: pure functions.
#include <QString>

namespace sqltext {

// Removes leading blanks (the character 32 only; tabs and line breaks stay).
QString removeLeadingBlanks(const QString& statement);

// Whether the first six characters read SELECT in any letter case.
bool startsWithSelect(const QString& statement);

// The counted form of a SELECT: "Select Count(" + the text between the leading SELECT
// and the first FROM (blanks included) + ") As Res " + " " + the rest from that FROM
// on. Without any FROM the column list is empty and the rest is everything after
// SELECT, so "SELECT 1" becomes "Select Count() As Res   1".
QString countedForm(const QString& select);

// The probes' SQL texts.
QString fieldExistSql(const QString& table, const QString& field);
QString tableExistSql(const QString& table);
QString databaseExistSql(const QString& database);
QString spExistSql(const QString& procedure);
QString viewExistSql(const QString& view);
QString dropViewSafeSql(const QString& view);

}  // namespace sqltext
