#pragma once
// The T-SQL functions and collations that the embedded engine registers on every
// SQLite connection it opens. The rewriter maps T-SQL names onto them.
#include <QString>

struct sqlite3;
struct sqlite3_value;

namespace da::embedded {

// Registers TSQL_CI, TSQL_CI_AI and the tsql_* functions. Throws SqlError.
void registerSqlFunctions(sqlite3* db);

// SQL Server's error for COLLATE on the value (a number), or empty.
QString collateError(sqlite3_value* value);

// The release banner @@VERSION answers; the release year stands at position 22 as on
// SQL Server's banners.
QString versionBanner();

// The T-SQL data type name and maximum length of a declared column type
// ("nvarchar(50)" gives "nvarchar" and 50; "float" gives "float" and -2 for none).
QString dataTypeOf(const QString& declared);
int maxLengthOf(const QString& declared);

// Object id of a catalogue object: stable for its name, letter case ignored.
int objectIdOf(const QString& name);

}  // namespace da::embedded
