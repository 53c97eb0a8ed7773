#include "shellnotify.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

namespace plat {

namespace {

void runIfInstalled(const QString& program, const QString& folder) {
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty() || !QDir(folder).exists())
        return;
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(path, {folder});
    process.waitForFinished(-1);
}

class UpdateToolsNotify : public ShellNotify {
public:
    void associationsChanged() override {
        runIfInstalled(QStringLiteral("update-mime-database"), userDataFolder() + QStringLiteral("/mime"));
        runIfInstalled(QStringLiteral("update-desktop-database"), userDataFolder() + QStringLiteral("/applications"));
    }
};

ShellNotify* g_installed = nullptr;

}  // namespace

QString userDataFolder() { return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation); }

ShellNotify& shellNotify() {
    static UpdateToolsNotify tools;
    return g_installed ? *g_installed : tools;
}

ShellNotify* setShellNotify(ShellNotify* notify) {
    ShellNotify* previous = g_installed;
    g_installed = notify;
    return previous;
}

}  // namespace plat
