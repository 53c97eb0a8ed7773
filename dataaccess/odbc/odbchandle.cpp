#include "odbchandle.h"

#include <QStringList>
#include <algorithm>
#include <iterator>
#include <utility>

namespace da::odbc {

OdbcHandle::OdbcHandle(SQLSMALLINT type, SQLHANDLE parent) : m_type(type) {
    SQLRETURN ret = SQLAllocHandle(type, parent, &m_handle);
    if (!SQL_SUCCEEDED(ret)) {
        m_handle = SQL_NULL_HANDLE;
        if (parent != SQL_NULL_HANDLE) {
            SQLSMALLINT parentType = type == SQL_HANDLE_STMT ? SQL_HANDLE_DBC : SQL_HANDLE_ENV;
            throw diagnostics(parentType, parent, {}, QStringLiteral("ODBC handle allocation failed"));
        }
        throw SqlError(QStringLiteral("ODBC driver manager not available"));
    }
}

OdbcHandle::~OdbcHandle() { release(); }

OdbcHandle::OdbcHandle(OdbcHandle&& other) noexcept
    : m_type(other.m_type), m_handle(std::exchange(other.m_handle, nullptr)) {}

OdbcHandle& OdbcHandle::operator=(OdbcHandle&& other) noexcept {
    if (this != &other) {
        release();
        m_type = other.m_type;
        m_handle = std::exchange(other.m_handle, nullptr);
    }
    return *this;
}

void OdbcHandle::release() noexcept {
    if (m_handle == SQL_NULL_HANDLE)
        return;
    if (m_type == SQL_HANDLE_DBC)
        SQLDisconnect(m_handle);  // harmless when never connected
    SQLFreeHandle(m_type, m_handle);
    m_handle = SQL_NULL_HANDLE;
}

QString stripOriginTags(const QString& message) {
    qsizetype pos = 0;
    while (pos < message.size() && message.at(pos) == u'[') {
        qsizetype close = message.indexOf(u']', pos);
        if (close < 0)
            break;
        pos = close + 1;
    }
    return message.mid(pos).trimmed();
}

SqlError diagnostics(SQLSMALLINT type, SQLHANDLE handle, const QString& statement,
                     const QString& fallback) {
    QStringList messages;
    QString firstState;
    int firstNative = 0;
    for (SQLSMALLINT record = 1;; ++record) {
        SQLWCHAR state[6] = {};
        SQLINTEGER native = 0;
        SQLWCHAR text[1024] = {};
        SQLSMALLINT length = 0;
        SQLRETURN ret = SQLGetDiagRecW(type, handle, record, state, &native, text,
                                       SQLSMALLINT(std::size(text)), &length);
        if (!SQL_SUCCEEDED(ret))
            break;
        length = std::min<SQLSMALLINT>(length, SQLSMALLINT(std::size(text) - 1));
        if (record == 1) {
            firstState = fromWide(state, 5);
            firstNative = int(native);
        }
        QString message = stripOriginTags(fromWide(text, length));
        if (!message.isEmpty() && !messages.contains(message))
            messages.append(message);
    }
    if (messages.isEmpty())
        messages.append(fallback.isEmpty() ? QStringLiteral("ODBC call failed") : fallback);
    return SqlError(messages.join(u'\n'), firstNative, firstState, statement);
}

void check(SQLRETURN ret, const OdbcHandle& handle, const QString& statement) {
    if (SQL_SUCCEEDED(ret) || ret == SQL_NO_DATA)
        return;
    if (ret == SQL_INVALID_HANDLE)
        throw SqlError(QStringLiteral("ODBC handle not valid"), 0, {}, statement);
    throw diagnostics(handle.type(), handle.get(), statement);
}

}  // namespace da::odbc
