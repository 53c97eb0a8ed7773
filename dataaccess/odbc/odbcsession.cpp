#include "odbcsession.h"

#include "odbcbulkinsert.h"
#include "odbchandle.h"
#include "odbcstatement.h"
#include "odbctarget.h"

#include <array>

namespace da::odbc {

namespace {

class OdbcSession : public backend::Session {
public:
    explicit OdbcSession(const ConnectParams& params);

    ResultSet execute(const QString& sql, const std::vector<QVariant>& params = {}) override;
    ConnectParams inEffect() const override;
    QStringList databases() override;
    QStringList primaryKey(const QString& table) override;
    QString connectOptions() const override { return m_target.options; }
    void beginTransaction() override { setAutocommit(false); }
    void commitTransaction() override { endTransaction(SQL_COMMIT); }
    void rollbackTransaction() override { endTransaction(SQL_ROLLBACK); }
    void insertRows(const QString& table, const RowBlock& rows) override {
        insertRowArrays(m_connection, table, rows);
    }

private:
    void setAutocommit(bool on);
    void endTransaction(SQLSMALLINT completion);

    ConnectParams m_params;
    OdbcTarget m_target;
    OdbcHandle m_environment;
    OdbcHandle m_connection;  // declared after its environment: freed before it
};

OdbcHandle makeEnvironment() {
    OdbcHandle env(SQL_HANDLE_ENV, SQL_NULL_HANDLE);
    check(SQLSetEnvAttr(env.get(), SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0),
          env);
    return env;
}

QStringList driverNames(const OdbcHandle& env) {
    QStringList names;
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    for (;;) {
        std::array<SQLWCHAR, 256> name{};
        std::array<SQLWCHAR, 1024> attributes{};
        SQLSMALLINT nameLength = 0;
        SQLSMALLINT attributesLength = 0;
        SQLRETURN ret = SQLDriversW(env.get(), direction, name.data(), SQLSMALLINT(name.size()), &nameLength,
                                    attributes.data(), SQLSMALLINT(attributes.size()), &attributesLength);
        if (!SQL_SUCCEEDED(ret))
            break;
        names.append(fromWide(name.data(), std::min<qsizetype>(nameLength, qsizetype(name.size()) - 1)));
        direction = SQL_FETCH_NEXT;
    }
    return names;
}

// "Dbo.Info" -> {"Dbo", "Info"}; brackets around either part are dropped.
std::pair<QString, QString> splitTableName(const QString& name) {
    auto unbracket = [](QString s) {
        s = s.trimmed();
        if (s.startsWith(u'[') && s.endsWith(u']'))
            s = s.mid(1, s.size() - 2);
        return s;
    };
    qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0)
        return {QString(), unbracket(name)};
    return {unbracket(name.left(dot)), unbracket(name.mid(dot + 1))};
}

OdbcSession::OdbcSession(const ConnectParams& params)
    : m_params(params), m_environment(makeEnvironment()) {
    const QString driver = chooseDriver(qEnvironmentVariable(driverVariable), driverNames(m_environment),
                                        installedFreeTdsLibrary());
    m_target = makeTarget(params, driver);
    m_connection = OdbcHandle(SQL_HANDLE_DBC, m_environment.get());
    if (params.loginTimeoutSeconds >= 0) {
        check(SQLSetConnectAttr(m_connection.get(), SQL_ATTR_LOGIN_TIMEOUT,
                                reinterpret_cast<SQLPOINTER>(SQLULEN(params.loginTimeoutSeconds)), 0),
              m_connection);
    }
    std::array<SQLWCHAR, 1024> completed{};
    SQLSMALLINT completedLength = 0;
    SQLRETURN ret = SQLDriverConnectW(m_connection.get(), nullptr, wide(m_target.connectString), SQL_NTS,
                                      completed.data(), SQLSMALLINT(completed.size()), &completedLength,
                                      SQL_DRIVER_NOPROMPT);
    // The connect string holds the password: it never goes into the error.
    if (!SQL_SUCCEEDED(ret))
        throw diagnostics(SQL_HANDLE_DBC, m_connection.get(), {},
                          QStringLiteral("Cannot connect to %1").arg(params.server));
}

void OdbcSession::setAutocommit(bool on) {
    check(SQLSetConnectAttr(m_connection.get(), SQL_ATTR_AUTOCOMMIT,
                            reinterpret_cast<SQLPOINTER>(SQLULEN(on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF)), 0),
          m_connection);
}

// Ends the transaction and goes back to one transaction per statement, also when the
// end itself fails.
void OdbcSession::endTransaction(SQLSMALLINT completion) {
    const SQLRETURN ret = SQLEndTran(SQL_HANDLE_DBC, m_connection.get(), completion);
    const SqlError failure = SQL_SUCCEEDED(ret) ? SqlError({}) : diagnostics(SQL_HANDLE_DBC, m_connection.get());
    setAutocommit(true);
    if (!SQL_SUCCEEDED(ret))
        throw failure;
}

ResultSet OdbcSession::execute(const QString& sql, const std::vector<QVariant>& params) {
    OdbcStatement statement(m_connection);
    return statement.execute(sql, params);
}

ConnectParams OdbcSession::inEffect() const {
    ConnectParams p = m_params;
    // SQL Server names the database in effect (the login's default when none was given).
    if (m_target.sqlServer) {
        std::array<SQLWCHAR, 256> name{};
        SQLINTEGER length = 0;
        if (SQL_SUCCEEDED(SQLGetConnectAttrW(m_connection.get(), SQL_ATTR_CURRENT_CATALOG, name.data(),
                                             SQLINTEGER(name.size() * sizeof(SQLWCHAR)), &length)) &&
            length > 0) {
            p.database = fromWide(name.data(), std::min<qsizetype>(length / 2, qsizetype(name.size()) - 1));
        }
    }
    return p;
}

QStringList OdbcSession::databases() {
    ResultSet r = execute(QStringLiteral("SELECT name FROM master.dbo.sysdatabases ORDER BY name"));
    QStringList names;
    for (const auto& row : r.rows) {
        if (!row.empty())
            names.append(row[0].toString());
    }
    return names;
}

QStringList OdbcSession::primaryKey(const QString& table) {
    auto [schema, name] = splitTableName(table);
    OdbcStatement statement(m_connection);
    return statement.primaryKeys(schema, name);
}

}  // namespace

QStringList registeredDrivers() { return driverNames(makeEnvironment()); }

std::unique_ptr<backend::Session> openSession(const ConnectParams& params) {
    return std::make_unique<OdbcSession>(params);
}

}  // namespace da::odbc
