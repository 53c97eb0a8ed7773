#include "embeddedtransactions.h"

#include "embedded/sqlitedb.h"

namespace da {

void TransactionalEmbeddedSession::beginTransaction() { database().exec(QStringLiteral("BEGIN")); }
void TransactionalEmbeddedSession::commitTransaction() { database().exec(QStringLiteral("COMMIT")); }
void TransactionalEmbeddedSession::rollbackTransaction() { database().exec(QStringLiteral("ROLLBACK")); }

}  // namespace da
