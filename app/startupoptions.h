#pragma once
// The start-up options every mode of the program shares. Arguments that are not these
// are left to the headless modes.
#include <QString>
#include <QStringList>

struct StartupOptions {
    QString appDir;      // --app-dir DIR: the application directory instead of the executable's
    QString screenshot;  // --screenshot FILE.png: render the main window there and end
    QString gallery;     // --gallery DIR: render every window into DIR and end
    QString error;       // non-empty: the arguments cannot be used, and why
};

// arguments: the program's arguments, the program name first.
StartupOptions parseStartupOptions(const QStringList& arguments);

// The application directory with its trailing separator: DIR made absolute, or the
// executable's folder when appDir is empty.
QString applicationPath(const QString& appDir, const QString& executableDir);

// True when a window can be shown: a platform is named or a display is set.
bool displayAvailable();
