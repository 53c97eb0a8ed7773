#include "backend.h"

#include "embedded/embeddedtransactions.h"
#include "odbc/odbcsession.h"
#include "sqlquote.h"

#include <algorithm>

namespace da {

void RowBlock::clear() {
    for (Column& c : columns) {
        c.integers.clear();
        c.reals.clear();
        c.text.clear();
        c.textEnds.clear();
        c.nulls.clear();
    }
    rows = 0;
}

namespace backend {

QString tableName(const QString& table) {
    return table.contains(u'[') || table.contains(u'.') ? table : bracketedName(table);
}

void Session::beginTransaction() { execute(QStringLiteral("BEGIN TRANSACTION")); }
void Session::commitTransaction() { execute(QStringLiteral("COMMIT TRANSACTION")); }
void Session::rollbackTransaction() { execute(QStringLiteral("ROLLBACK TRANSACTION")); }

void Session::insertRows(const QString& table, const RowBlock& rows) {
    const size_t width = rows.columns.size();
    if (width == 0 || rows.rows == 0)
        return;
    // SQL Server takes at most 2,100 parameters and 1,000 rows of values per statement.
    const size_t perStatement = std::clamp<size_t>(2000 / width, 1, 1000);
    QString row = QStringLiteral("(?");
    for (size_t c = 1; c < width; ++c)
        row += QLatin1String(",?");
    row += u')';
    const QString head = QStringLiteral("INSERT INTO ") + tableName(table) + QStringLiteral(" VALUES ");
    QString fullSql;
    std::vector<QVariant> params;
    for (size_t first = 0; first < rows.rows; first += perStatement) {
        const size_t count = std::min(perStatement, rows.rows - first);
        QString partSql;
        QString& sql = count == perStatement && !fullSql.isEmpty() ? fullSql : partSql;
        if (sql.isEmpty()) {
            sql = head + row;
            for (size_t r = 1; r < count; ++r)
                sql += u',' + row;
        }
        params.clear();
        params.reserve(count * width);
        for (size_t r = first; r < first + count; ++r) {
            for (const RowBlock::Column& c : rows.columns) {
                if (c.nulls[r]) {
                    params.emplace_back();
                    continue;
                }
                switch (c.type) {
                case RowBlock::Type::Integer: params.emplace_back(c.integers[r]); break;
                case RowBlock::Type::Real: params.emplace_back(c.reals[r]); break;
                case RowBlock::Type::Text: {
                    const std::string_view v = c.textAt(r);
                    params.emplace_back(QString::fromUtf8(v.data(), static_cast<qsizetype>(v.size())));
                    break;
                }
                }
            }
        }
        execute(sql, params);
        if (count == perStatement && fullSql.isEmpty())
            fullSql = sql;
    }
}

std::unique_ptr<Session> openSession(const ConnectParams& params) {
    if (params.server.trimmed().startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        return std::make_unique<TransactionalEmbeddedSession>(params);
    }
    return odbc::openSession(params);
}

}  // namespace backend
}  // namespace da
