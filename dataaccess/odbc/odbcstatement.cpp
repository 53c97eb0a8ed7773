#include "odbcstatement.h"

#include <QStringList>
#include <algorithm>
#include <array>
#include <utility>

namespace da::odbc {

OdbcStatement::OdbcStatement(const OdbcHandle& connection)
    : m_handle(SQL_HANDLE_STMT, connection.get()) {}

void OdbcStatement::bind(const std::vector<QVariant>& params, const QString& sql) {
    m_parameters.clear();
    SQLUSMALLINT number = 0;
    for (const QVariant& value : params) {
        ++number;
        Parameter& p = m_parameters.emplace_back();
        SQLSMALLINT cType = SQL_C_WCHAR;
        SQLSMALLINT sqlType = SQL_WVARCHAR;
        SQLULEN size = 1;
        SQLPOINTER data = nullptr;
        SQLLEN capacity = 0;
        if (value.isNull()) {
            p.indicator = SQL_NULL_DATA;
            data = p.text.data();
        } else {
            switch (value.typeId()) {
            case QMetaType::Bool:
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::Long:
            case QMetaType::LongLong:
            case QMetaType::Short:
            case QMetaType::Char:
            case QMetaType::UChar:
            case QMetaType::UShort:
                p.integer = value.toLongLong();
                cType = SQL_C_SBIGINT;
                sqlType = SQL_BIGINT;
                size = 19;
                data = &p.integer;
                break;
            case QMetaType::Double:
            case QMetaType::Float:
                p.real = value.toDouble();
                cType = SQL_C_DOUBLE;
                sqlType = SQL_DOUBLE;
                size = 15;
                data = &p.real;
                break;
            case QMetaType::QByteArray:
                p.bytes = value.toByteArray();
                cType = SQL_C_BINARY;
                sqlType = p.bytes.size() > 8000 ? SQL_LONGVARBINARY : SQL_VARBINARY;
                size = SQLULEN(std::max<qsizetype>(p.bytes.size(), 1));
                data = p.bytes.data();
                capacity = p.bytes.size();
                p.indicator = p.bytes.size();
                break;
            default:
                p.text = value.toString();
                sqlType = p.text.size() > 4000 ? SQL_WLONGVARCHAR : SQL_WVARCHAR;
                size = SQLULEN(std::max<qsizetype>(p.text.size(), 1));
                data = p.text.data();
                capacity = SQLLEN(p.text.size() * 2);
                p.indicator = capacity;
                break;
            }
        }
        check(SQLBindParameter(m_handle.get(), number, SQL_PARAM_INPUT, cType, sqlType, size, 0,
                               data, capacity, &p.indicator),
              m_handle, sql);
    }
}

ResultSet OdbcStatement::execute(const QString& sql, const std::vector<QVariant>& params) {
    const QString text = params.empty() ? sql : positionalMarkers(sql);
    bind(params, sql);
    check(SQLExecDirectW(m_handle.get(), wide(text), SQL_NTS), m_handle, sql);

    ResultSet last;
    long long affected = -1;
    for (;;) {
        SQLSMALLINT columns = 0;
        check(SQLNumResultCols(m_handle.get(), &columns), m_handle, sql);
        if (columns > 0) {
            last = readResultSet(sql);
        } else {
            SQLLEN count = -1;
            if (SQL_SUCCEEDED(SQLRowCount(m_handle.get(), &count)) && count >= 0)
                affected = count;
        }
        SQLRETURN ret = SQLMoreResults(m_handle.get());
        if (ret == SQL_NO_DATA)
            break;
        check(ret, m_handle, sql);
    }
    SQLFreeStmt(m_handle.get(), SQL_RESET_PARAMS);
    m_parameters.clear();
    last.rowsAffected = affected;
    return last;
}

ResultSet OdbcStatement::readResultSet(const QString& sql) {
    SQLSMALLINT count = 0;
    check(SQLNumResultCols(m_handle.get(), &count), m_handle, sql);
    std::vector<Column> columns(static_cast<size_t>(count));
    ResultSet result;
    result.hasRows = true;
    for (SQLUSMALLINT i = 1; i <= SQLUSMALLINT(count); ++i) {
        std::array<SQLWCHAR, 256> name{};
        SQLSMALLINT nameLength = 0;
        SQLULEN size = 0;
        SQLSMALLINT nullable = 0;
        Column& c = columns[i - 1];
        check(SQLDescribeColW(m_handle.get(), i, name.data(), SQLSMALLINT(name.size()), &nameLength,
                              &c.type, &size, &c.digits, &nullable),
              m_handle, sql);
        c.name = fromWide(name.data(), std::min<qsizetype>(nameLength, qsizetype(name.size()) - 1));
        result.columns.append(c.name);
    }
    for (;;) {
        SQLRETURN ret = SQLFetch(m_handle.get());
        if (ret == SQL_NO_DATA)
            break;
        check(ret, m_handle, sql);
        std::vector<QVariant>& row = result.rows.emplace_back();
        row.reserve(columns.size());
        for (SQLUSMALLINT i = 1; i <= SQLUSMALLINT(count); ++i)
            row.push_back(readValue(i, columns[i - 1], sql));
    }
    return result;
}

QVariant OdbcStatement::readValue(SQLUSMALLINT index, const Column& column, const QString& sql) {
    SQLLEN indicator = 0;
    switch (column.type) {
    case SQL_BIT:
    case SQL_TINYINT:
    case SQL_SMALLINT:
    case SQL_INTEGER:
    case SQL_BIGINT: {
        qint64 v = 0;
        check(SQLGetData(m_handle.get(), index, SQL_C_SBIGINT, &v, 0, &indicator), m_handle, sql);
        return indicator == SQL_NULL_DATA ? QVariant() : QVariant(qlonglong(v));
    }
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE: {
        double v = 0;
        check(SQLGetData(m_handle.get(), index, SQL_C_DOUBLE, &v, 0, &indicator), m_handle, sql);
        return indicator == SQL_NULL_DATA ? QVariant() : QVariant(v);
    }
    case SQL_DECIMAL:
    case SQL_NUMERIC: {
        // Read as text so that whole numbers wider than a double's mantissa stay exact.
        QVariant text = readText(index, sql);
        if (text.isNull())
            return text;
        bool ok = false;
        if (column.digits == 0) {
            qlonglong whole = text.toString().trimmed().toLongLong(&ok);
            if (ok)
                return whole;
        }
        double v = text.toString().trimmed().toDouble(&ok);
        if (!ok)
            throw SqlError(QStringLiteral("Cannot convert '%1' to a number").arg(text.toString()), 0,
                           QStringLiteral("22018"), sql);
        return v;
    }
    case SQL_BINARY:
    case SQL_VARBINARY:
    case SQL_LONGVARBINARY:
        return readBinary(index, sql);
    default:
        return readText(index, sql);
    }
}

QVariant OdbcStatement::readText(SQLUSMALLINT index, const QString& sql) {
    std::array<SQLWCHAR, 2048> buffer{};
    const SQLLEN bytes = SQLLEN(buffer.size() * sizeof(SQLWCHAR));
    QString text;
    for (;;) {
        SQLLEN indicator = 0;
        SQLRETURN ret = SQLGetData(m_handle.get(), index, SQL_C_WCHAR, buffer.data(), bytes, &indicator);
        if (ret == SQL_NO_DATA)
            break;
        check(ret, m_handle, sql);
        if (indicator == SQL_NULL_DATA)
            return {};
        // A full buffer (truncated: more follows) holds its capacity less the terminator.
        bool truncated = ret == SQL_SUCCESS_WITH_INFO && (indicator == SQL_NO_TOTAL || indicator >= bytes);
        qsizetype chars = truncated ? qsizetype(buffer.size()) - 1 : qsizetype(indicator / 2);
        text.append(fromWide(buffer.data(), chars));
        if (!truncated)
            break;
    }
    return text;
}

QVariant OdbcStatement::readBinary(SQLUSMALLINT index, const QString& sql) {
    std::array<char, 8192> buffer{};
    const SQLLEN bytes = SQLLEN(buffer.size());
    QByteArray data;
    for (;;) {
        SQLLEN indicator = 0;
        SQLRETURN ret = SQLGetData(m_handle.get(), index, SQL_C_BINARY, buffer.data(), bytes, &indicator);
        if (ret == SQL_NO_DATA)
            break;
        check(ret, m_handle, sql);
        if (indicator == SQL_NULL_DATA)
            return {};
        bool truncated = ret == SQL_SUCCESS_WITH_INFO && (indicator == SQL_NO_TOTAL || indicator > bytes);
        data.append(buffer.data(), truncated ? bytes : qsizetype(indicator));
        if (!truncated)
            break;
    }
    return data;
}

QStringList OdbcStatement::primaryKeys(const QString& schema, const QString& table) {
    check(SQLPrimaryKeysW(m_handle.get(), nullptr, 0, schema.isEmpty() ? nullptr : wide(schema),
                          schema.isEmpty() ? 0 : SQL_NTS, wide(table), SQL_NTS),
          m_handle, table);
    ResultSet keys = readResultSet(table);
    SQLFreeStmt(m_handle.get(), SQL_CLOSE);
    // Columns of the catalogue result: 4 COLUMN_NAME, 5 KEY_SEQ.
    std::vector<std::pair<long long, QString>> ordered;
    for (const auto& row : keys.rows) {
        if (row.size() >= 5)
            ordered.emplace_back(row[4].toLongLong(), row[3].toString());
    }
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    QStringList names;
    for (const auto& [seq, name] : ordered)
        names.append(name);
    return names;
}

QString positionalMarkers(const QString& sql) {
    QString out;
    out.reserve(sql.size());
    const qsizetype n = sql.size();
    qsizetype i = 0;
    auto copyUntil = [&](qsizetype end) {
        out.append(sql.mid(i, end - i));
        i = end;
    };
    while (i < n) {
        const QChar c = sql.at(i);
        if (c == u'\'' || c == u'"' || c == u'[') {
            const QChar close = c == u'[' ? QChar(u']') : c;
            qsizetype j = i + 1;
            while (j < n) {
                if (sql.at(j) == close) {
                    if (j + 1 < n && sql.at(j + 1) == close) {  // doubled: stays inside
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            copyUntil(std::min(j + 1, n));
        } else if (c == u'-' && i + 1 < n && sql.at(i + 1) == u'-') {
            qsizetype end = sql.indexOf(u'\n', i);
            copyUntil(end < 0 ? n : end);
        } else if (c == u'/' && i + 1 < n && sql.at(i + 1) == u'*') {
            qsizetype end = sql.indexOf(QStringLiteral("*/"), i + 2);
            copyUntil(end < 0 ? n : end + 2);
        } else if (c == u':' && i + 1 < n && sql.at(i + 1) == u':') {
            copyUntil(i + 2);
        } else if (c == u':' && i + 1 < n && (sql.at(i + 1).isLetter() || sql.at(i + 1) == u'_')) {
            qsizetype j = i + 1;
            while (j < n && (sql.at(j).isLetterOrNumber() || sql.at(j) == u'_'))
                ++j;
            out.append(u'?');
            i = j;
        } else {
            out.append(c);
            ++i;
        }
    }
    return out;
}

}  // namespace da::odbc
