#include "backend.h"

#include "embedded/embeddedsession.h"
#include "odbc/odbcsession.h"

namespace da::backend {

std::unique_ptr<Session> openSession(const ConnectParams& params) {
    if (params.server.trimmed().startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        return std::make_unique<embedded::EmbeddedSession>(params);
    }
    return odbc::openSession(params);
}

}  // namespace da::backend
