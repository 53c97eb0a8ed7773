#include "startupoptions.h"

#include <QDir>

#ifndef BVTRANSFER_VERSION
#define BVTRANSFER_VERSION "0"
#endif

namespace {

struct KnownOption {
    const char* name;
    bool takesValue;
};

// Every option of every mode; which mode allows which is the headless modes' check.
constexpr KnownOption kOptions[] = {
    {"--app-dir", true},
    {"--screenshot", true},
    {"--transfer", true},
    {"--dry-run", false},
    {"--customer", true},
    {"--write-credentials", false},
    {"--server", true},
    {"--database", true},
    {"--user", true},
    {"--password", true},
    {"--group", true},
    {"--help", false},
    {"--version", false},
    {"--gallery", true},
};

const KnownOption* findOption(const QString& name) {
    for (const KnownOption& o : kOptions) {
        if (name == QLatin1String(o.name))
            return &o;
    }
    return nullptr;
}

}  // namespace

StartupOptions parseStartupOptions(const QStringList& arguments) {
    StartupOptions options;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        QString arg = arguments[i];
        if (arg == QLatin1String("-h"))
            arg = QStringLiteral("--help");
        QString value;
        bool inlineValue = false;
        if (const qsizetype eq = arg.indexOf(u'='); arg.startsWith(QLatin1String("--")) && eq > 0) {
            value = arg.mid(eq + 1);
            arg.truncate(eq);
            inlineValue = true;
        }
        const KnownOption* known = findOption(arg);
        if (!known) {
            options.error = arg.startsWith(u'-') ? QStringLiteral("unknown option ") + arg
                                                 : QStringLiteral("unexpected argument ") + arg;
            return options;
        }
        if (!known->takesValue) {
            if (inlineValue) {
                options.error = arg + QStringLiteral(" takes no value");
                return options;
            }
            options.help = options.help || arg == QLatin1String("--help");
            options.version = options.version || arg == QLatin1String("--version");
            continue;
        }
        if (!inlineValue) {
            if (i + 1 >= arguments.size()) {
                options.error = arg + QStringLiteral(" needs a value");
                return options;
            }
            value = arguments[++i];
        }
        // An empty password is a password; every other value names something.
        if (value.isEmpty() && arg != QLatin1String("--password")) {
            options.error = arg + QStringLiteral(" needs a value");
            return options;
        }
        if (arg == QLatin1String("--app-dir"))
            options.appDir = value;
        else if (arg == QLatin1String("--screenshot"))
            options.screenshot = value;
        else if (arg == QLatin1String("--gallery"))
            options.gallery = value;
    }
    return options;
}

QString programUsage() {
    return QStringLiteral(
        "usage: bvtransfer [--app-dir DIR]                  the window\n"
        "       bvtransfer [--app-dir DIR] --screenshot FILE.png\n"
        "       bvtransfer [--app-dir DIR] --gallery DIR\n"
        "       bvtransfer [--app-dir DIR] --transfer FILE [--dry-run] [--customer NAME]\n"
        "       bvtransfer [--app-dir DIR] --write-credentials --server S --database D --user U --password P\n"
        "                  [--group GROUP]\n"
        "       bvtransfer --help | --version\n"
        "\n"
        "  --app-dir DIR         application directory (credentials files, work folder Z8M)\n"
        "                        instead of the executable's folder\n"
        "  --screenshot FILE.png start up, render the main window into FILE.png and end\n"
        "  --gallery DIR         render every window and dialog into DIR as PNG files\n"
        "  --transfer FILE       transfer FILE into BV without a window; prints a summary and the outcome\n"
        "  --dry-run             with --transfer: everything but the insert into BV; lists unmatched cows\n"
        "  --customer NAME       with --transfer: the customer of a multi-customer installation\n"
        "  --write-credentials   write the credentials file WTimes.DLL (readable by its owner only)\n"
        "  --password -          read the password from standard input, without echo\n"
        "  --group GROUP         with --write-credentials: the farm users' group may read the file too\n"
        "  --help                this text\n"
        "  --version             the program's version\n"
        "\n"
        "Values may also follow their option after '=' (--transfer=FILE).\n"
        "Exit status: 0 success, 1 a failed transfer, 2 a start-up failure or wrong arguments.\n");
}

QString programVersion() { return QStringLiteral("bvtransfer " BVTRANSFER_VERSION); }

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
