#include "serverhistory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace da {

ServerHistory::ServerHistory(QString path) : m_path(std::move(path)) {}

QString ServerHistory::defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QStringLiteral("/servers.txt");
}

QStringList ServerHistory::servers() const {
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QStringList names;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (const QString& line : lines) {
        QString name = line.trimmed();
        if (!name.isEmpty() && !names.contains(name) && names.size() < maxEntries)
            names.append(name);
    }
    return names;
}

void ServerHistory::remember(const QString& server) {
    const QString name = server.trimmed();
    if (name.isEmpty())
        return;
    QStringList names = servers();
    names.removeAll(name);
    names.prepend(name);
    while (names.size() > maxEntries)
        names.removeLast();
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return;
    file.write((names.join(u'\n') + u'\n').toUtf8());
    file.commit();
}

}  // namespace da
