#pragma once
// The owner of a bare prepared statement, for the code that runs inside SQLite (functions,
// the keyed join) or binds many rows itself: finalized however the scope is left.
#include <memory>
#include <sqlite3.h>

namespace da::embedded {

struct StatementFinalizer {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using PreparedStatement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// Prepares sql; empty when it does not prepare (sqlite3_errmsg says why).
inline PreparedStatement prepareStatement(sqlite3* db, const char* sql, unsigned flags = 0) {
    sqlite3_stmt* stmt = nullptr;
    const int rc = sqlite3_prepare_v3(db, sql, -1, flags, &stmt, nullptr);
    PreparedStatement owned(stmt);
    if (rc != SQLITE_OK) owned.reset();
    return owned;
}

}  // namespace da::embedded
