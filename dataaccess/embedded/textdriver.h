#pragma once
// The breeding centre's text file as the ODBC text driver reads it, for OPENROWSET on
// the embedded engine.
#include <QString>

struct sqlite3;

namespace da::embedded {

// Creates the table tableName in db from the file dir/fileName, read the way the
// ODBC text driver reads it (schema.ini in dir honoured), and fills it in one pass
// through prepared statements. Runs inside the caller's transaction. Throws SqlError
// naming the file (and the line where one is at fault).
void fillTableFromTextFile(sqlite3* db, const QString& tableName, const QString& dir, const QString& fileName);

}  // namespace da::embedded
