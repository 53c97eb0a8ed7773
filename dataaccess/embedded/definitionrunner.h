#pragma once
// The definition statements of the embedded engine: CREATE TABLE, VIEW, INDEX and
// PROCEDURE, DROP of them, ALTER TABLE .. ADD and .. DROP COLUMN.
#include "tsqlrewriter.h"

#include <QString>

namespace da::embedded {

class Catalogue;
class SqliteDb;

class DefinitionRunner {
public:
    DefinitionRunner(SqliteDb& db, Catalogue& catalogue, const QString& database);

    // source: the batch text the tokens come from (a procedure keeps its body as
    // written). Each throws SqlError.
    void create(const QString& source, const Tokens& tokens, Span span);
    void drop(const Tokens& tokens, Span span);
    void alter(const Tokens& tokens, Span span);

private:
    void createTable(const Tokens& t, Span span);
    void createIndex(const Tokens& t, Span span);
    QString readName(const Tokens& t, int& i, Span span) const;
    QString expr(const Tokens& t, Span span) const;

    SqliteDb& m_db;
    Catalogue& m_catalogue;
    QString m_database;
};

}  // namespace da::embedded
