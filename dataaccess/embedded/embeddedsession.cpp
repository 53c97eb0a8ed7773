#include "embeddedsession.h"

#include "dataaccess/sqlerror.h"
#include "serverfolder.h"
#include "servererrors.h"
#include "sqlitedb.h"
#include "statementrunner.h"

namespace da::embedded {

QString serverFolderOf(const QString& server) {
    const QString s = server.trimmed();
    if (!s.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) return {};
    return s.mid(5);
}

EmbeddedSession::EmbeddedSession(const ConnectParams& params) : m_params(params) {
    try {
        open();
    } catch (const SqlError& e) {
        throw withServerNumbers(e);
    }
}

void EmbeddedSession::open() {
    const ConnectParams& params = m_params;
    m_folder = std::make_unique<ServerFolder>(serverFolderOf(params.server));
    {
        SqliteDb master(m_folder->databaseFile(QStringLiteral("master")), false);
        master.exec(QStringLiteral(
            "CREATE TABLE IF NOT EXISTS Logins (LoginName nvarchar(128) COLLATE TSQL_CI PRIMARY KEY, "
            "Password nvarchar(128) COLLATE BINARY)"));
        const bool checked = master.scalar(QStringLiteral("SELECT count(*) FROM Logins")).toLongLong() > 0;
        if (checked && !master.scalar(QStringLiteral("SELECT 1 FROM Logins WHERE LoginName = ? AND Password = ?"),
                                      {params.user, params.password})
                            .isValid()) {
            throw SqlError(QStringLiteral("Login failed for user '%1'.").arg(params.user), 18456, QStringLiteral("28000"));
        }
    }
    const QString wanted = params.database.trimmed().isEmpty() ? QStringLiteral("master") : params.database.trimmed();
    const QString file = m_folder->databaseFile(wanted);
    if (file.isEmpty()) {
        throw SqlError(QStringLiteral("Cannot open database \"%1\" requested by the login. The login failed.").arg(wanted),
                       4060, QStringLiteral("42000"));
    }
    m_params.database = ServerFolder::nameOfFile(file);
    m_db = std::make_unique<SqliteDb>(file, false);
    ServerFolder::prepare(*m_db);
    m_runner = std::make_unique<StatementRunner>(*m_db, *m_folder, m_params.database);
    m_runner->createCatalogueViews();
}

EmbeddedSession::~EmbeddedSession() = default;

ResultSet EmbeddedSession::execute(const QString& sql, const std::vector<QVariant>& params) {
    try {
        return m_runner->runBatch(sql, params);
    } catch (const SqlError& e) {
        // Every error leaves the engine with SQL Server's number and SQLSTATE.
        const SqlError numbered = withServerNumbers(e);
        throw SqlError(numbered.message(), numbered.nativeError(), numbered.sqlState(), sql);
    }
}

FastPaths& EmbeddedSession::fastPaths() { return m_runner->fastPaths(); }

QStringList EmbeddedSession::databases() { return m_folder->databaseNames(); }

QStringList EmbeddedSession::primaryKey(const QString& table) {
    QString name = table;
    const int dot = name.lastIndexOf(u'.');
    if (dot >= 0) name = name.mid(dot + 1);
    if (name.startsWith(u'[') && name.endsWith(u']')) name = name.mid(1, name.size() - 2);
    SqliteStatement st(*m_db, QStringLiteral("SELECT name FROM pragma_table_info(?, 'main') WHERE pk > 0 ORDER BY pk"));
    st.bind({name});
    QStringList keys;
    while (st.step()) keys << st.value(0).toString();
    return keys;
}

QString EmbeddedSession::connectOptions() const { return QStringLiteral("Provider=SQLite"); }

}  // namespace da::embedded
