#include "dbservices/adoquery.h"

#include "dataaccess/sqlerror.h"

QString adoConnectionPrefix() { return QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=True;"); }

da::ConnectParams connectParamsOf(const QString& connectionString) {
    da::ConnectParams params;
    const QString& s = connectionString;
    const qsizetype n = s.size();
    qsizetype i = 0;
    while (i < n) {
        const qsizetype eq = s.indexOf(u'=', i);
        const qsizetype semi = s.indexOf(u';', i);
        if (eq < 0 || (semi >= 0 && semi < eq)) {  // a part without "=": nothing to take
            if (semi < 0)
                break;
            i = semi + 1;
            continue;
        }
        const QString key = s.mid(i, eq - i).trimmed().toLower();
        i = eq + 1;
        while (i < n && s[i] == u' ')
            ++i;
        QString value;
        if (i < n && (s[i] == u'"' || s[i] == u'\'')) {
            const QChar quote = s[i++];
            while (i < n) {
                if (s[i] == quote) {
                    if (i + 1 < n && s[i + 1] == quote) {
                        value += quote;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += s[i++];
            }
            const qsizetype end = s.indexOf(u';', i);
            i = end < 0 ? n : end + 1;
        } else {
            const qsizetype end = s.indexOf(u';', i);
            value = s.mid(i, (end < 0 ? n : end) - i).trimmed();
            i = end < 0 ? n : end + 1;
        }
        if (key == QLatin1String("server") || key == QLatin1String("data source"))
            params.server = value;
        else if (key == QLatin1String("database") || key == QLatin1String("initial catalog"))
            params.database = value;
        else if (key == QLatin1String("user id") || key == QLatin1String("uid"))
            params.user = value;
        else if (key == QLatin1String("password") || key == QLatin1String("pwd"))
            params.password = value;
    }
    return params;
}

void AdoQuery::setSql(const QStringList& lines) {
    m_query.close();
    m_query.clearSql();
    for (const QString& line : lines)
        m_query.addSql(line);
}

void AdoQuery::setConnectionString(const QString& text) {
    if (text != m_connectionString)
        m_connection.disconnect();
    m_connectionString = text;
}

void AdoQuery::setParameterValue(int index, const QVariant& value) {
    if (index < 0 || index >= parameterCount())
        throw da::SqlError(QStringLiteral("List index out of bounds (%1)").arg(index));
    m_query.setParam(index, value);
}

void AdoQuery::open() {
    if (!m_connection.connected()) {
        const da::ConnectParams params = connectParamsOf(m_connectionString);
        m_connection.setServer(params.server);
        m_connection.setDatabase(params.database);
        m_connection.setUser(params.user);
        m_connection.setPassword(params.password);
        m_connection.connect();
    }
    m_query.open();
}
