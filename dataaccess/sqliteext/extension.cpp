// A loadable SQLite extension with the embedded engine's functions and collations, so
// that standard SQLite tools open the farm files: their tables' definitions name the
// TSQL_CI collations and the tsql_convertible() value checks.
//   sqlite3 -cmd '.load build/dataaccess/sqliteext/bvtsql' Farm.db 'PRAGMA integrity_check'
// It calls the system's SQLite library directly, as the engine does, and so serves the
// programs that use that library (Debian's sqlite3 shell among them).
#include "dataaccess/embedded/sqlfunctions.h"

#include <exception>
#include <sqlite3.h>

namespace {

int registerAll(sqlite3* db, char** error) {
    try {
        da::embedded::registerSqlFunctions(db);
        return SQLITE_OK;
    } catch (const std::exception& e) {
        if (error)
            *error = sqlite3_mprintf("%s", e.what());
        return SQLITE_ERROR;
    }
}

}  // namespace

// The entry point SQLite derives from the file name bvtsql, and its generic one.
extern "C" __attribute__((visibility("default"))) int sqlite3_bvtsql_init(sqlite3* db, char** error,
                                                                          const sqlite3_api_routines*) {
    return registerAll(db, error);
}

extern "C" __attribute__((visibility("default"))) int sqlite3_extension_init(sqlite3* db, char** error,
                                                                             const sqlite3_api_routines*) {
    return registerAll(db, error);
}
