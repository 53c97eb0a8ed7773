#include "boardrows.h"

namespace boardrows {

QString continuationKey() { return QStringLiteral(" .. "); }

std::vector<BoardRow> wrap(const QString& key, const QString& value) {
    if (value.size() <= kValueWidth)
        return {{key, value}};
    std::vector<BoardRow> rows{{key, value.left(kValueWidth)}};
    QString rest = value.mid(kValueWidth);
    while (!rest.isEmpty()) {
        qsizetype n = kValueWidth;  // characters of rest that go into this row, 1-based count
        if (rest.size() > kValueWidth) {
            while (rest.at(n - 1) != u' ' && n < rest.size() - 1)
                ++n;
        }
        rows.push_back({continuationKey(), rest.left(n)});
        rest.remove(0, n);
    }
    return rows;
}

QString counterText(int rowCount) { return QStringLiteral("تعداد سطر : ") + QString::number(rowCount); }

QString proposedReportName(const QString& caption, const BoardRow& firstRow) {
    QString name = caption + u' ' + firstRow.key + u'=' + firstRow.value;
    name.remove(name.indexOf(u'='), 1);
    name.remove(u'/');
    qsizetype begin = 0;
    qsizetype end = name.size();
    while (begin < end && name.at(begin).unicode() <= 32)
        ++begin;
    while (end > begin && name.at(end - 1).unicode() <= 32)
        --end;
    return name.mid(begin, end - begin);
}

QStringList reportLines(const std::vector<BoardRow>& rows) {
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(rows.size()));
    for (const BoardRow& row : rows)
        lines.append(row.key + u'=' + row.value);
    return lines;
}

QStringList nameFilters(const QString& pairs) {
    const QStringList parts = pairs.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters.append(parts.at(i) + QStringLiteral(" (") + QString(parts.at(i + 1)).replace(u';', u' ') + u')');
    return filters;
}

}  // namespace boardrows
