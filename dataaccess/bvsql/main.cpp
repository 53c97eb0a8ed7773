// bvsql: runs one statement or batch on a server (an embedded "file:" folder or SQL
// Server) and prints the result rows, for administrators, tests and the demo.
#include "commandline.h"
#include "dataaccess/sqlerror.h"
#include "platform/secretline.h"
#include "resultwriter.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    err.setEncoding(QStringConverter::Utf8);
    const bvsql::CommandLine c = bvsql::parseCommandLine(app.arguments().mid(1));
    if (!c.error.isEmpty()) {
        err << "bvsql: " << c.error << '\n'
            << bvsql::usage();
        return 2;
    }
    if (c.help) {
        QTextStream out(stdout);
        out << bvsql::usage();
        return 0;
    }
    da::ConnectParams params = c.params;
    if (c.passwordFromStdin)
        params.password = plat::readSecretLine();
    QString sql = c.sql;
    if (sql == QLatin1String("-")) {
        QTextStream in(stdin);
        in.setEncoding(QStringConverter::Utf8);
        sql = in.readAll();
    }
    try {
        auto session = da::backend::openSession(params);
        const QString text = bvsql::formatResult(session->execute(sql));
        QTextStream out(stdout);
        out.setEncoding(QStringConverter::Utf8);
        out << text;
        out.flush();
        return 0;
    } catch (const da::SqlError& e) {
        err << bvsql::formatError(e) << '\n';
        return 1;
    }
}
