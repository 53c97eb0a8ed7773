#include "sqlitedb.h"

#include "dataaccess/sqlerror.h"
#include "sqlfunctions.h"

#include <QRegularExpression>
#include <sqlite3.h>

namespace da::embedded {

namespace {

// SQL Server's error number of a message worded as SQL Server words it, else SQLite's code.
int nativeErrorOf(const QString& message, int code) {
    static const struct {
        const char* start;
        int number;
    } numbers[] = {
        {"Arithmetic overflow error", 8115},
        {"Conversion failed when converting", 245},
        {"Error converting data type", 8114},
        {"String or binary data would be truncated", 8152},
        {"CREATE TABLE failed because a column", 1702},
    };
    for (const auto& n : numbers) {
        if (message.startsWith(QLatin1String(n.start))) return n.number;
    }
    return code;
}

[[noreturn]] void fail(sqlite3* db, const QString& statement = {}) {
    const int code = sqlite3_extended_errcode(db);
    const QString message = serverMessage(QString::fromUtf8(sqlite3_errmsg(db)), code);
    throw SqlError(message, nativeErrorOf(message, code), {}, statement);
}

QString bareName(QString name) {
    name = name.trimmed();
    if (name.startsWith(QLatin1String("main."))) name = name.mid(5);
    if (name.size() > 1 && name.startsWith(u'"') && name.endsWith(u'"')) name = name.mid(1, name.size() - 2);
    return name;
}

QString lastPart(const QString& name) {
    const int dot = name.lastIndexOf(u'.');
    return dot >= 0 ? name.mid(dot + 1) : name;
}

QString tableOf(const QString& qualified) {
    const int dot = qualified.indexOf(u'.');
    return dot >= 0 ? qualified.left(dot) : qualified;
}

}  // namespace

QString serverMessage(const QString& msg, int extendedCode) {
    auto match = [&](const char* pattern) {
        return QRegularExpression(QLatin1String(pattern)).match(msg);
    };
    QRegularExpressionMatch m;
    if ((m = match("^no such table: (.+)$")).hasMatch()) {
        return QStringLiteral("Invalid object name '%1'.").arg(bareName(m.captured(1)));
    }
    if ((m = match("^no such column: (.+)$")).hasMatch()) {
        return QStringLiteral("Invalid column name '%1'.").arg(lastPart(bareName(m.captured(1))));
    }
    if ((m = match("^(?:table|view|index|trigger) (.+) already exists$")).hasMatch()) {
        return QStringLiteral("There is already an object named '%1' in the database.").arg(bareName(m.captured(1)));
    }
    if ((m = match("^UNIQUE constraint failed: (.+)$")).hasMatch()) {
        const QString table = tableOf(m.captured(1).trimmed());
        if (extendedCode == SQLITE_CONSTRAINT_PRIMARYKEY) {
            return QStringLiteral("Violation of PRIMARY KEY constraint 'PK_%1'. Cannot insert duplicate key in object "
                                  "'dbo.%1'.").arg(table);
        }
        return QStringLiteral("Cannot insert duplicate key row in object 'dbo.%1' with unique index.").arg(table);
    }
    if ((m = match("^NOT NULL constraint failed: (.+)$")).hasMatch()) {
        const QString q = m.captured(1).trimmed();
        return QStringLiteral("Cannot insert the value NULL into column '%1', table 'dbo.%2'; column does not allow "
                              "nulls. INSERT fails.").arg(lastPart(q), tableOf(q));
    }
    if ((m = match("^too many columns on (.+)$")).hasMatch()) {
        return QStringLiteral("CREATE TABLE failed because a column in table '%1' exceeds the maximum of %2 columns.")
            .arg(bareName(m.captured(1)))
            .arg(SqliteDb::kMaxColumns);
    }
    if ((m = match("^near \"(.*)\": syntax error$")).hasMatch()) {
        return QStringLiteral("Incorrect syntax near '%1'.").arg(m.captured(1));
    }
    if (msg.endsWith(QLatin1String("incomplete input"))) return QStringLiteral("Incorrect syntax near the end of the statement.");
    if ((m = match("^no such function: (.+)$")).hasMatch()) {
        return QStringLiteral("'%1' is not a recognized built-in function name.").arg(m.captured(1));
    }
    if ((m = match("^wrong number of arguments to function (\\w+)\\(\\)$")).hasMatch()) {
        return QStringLiteral("The %1 function requires a different number of arguments.").arg(m.captured(1));
    }
    if ((m = match("^ambiguous column name: (.+)$")).hasMatch()) {
        return QStringLiteral("Ambiguous column name '%1'.").arg(lastPart(m.captured(1)));
    }
    if ((m = match("^no such (view|index|trigger): (.+)$")).hasMatch()) {
        return QStringLiteral("Cannot drop the %1 '%2', because it does not exist or you do not have permission.")
            .arg(m.captured(1), bareName(m.captured(2)));
    }
    if (match("has \\d+ columns but \\d+ values were supplied").hasMatch() ||
        match("^\\d+ values for \\d+ columns$").hasMatch() ||
        match("^all VALUES must have the same number of terms$").hasMatch()) {
        return QStringLiteral("Column name or number of supplied values does not match table definition.");
    }
    return msg;
}

SqliteDb::SqliteDb(const QString& path, bool create) {
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0) | SQLITE_OPEN_NOMUTEX;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("out of memory");
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        throw SqlError(msg, rc);
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
