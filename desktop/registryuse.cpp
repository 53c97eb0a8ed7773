#include "registryuse.h"

#include "desktop/associations.h"
#include "platform/atomicfile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace desk {

QString autostartFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/autostart");
}

QString desktopFolder() { return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation); }

QString autostartEntryPath(const QString& title) {
    QString id;
    for (QChar c : title) {
        if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'-')
            id += c;
        else
            id += u'_' + QString::number(c.unicode(), 16);
    }
    return autostartFolder() + QStringLiteral("/bvtransfer-") + id + QStringLiteral(".desktop");
}

bool writeAutostartEntry(const QString& title, const QString& program) {
    DesktopEntryWriter entry;
    entry.group(QStringLiteral("Desktop Entry"));
    entry.key(QStringLiteral("Type"), QStringLiteral("Application"));
    entry.key(QStringLiteral("Name"), title.isEmpty() ? QFileInfo(program).fileName() : title);
    entry.exec({program});
    entry.key(QStringLiteral("X-GNOME-Autostart-enabled"), QStringLiteral("true"));
    const QString path = autostartEntryPath(title);
    return QDir().mkpath(autostartFolder()) && plat::writeFileAtomically(path, entry.bytes());
}

}  // namespace desk
