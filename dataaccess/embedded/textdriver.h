#pragma once
// The breeding centre's text file as the ODBC text driver reads it, for OPENROWSET on
// the embedded engine.
#include <QString>
#include <functional>

struct sqlite3;

namespace da::embedded {

// Creates the table tableName in db from the file dir/fileName, read the way the
// ODBC text driver reads it (schema.ini in dir honoured), and fills it in one pass
// through prepared statements. Runs inside the caller's transaction. Throws SqlError
// naming the file (and the line where one is at fault). Answers the number of rows stored.
//
// Column types are guessed from the first MaxScanRows rows (25) as int, bigint, float or
// nvarchar(255), never changing a value's text. Where the driver would turn a later value
// that does not fit its column into NULL, this one widens the column (int to bigint, to
// float, to text) and keeps every value; a float column meeting text stops with an error
// naming the line, since its stored numbers could not give back their text.
//
// readable, when given, says whether the machine may read the file found at a path; a
// file it may not read fails as a file that is not there.
long long fillTableFromTextFile(sqlite3* db, const QString& tableName, const QString& dir, const QString& fileName,
                                const std::function<bool(const QString& path)>& readable = {});

}  // namespace da::embedded
