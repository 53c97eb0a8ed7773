#pragma once
// A session with SQL Server through unixODBC and the FreeTDS driver (or, for "odbc:"
// server names, any ODBC driver: see odbctarget.h). Throws SqlError carrying the
// driver's SQLSTATE, native error and message. The connection waits at most the
// parameters' login timeout (seconds; 0 waits as long as the driver does).
#include "dataaccess/backend.h"

namespace da::odbc {

std::unique_ptr<backend::Session> openSession(const ConnectParams& params);

// The driver names the driver manager knows (odbcinst.ini).
QStringList registeredDrivers();

}  // namespace da::odbc
