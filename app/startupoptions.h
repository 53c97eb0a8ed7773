#pragma once
// The program's command line as a whole: every option of every mode is known here, so
// a mistyped one ends the program with the usage instead of opening the window. The
// start-up options every mode shares are read here; the headless modes read theirs.
#include <QString>
#include <QStringList>

struct StartupOptions {
    QString appDir;        // --app-dir DIR: the application directory instead of the executable's
    QString screenshot;    // --screenshot FILE.png: render the main window there and end
    bool help = false;     // --help: print the usage and end
    bool version = false;  // --version: print the version and end
    QString gallery;       // --gallery DIR: render every window into DIR and end
    QString error;         // non-empty: the arguments cannot be used, and why
};

// arguments: the program's arguments, the program name first. Values follow their
// option as the next argument or after '='.
StartupOptions parseStartupOptions(const QStringList& arguments);

// Every mode and option, for --help and (after an error) standard error.
QString programUsage();
// "bvtransfer VERSION".
QString programVersion();

// The application directory with its trailing separator: DIR made absolute, or the
// executable's folder when appDir is empty.
QString applicationPath(const QString& appDir, const QString& executableDir);

// True when a window can be shown: a platform is named or a display is set.
bool displayAvailable();
