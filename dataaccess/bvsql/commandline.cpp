#include "commandline.h"

namespace bvsql {

QString usage() {
    return QStringLiteral("usage: bvsql SERVER DATABASE [--user U] [--password P] [--timeout SECONDS] \"SQL\"\n"
                          "       bvsql --help\n"
                          "  SERVER             file:DIR (the embedded engine), host,port, host, host\\instance,\n"
                          "                     or odbc:CONNECT-STRING\n"
                          "  --password -       read the password from standard input (its first line), without\n"
                          "                     echo on a terminal\n"
                          "  --timeout SECONDS  login timeout\n"
                          "  SQL                one statement or batch; - reads it from standard input\n"
                          "Exit status: 0 success, 1 the server's error, 2 wrong arguments.\n");
}

CommandLine parseCommandLine(const QStringList& args) {
    CommandLine c;
    QStringList positional;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&](const char* option) -> QString {
            if (i + 1 >= args.size()) {
                c.error = QStringLiteral("%1 needs a value").arg(QLatin1String(option));
                return {};
            }
            return args[++i];
        };
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            c.help = true;
            return c;
        } else if (a == QLatin1String("--user")) {
            c.params.user = value("--user");
        } else if (a == QLatin1String("--password")) {
            c.params.password = value("--password");
            c.passwordFromStdin = c.params.password == QLatin1String("-");
        } else if (a == QLatin1String("--timeout")) {
            QString v = value("--timeout");
            bool ok = false;
            int seconds = v.toInt(&ok);
            if (c.error.isEmpty() && (!ok || seconds < 0))
                c.error = QStringLiteral("--timeout needs a number of seconds");
            c.params.loginTimeoutSeconds = seconds;
        } else if (a.startsWith(QLatin1String("--"))) {
            c.error = QStringLiteral("unknown option %1").arg(a);
        } else {
            positional.append(a);
        }
        if (!c.error.isEmpty())
            return c;
    }
    if (positional.size() != 3) {
        c.error = QStringLiteral("expected SERVER DATABASE and SQL");
        return c;
    }
    c.params.server = positional[0];
    c.params.database = positional[1];
    c.sql = positional[2];
    return c;
}

}  // namespace bvsql
