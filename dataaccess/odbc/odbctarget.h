#pragma once
// Where an ODBC server name leads: the connect string handed to the driver manager.
//
// Server names:
//   "host", "host\instance", "host,port"  SQL Server through the FreeTDS driver. "." and
//                                         "(local)" (the Windows names of the local
//                                         server) mean this machine.
//   "odbc:<connect string>"               the rest goes to the driver manager unchanged (a
//                                         DSN, or another driver: "odbc:Driver={SQLite3};
//                                         Database=/tmp/farm.db"); the user name and
//                                         password are added when given. Used to test the
//                                         ODBC plumbing without a SQL Server.
//
// The driver for SQL Server: the environment variable BVT_ODBC_DRIVER (a registered
// driver name such as "FreeTDS", or the path of a driver library), else the registered
// "FreeTDS" driver, else the FreeTDS library where the distribution installs it.
#include "dataaccess/backend.h"

#include <QString>
#include <QStringList>

namespace da::odbc {

inline constexpr char driverVariable[] = "BVT_ODBC_DRIVER";
inline constexpr char rawPrefix[] = "odbc:";

struct OdbcTarget {
    QString connectString;  // with the credentials: never shown or logged
    QString options;        // the driver and its settings, for connectString() of Connection
    bool sqlServer = true;  // false for an "odbc:" connect string
};

// The Driver= value: configured (the variable's value; empty when unset), the registered
// driver names, and the installed FreeTDS library ("" when none was found).
QString chooseDriver(const QString& configured, const QStringList& registered,
                     const QString& installedLibrary);

// The connect string for the parameters and a Driver= value.
OdbcTarget makeTarget(const ConnectParams& params, const QString& driver);

// A value as a connect string writes it: braced, with "}" doubled, when it holds a
// character the syntax gives a meaning to.
QString connectValue(const QString& value);

// The FreeTDS library under the usual library folders ("" when absent).
QString installedFreeTdsLibrary();

}  // namespace da::odbc
