#include "startupoptions.h"

#include <QDir>

StartupOptions parseStartupOptions(const QStringList& arguments) {
    StartupOptions options;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        QString* target = nullptr;
        if (arg == QLatin1String("--app-dir"))
            target = &options.appDir;
        else if (arg == QLatin1String("--screenshot"))
            target = &options.screenshot;
        else if (arg == QLatin1String("--gallery"))
            target = &options.gallery;
        if (!target)
            continue;
        if (i + 1 >= arguments.size() || arguments[i + 1].isEmpty()) {
            options.error = arg + QStringLiteral(" needs a value");
            return options;
        }
        *target = arguments[++i];
    }
    return options;
}

QString applicationPath(const QString& appDir, const QString& executableDir) {
    QString path = appDir.isEmpty() ? executableDir : QDir(appDir).absolutePath();
    if (!path.endsWith(u'/'))
        path += u'/';
    return path;
}

bool displayAvailable() {
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}
