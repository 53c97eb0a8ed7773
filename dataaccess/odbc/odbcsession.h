#pragma once
// A session with SQL Server through unixODBC and the FreeTDS driver (or, for "odbc:"
// server names, any ODBC driver: see odbctarget.h). Throws SqlError carrying the
// driver's SQLSTATE, native error and message.
#include "dataaccess/backend.h"
#include "odbchandle.h"
#include "odbctarget.h"

namespace da::odbc {

class OdbcSession : public backend::Session {
public:
    // Connects within the parameters' login timeout (seconds; 0 waits as long as the
    // driver does). Throws SqlError.
    explicit OdbcSession(const ConnectParams& params);

    ResultSet execute(const QString& sql, const std::vector<QVariant>& params = {}) override;
    ConnectParams inEffect() const override;
    QStringList databases() override;
    QStringList primaryKey(const QString& table) override;
    QString connectOptions() const override { return m_target.options; }

private:
    ConnectParams m_params;
    OdbcTarget m_target;
    OdbcHandle m_environment;
    OdbcHandle m_connection;  // declared after its environment: freed before it
};

std::unique_ptr<backend::Session> openSession(const ConnectParams& params);

// The driver names the driver manager knows (odbcinst.ini).
QStringList registeredDrivers();

}  // namespace da::odbc
