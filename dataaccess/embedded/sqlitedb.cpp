#include "sqlitedb.h"

#include "dataaccess/sqlerror.h"
#include "servererrors.h"
#include "sqlfunctions.h"

#include <sqlite3.h>

namespace da::embedded {

namespace {

[[noreturn]] void fail(sqlite3* db, const QString& statement = {}) {
    const int code = sqlite3_extended_errcode(db);
    throw serverError(serverMessage(QString::fromUtf8(sqlite3_errmsg(db)), code), statement);
}

}  // namespace

SqliteDb::SqliteDb(const QString& path, bool create) {
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0) | SQLITE_OPEN_NOMUTEX;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("out of memory");
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        throw serverError(msg);
    }
    sqlite3_extended_result_codes(m_db, 1);
    // SQLite 3.40's Bloom filters hash a text's length, so a join under a collation
    // that equates texts of different lengths (trailing blanks, accents) lost rows.
    // 0x00080000 is SQLite's internal flag for the Bloom filter optimisation.
    constexpr int kBloomFilter = 0x00080000;
    sqlite3_test_control(SQLITE_TESTCTRL_OPTIMIZATIONS, m_db, kBloomFilter);
    // "name" is always a name: an unknown one must fail, not turn into a text.
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
    // SQL Server's most columns of a table (SQLite's own default is 2,000).
    sqlite3_limit(m_db, SQLITE_LIMIT_COLUMN, kMaxColumns);
    try {
        registerSqlFunctions(m_db);
    } catch (...) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        throw;
    }
}

SqliteDb::~SqliteDb() { sqlite3_close_v2(m_db); }

void SqliteDb::exec(const QString& sql) {
    if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK) fail(m_db, sql);
}

QVariant SqliteDb::scalar(const QString& sql, const std::vector<QVariant>& params) {
    SqliteStatement st(*this, sql);
    st.bind(params);
    return st.step() && st.columnCount() > 0 ? st.value(0) : QVariant();
}

long long SqliteDb::changes() const { return sqlite3_changes64(m_db); }

SqliteTransaction::SqliteTransaction(SqliteDb& db) : m_db(db), m_own(sqlite3_get_autocommit(db.handle()) != 0) {
    m_db.exec(m_own ? QStringLiteral("BEGIN") : QStringLiteral("SAVEPOINT tsql_statement"));
}

SqliteTransaction::~SqliteTransaction() {
    if (m_done) return;
    // A failure the engine rolled back itself leaves nothing to roll back.
    sqlite3_exec(m_db.handle(), m_own ? "ROLLBACK" : "ROLLBACK TO tsql_statement; RELEASE tsql_statement", nullptr, nullptr,
                 nullptr);
}

void SqliteTransaction::commit() {
    m_db.exec(m_own ? QStringLiteral("COMMIT") : QStringLiteral("RELEASE tsql_statement"));
    m_done = true;
}

SqliteStatement::SqliteStatement(SqliteDb& db, const QString& sql) : m_db(db) {
    const QByteArray u = sql.toUtf8();
    if (sqlite3_prepare_v2(db.handle(), u.constData(), static_cast<int>(u.size()), &m_stmt, nullptr) != SQLITE_OK) {
        fail(db.handle(), sql);
    }
}

SqliteStatement::~SqliteStatement() { sqlite3_finalize(m_stmt); }

void SqliteStatement::bind(const std::vector<QVariant>& params) {
    const int n = parameterCount();
    for (int i = 0; i < n; ++i) {
        const QVariant v = i < static_cast<int>(params.size()) ? params[static_cast<size_t>(i)] : QVariant();
        int rc = SQLITE_OK;
        const int at = i + 1;
        if (!v.isValid() || v.isNull()) {
            rc = sqlite3_bind_null(m_stmt, at);
        } else {
            switch (v.typeId()) {
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::LongLong:
            case QMetaType::ULongLong:
            case QMetaType::Bool:
                rc = sqlite3_bind_int64(m_stmt, at, v.toLongLong());
                break;
            case QMetaType::Double:
            case QMetaType::Float:
                rc = sqlite3_bind_double(m_stmt, at, v.toDouble());
                break;
            case QMetaType::QByteArray: {
                const QByteArray b = v.toByteArray();
                rc = sqlite3_bind_blob64(m_stmt, at, b.constData(), static_cast<sqlite3_uint64>(b.size()),
                                         SQLITE_TRANSIENT);
                break;
            }
            default: {
                const QByteArray t = v.toString().toUtf8();
                rc = sqlite3_bind_text64(m_stmt, at, t.constData(), static_cast<sqlite3_uint64>(t.size()),
                                         SQLITE_TRANSIENT, SQLITE_UTF8);
            }
            }
        }
        if (rc != SQLITE_OK) fail(m_db.handle());
    }
}

bool SqliteStatement::step() {
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    fail(m_db.handle(), QString::fromUtf8(sqlite3_sql(m_stmt)));
}

int SqliteStatement::columnCount() const { return sqlite3_column_count(m_stmt); }

QString SqliteStatement::columnName(int i) const { return QString::fromUtf8(sqlite3_column_name(m_stmt, i)); }

QString SqliteStatement::columnDeclType(int i) const {
    const char* t = sqlite3_column_decltype(m_stmt, i);
    return t ? QString::fromUtf8(t) : QString();
}

QVariant SqliteStatement::value(int i) const {
    switch (sqlite3_column_type(m_stmt, i)) {
    case SQLITE_INTEGER:
        return QVariant(static_cast<qlonglong>(sqlite3_column_int64(m_stmt, i)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_stmt, i));
    case SQLITE_TEXT: {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, i));
        return QVariant(QString::fromUtf8(p, sqlite3_column_bytes(m_stmt, i)));
    }
    case SQLITE_BLOB: {
        const auto* p = static_cast<const char*>(sqlite3_column_blob(m_stmt, i));
        return QVariant(QByteArray(p, sqlite3_column_bytes(m_stmt, i)));
    }
    default:
        return QVariant();
    }
}

int SqliteStatement::parameterCount() const { return sqlite3_bind_parameter_count(m_stmt); }

}  // namespace da::embedded
