#pragma once
// One owner per ODBC handle, and the driver's diagnostics turned into SqlError. The
// native ODBC types stay inside the odbc folder: only this header and the sources beside
// it include sql.h.
#include "dataaccess/sqlerror.h"

#include <QString>
#include <sql.h>
#include <sqlext.h>

namespace da::odbc {

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "the driver manager must use UTF-16 wide characters");

// An environment, connection or statement handle, freed with its owner.
class OdbcHandle {
public:
    OdbcHandle() = default;
    // Allocates a handle of the type under its parent (SQL_NULL_HANDLE for an environment).
    // Throws SqlError.
    OdbcHandle(SQLSMALLINT type, SQLHANDLE parent);
    ~OdbcHandle();
    OdbcHandle(OdbcHandle&& other) noexcept;
    OdbcHandle& operator=(OdbcHandle&& other) noexcept;
    OdbcHandle(const OdbcHandle&) = delete;
    OdbcHandle& operator=(const OdbcHandle&) = delete;

    SQLHANDLE get() const { return m_handle; }
    SQLSMALLINT type() const { return m_type; }
    explicit operator bool() const { return m_handle != SQL_NULL_HANDLE; }

private:
    void release() noexcept;

    SQLSMALLINT m_type = 0;
    SQLHANDLE m_handle = SQL_NULL_HANDLE;
};

// The diagnostic records of a handle as one error: the first record's SQLSTATE and native
// error, every record's message on its own line. The driver's bracketed origin tags
// ("[FreeTDS][SQL Server]") are dropped so that the text is the server's own.
SqlError diagnostics(SQLSMALLINT type, SQLHANDLE handle, const QString& statement = {},
                     const QString& fallback = {});

// Throws the handle's diagnostics unless ret is SQL_SUCCESS, SQL_SUCCESS_WITH_INFO or
// SQL_NO_DATA.
void check(SQLRETURN ret, const OdbcHandle& handle, const QString& statement = {});

// "[FreeTDS][SQL Server]Invalid object name 'x'." -> "Invalid object name 'x'."
QString stripOriginTags(const QString& message);

// Wide-character views for the driver manager.
inline SQLWCHAR* wide(const QString& text) {
    return const_cast<SQLWCHAR*>(reinterpret_cast<const SQLWCHAR*>(text.utf16()));
}
inline QString fromWide(const SQLWCHAR* text, qsizetype length) {
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(text), length);
}

}  // namespace da::odbc
