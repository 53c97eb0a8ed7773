#pragma once
// The server errors of the embedded engine: what SQLite says turned into what SQL Server
// would say, and every message of SQL Server's wording given SQL Server's native error
// number and SQLSTATE. A new error goes into the tables of servererrors.cpp: its SQLite
// condition (when SQLite raises it) and its wording with number and SQLSTATE.
#include "dataaccess/sqlerror.h"

#include <QString>

namespace da::embedded {

// SQL Server's wording for an SQLite failure message.
QString serverMessage(const QString& sqliteMessage, int extendedCode);

// The error of a message of SQL Server's wording, with its native number and SQLSTATE.
SqlError serverError(const QString& message, const QString& statement = {});
// The error with the number and SQLSTATE of its message where it has none yet.
SqlError withServerNumbers(const SqlError& error);

// The errors the engine raises in several places.
SqlError objectExists(const QString& name);   // 2714
SqlError invalidObject(const QString& name);  // 208
SqlError invalidColumn(const QString& name);  // 207

}  // namespace da::embedded
