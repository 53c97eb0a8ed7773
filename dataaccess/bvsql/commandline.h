#pragma once
// bvsql SERVER DATABASE [--user U] [--password P] [--timeout SECONDS] "SQL"
// SQL "-" reads the statement or batch from standard input; so does the password "-",
// from the first line, before any SQL.
#include "dataaccess/backend.h"

#include <QString>
#include <QStringList>

namespace bvsql {

struct CommandLine {
    da::ConnectParams params;
    QString sql;
    bool help = false;               // --help: print the usage and end
    bool passwordFromStdin = false;  // --password -
    QString error;                   // not empty: the arguments are wrong, and this says why
};

// args without the program name.
CommandLine parseCommandLine(const QStringList& args);

QString usage();

}  // namespace bvsql
