#pragma once
// The embedded engine's session as the layer opens it, with transactions that span
// several commands (the engine runs each statement inside an open SQLite transaction as
// a savepoint of its own, so a failing statement undoes itself and leaves the rest), and
// a bulk insert that hands typed rows to SQLite's prepared statements, as a server's
// bulk-load interface takes rows without parsing a statement for each.
#include "embeddedsession.h"

namespace da {

class TransactionalEmbeddedSession : public embedded::EmbeddedSession {
public:
    using EmbeddedSession::EmbeddedSession;

    void beginTransaction() override;
    void commitTransaction() override;
    void rollbackTransaction() override;
    // All rows or none; throws SqlError with SQL Server's wording.
    void insertRows(const QString& table, const RowBlock& rows) override;
};

}  // namespace da
