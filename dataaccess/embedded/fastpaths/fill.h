#pragma once
// The fill: "SELECT * INTO T FROM OPENROWSET('MSDASQL', text driver, 'SELECT * FROM
// file')", the staging of the breeding centre's file. The text driver creates T with its
// columns' types and stores the rows itself through prepared statements. The generic
// way stages the file in a table of its own and copies it with a generic SELECT .. INTO.
#include "dataaccess/embedded/tsqlsyntax.h"

#include <QString>

struct sqlite3;

namespace da::embedded {

// Whether the statement from select to span.end, its INTO at into and its FROM at from,
// reads a rowset: then only "SELECT * INTO" is supported.
bool readsRowset(const Tokens& t, Span span, int into, int from);

// Fills target from the rowset at token openrowset, reading only what the server folder's
// machine may read (readablefolders.h). The number of rows stored.
long long fillFromRowset(sqlite3* db, const QString& serverDir, const QString& target, const Tokens& t, int openrowset,
                         Span span);

}  // namespace da::embedded
