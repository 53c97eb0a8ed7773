#include "odbcbulkinsert.h"

#include "dataaccess/sqlquote.h"

#include <algorithm>
#include <vector>

namespace da::odbc {
namespace {

// One column's array of values and their length indicators.
struct ColumnArray {
    std::vector<SQLBIGINT> integers;
    std::vector<double> reals;
    std::vector<SQLWCHAR> chars;  // fixed slots of width + 1 characters
    std::vector<SQLLEN> indicators;
    SQLULEN width = 1;  // characters of the longest text
};

void fill(ColumnArray& a, const RowBlock::Column& c, size_t first, size_t count) {
    a.indicators.assign(count, 0);
    switch (c.type) {
    case RowBlock::Type::Integer:
        a.integers.assign(c.integers.begin() + qsizetype(first), c.integers.begin() + qsizetype(first + count));
        break;
    case RowBlock::Type::Real:
        a.reals.assign(c.reals.begin() + qsizetype(first), c.reals.begin() + qsizetype(first + count));
        break;
    case RowBlock::Type::Text: {
        std::vector<QString> texts(count);
        a.width = 1;
        for (size_t r = 0; r < count; ++r) {
            const std::string_view v = c.textAt(first + r);
            texts[r] = QString::fromUtf8(v.data(), static_cast<qsizetype>(v.size()));
            a.width = std::max<SQLULEN>(a.width, SQLULEN(texts[r].size()));
        }
        const size_t slot = a.width + 1;
        a.chars.assign(count * slot, 0);
        for (size_t r = 0; r < count; ++r) {
            std::copy_n(reinterpret_cast<const SQLWCHAR*>(texts[r].utf16()), texts[r].size(), a.chars.data() + r * slot);
            a.indicators[r] = SQLLEN(texts[r].size() * sizeof(SQLWCHAR));
        }
        break;
    }
    }
    for (size_t r = 0; r < count; ++r) {
        if (c.nulls[first + r])
            a.indicators[r] = SQL_NULL_DATA;
    }
}

void bindColumn(const OdbcHandle& statement, SQLUSMALLINT number, const RowBlock::Column& c, ColumnArray& a,
                const QString& sql) {
    SQLSMALLINT cType = SQL_C_WCHAR;
    SQLSMALLINT sqlType = SQL_WVARCHAR;
    SQLULEN size = a.width;
    SQLPOINTER data = a.chars.data();
    SQLLEN slotBytes = SQLLEN((a.width + 1) * sizeof(SQLWCHAR));
    if (c.type == RowBlock::Type::Integer) {
        cType = SQL_C_SBIGINT;
        sqlType = SQL_BIGINT;
        size = 19;
        data = a.integers.data();
        slotBytes = sizeof(SQLBIGINT);
    } else if (c.type == RowBlock::Type::Real) {
        cType = SQL_C_DOUBLE;
        sqlType = SQL_DOUBLE;
        size = 15;
        data = a.reals.data();
        slotBytes = sizeof(double);
    } else if (a.width > 4000) {
        sqlType = SQL_WLONGVARCHAR;
    }
    check(SQLBindParameter(statement.get(), number, SQL_PARAM_INPUT, cType, sqlType, size, 0, data, slotBytes,
                           a.indicators.data()),
          statement, sql);
}

}  // namespace

void insertRowArrays(const OdbcHandle& connection, const QString& table, const RowBlock& rows, size_t arrayRows) {
    const size_t width = rows.columns.size();
    if (width == 0 || rows.rows == 0)
        return;
    QString sql = QStringLiteral("INSERT INTO ") + backend::tableName(table) + QStringLiteral(" VALUES (?");
    for (size_t c = 1; c < width; ++c)
        sql += QLatin1String(",?");
    sql += u')';

    OdbcHandle statement(SQL_HANDLE_STMT, connection.get());
    check(SQLPrepareW(statement.get(), wide(sql), SQL_NTS), statement, sql);
    check(SQLSetStmtAttr(statement.get(), SQL_ATTR_PARAM_BIND_TYPE,
                         reinterpret_cast<SQLPOINTER>(SQLULEN(SQL_PARAM_BIND_BY_COLUMN)), 0),
          statement, sql);
    std::vector<ColumnArray> arrays(width);
    std::vector<SQLUSMALLINT> status(std::max<size_t>(arrayRows, 1));
    SQLULEN processed = 0;
    check(SQLSetStmtAttr(statement.get(), SQL_ATTR_PARAM_STATUS_PTR, status.data(), 0), statement, sql);
    check(SQLSetStmtAttr(statement.get(), SQL_ATTR_PARAMS_PROCESSED_PTR, &processed, 0), statement, sql);
    for (size_t first = 0; first < rows.rows; first += status.size()) {
        const size_t count = std::min(status.size(), rows.rows - first);
        check(SQLSetStmtAttr(statement.get(), SQL_ATTR_PARAMSET_SIZE, reinterpret_cast<SQLPOINTER>(SQLULEN(count)), 0),
              statement, sql);
        for (size_t c = 0; c < width; ++c) {
            fill(arrays[c], rows.columns[c], first, count);
            bindColumn(statement, SQLUSMALLINT(c + 1), rows.columns[c], arrays[c], sql);
        }
        std::fill(status.begin(), status.end(), SQLUSMALLINT(SQL_PARAM_UNUSED));
        check(SQLExecute(statement.get()), statement, sql);
        // A driver may report a refused row in its status alone.
        for (size_t r = 0; r < count; ++r) {
            if (status[r] == SQL_PARAM_ERROR)
                throw diagnostics(SQL_HANDLE_STMT, statement.get(), sql,
                                  QStringLiteral("Row %1 of the insert was refused.").arg(first + r + 1));
        }
        // Some drivers report a row's failure with the counts that follow.
        for (SQLRETURN more = SQLMoreResults(statement.get()); more != SQL_NO_DATA;
             more = SQLMoreResults(statement.get()))
            check(more, statement, sql);
    }
}

}  // namespace da::odbc
