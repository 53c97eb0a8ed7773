#include "connection.h"

#include "sqlerror.h"

namespace da {

namespace {

// A value that would end its pair early or lose blanks stands in double quotes, an
// inner double quote doubled; any other value stands as it is.
QString pairValue(const QString& value) {
    const bool plain = !value.contains(u';') && !value.startsWith(u'"') && !value.startsWith(u'\'') &&
                       value == value.trimmed();
    if (plain) return value;
    QString inner = value;
    inner.replace(u'"', QLatin1String("\"\""));
    return u'"' + inner + u'"';
}

}  // namespace

Connection::Connection() = default;
Connection::~Connection() = default;

void Connection::connect() {
    disconnect();
    ConnectParams wanted = m_params;
    if (m_loginPrompt && m_dialog) {
        if (!m_dialog->prompt(wanted)) throw SqlError(QStringLiteral("Login cancelled by the user."));
        m_params = wanted;
    }
    m_session = backend::openSession(wanted);
    const ConnectParams used = m_session->inEffect();
    m_params.server = used.server;
    m_params.database = used.database;
    m_params.user = used.user;
    m_params.password = used.password;
}

void Connection::disconnect() { m_session.reset(); }

QString Connection::connectString() const {
    QString s = QStringLiteral("Server=%1;Database=%2;User ID=%3;Password=%4;")
                    .arg(pairValue(m_params.server), pairValue(m_params.database), pairValue(m_params.user),
                         pairValue(m_params.password));
    if (m_session) {
        const QString options = m_session->connectOptions();
        if (!options.isEmpty()) s += options + (options.endsWith(u';') ? QString() : QStringLiteral(";"));
    }
    return s;
}

backend::Session& Connection::session() {
    if (!m_session) throw SqlError(QStringLiteral("Connection is not open."));
    return *m_session;
}

}  // namespace da
