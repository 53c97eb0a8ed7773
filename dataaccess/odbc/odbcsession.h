#pragma once
#include "dataaccess/backend.h"

namespace da::odbc {

// A session with SQL Server through unixODBC and the FreeTDS driver. Throws SqlError
// carrying the driver's SQLSTATE and message.
std::unique_ptr<backend::Session> openSession(const ConnectParams& params);

}  // namespace da::odbc
