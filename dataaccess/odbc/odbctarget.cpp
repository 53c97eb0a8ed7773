#include "odbctarget.h"

#include <QDir>
#include <QFileInfo>

namespace da::odbc {

namespace {

const QString freeTds = QStringLiteral("FreeTDS");

void add(QString& s, const QString& key, const QString& value) {
    s += key + u'=' + connectValue(value) + u';';
}

// A driver value is a library path when it names a file; otherwise a registered name.
QString driverValue(const QString& driver) {
    if (driver.contains(u'/'))
        return connectValue(driver);
    QString name = driver;
    if (name.startsWith(u'{') && name.endsWith(u'}'))
        name = name.mid(1, name.size() - 2);
    return u'{' + name + u'}';
}

}  // namespace

QString connectValue(const QString& value) {
    bool plain = !value.contains(u';') && !value.contains(u'{') && !value.contains(u'}') &&
                 !value.contains(u'=') && value == value.trimmed();
    if (plain)
        return value;
    QString escaped = value;
    escaped.replace(u'}', QStringLiteral("}}"));
    return u'{' + escaped + u'}';
}

QString chooseDriver(const QString& configured, const QStringList& registered,
                     const QString& installedLibrary) {
    if (!configured.trimmed().isEmpty())
        return configured.trimmed();
    if (registered.contains(freeTds, Qt::CaseInsensitive))
        return freeTds;
    if (!installedLibrary.isEmpty())
        return installedLibrary;
    // Nothing found: the registered name still gives the driver manager's own message.
    return freeTds;
}

OdbcTarget makeTarget(const ConnectParams& params, const QString& driver) {
    OdbcTarget t;
    QString credentials;
    if (!params.user.isEmpty())
        add(credentials, QStringLiteral("UID"), params.user);
    if (!params.user.isEmpty() || !params.password.isEmpty())
        add(credentials, QStringLiteral("PWD"), params.password);

    if (params.server.startsWith(QLatin1String(rawPrefix), Qt::CaseInsensitive)) {
        t.sqlServer = false;
        t.options = params.server.mid(int(std::size(rawPrefix)) - 1).trimmed();
        if (!t.options.isEmpty() && !t.options.endsWith(u';'))
            t.options += u';';
        t.connectString = t.options + credentials;
        return t;
    }

    QString host = params.server.trimmed();
    QString port;
    // "host,port" as SQL Server's own tools write it; a comma with no number after it is
    // left to the driver to refuse.
    if (qsizetype comma = host.lastIndexOf(u','); comma > 0) {
        bool ok = false;
        int number = host.mid(comma + 1).trimmed().toInt(&ok);
        if (ok && number > 0 && number < 65536) {
            port = QString::number(number);
            host = host.left(comma).trimmed();
        }
    }
    QString instance;
    if (qsizetype slash = host.indexOf(u'\\'); slash >= 0) {
        instance = host.mid(slash);
        host = host.left(slash);
    }
    if (host == u'.' || host.compare(QLatin1String("(local)"), Qt::CaseInsensitive) == 0)
        host = QStringLiteral("localhost");

    t.options = QStringLiteral("Driver=") + driverValue(driver) +
                QStringLiteral(";TDS_Version=7.4;ClientCharset=UTF-8;");
    QString s = QStringLiteral("Driver=") + driverValue(driver) + u';';
    add(s, QStringLiteral("Server"), host + instance);
    if (!port.isEmpty())
        add(s, QStringLiteral("Port"), port);
    if (!params.database.isEmpty())
        add(s, QStringLiteral("Database"), params.database);
    s += QStringLiteral("TDS_Version=7.4;ClientCharset=UTF-8;");
    t.connectString = s + credentials;
    return t;
}

QString installedFreeTdsLibrary() {
    const QString name = QStringLiteral("libtdsodbc.so");
    QStringList folders;
    // Debian and Ubuntu keep ODBC drivers under the multiarch folder.
    const QDir lib(QStringLiteral("/usr/lib"));
    for (const QString& arch : lib.entryList({QStringLiteral("*-linux-*")}, QDir::Dirs))
        folders << lib.filePath(arch + QStringLiteral("/odbc")) << lib.filePath(arch);
    folders << QStringLiteral("/usr/lib/odbc") << QStringLiteral("/usr/lib64")
            << QStringLiteral("/usr/local/lib");
    for (const QString& folder : folders) {
        QFileInfo file(folder + u'/' + name);
        if (file.exists())
            return file.absoluteFilePath();
    }
    return {};
}

}  // namespace da::odbc
