#pragma once
// The embedded engine's session as the layer opens it, with transactions that span
// several commands: the engine runs each statement inside an open SQLite transaction as
// a savepoint of its own, so a failing statement undoes itself and leaves the rest.
#include "embedded/embeddedsession.h"

namespace da {

class TransactionalEmbeddedSession : public embedded::EmbeddedSession {
public:
    using EmbeddedSession::EmbeddedSession;

    void beginTransaction() override;
    void commitTransaction() override;
    void rollbackTransaction() override;
};

}  // namespace da
