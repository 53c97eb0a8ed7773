#include "odbcsession.h"

#include "dataaccess/sqlerror.h"

namespace da::odbc {

// Placeholder: replaced by the ODBC backend.
std::unique_ptr<backend::Session> openSession(const ConnectParams&) {
    throw SqlError(QStringLiteral("ODBC backend not built yet"));
}

}  // namespace da::odbc
