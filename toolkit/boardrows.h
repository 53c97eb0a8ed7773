#pragma once
// The message board's rows as plain values: how a posted value is spread over rows,
// the row counter's text, and what a saved report looks like.
#include <QString>
#include <QStringList>
#include <vector>

struct BoardRow {
    QString key;
    QString value;
    bool operator==(const BoardRow&) const = default;
};

namespace boardrows {

// Longest value that fits one row.
constexpr int kValueWidth = 70;
// Key of a row that carries the next part of a value too long for one row.
QString continuationKey();

// The rows one posted (key, value) pair becomes: the first kValueWidth characters under
// the key, then continuation rows. A continuation row of a remainder longer than
// kValueWidth runs on to the first blank at or after position kValueWidth, but never
// takes the remainder's last character.
std::vector<BoardRow> wrap(const QString& key, const QString& value);

// The row counter: the label text followed by the count.
QString counterText(int rowCount);

// The file name proposed for saving: caption, blank, first row as key "=" value; then
// the first "=" of that text and every "/" are removed and both ends trimmed of
// characters of code 32 and below.
QString proposedReportName(const QString& caption, const BoardRow& firstRow);

// One line per row, key "=" value.
QStringList reportLines(const std::vector<BoardRow>& rows);

// A filter of "text|patterns|text|patterns" pairs as name filters of a Qt file dialog.
QStringList nameFilters(const QString& pairs);

}  // namespace boardrows
