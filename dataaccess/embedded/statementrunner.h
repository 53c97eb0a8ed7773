#pragma once
// Runs T-SQL batches on one embedded database: recognises each statement's shape,
// rewrites it for SQLite and runs it atomically (one savepoint per statement). The
// statements of data are in statementrunner.cpp, the control of flow in controlflow.cpp.
#include "applock.h"
#include "catalogue.h"
#include "dataaccess/backend.h"
#include "definitionrunner.h"
#include "fastpaths/fastpaths.h"
#include "fastpaths/keyedjoin.h"
#include "tsqlcolumns.h"
#include "tsqlrewriter.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

namespace da::embedded {

class ServerFolder;
class SqliteDb;

class StatementRunner {
    friend struct StatementHandlers;  // the statement table's entries (statementshapes.cpp)

public:
    StatementRunner(SqliteDb& db, ServerFolder& folder, const QString& database);

    // Runs every statement of the batch in turn; the result is the last result set
    // (rows affected: of the last statement that changed rows). Throws SqlError; the
    // statements before the failing one stay done.
    ResultSet runBatch(const QString& sql, const std::vector<QVariant>& params);

    // The catalogue views that stand in for SQL Server's (created per connection).
    void createCatalogueViews();

    FastPaths& fastPaths() { return m_fastPaths; }

private:
    ResultSet runStatements(const QString& source, const Tokens& tokens, Span span, std::vector<QVariant> params);
    ResultSet runAtomic(const QString& source, const Tokens& tokens, Span span, const std::vector<QVariant>& params);
    ResultSet run(const QString& source, const Tokens& tokens, Span span, const std::vector<QVariant>& params);

    ResultSet select(const Tokens& t, Span span, const std::vector<QVariant>& params);
    ResultSet selectInto(const Tokens& t, Span span, int into, const std::vector<QVariant>& params);
    ResultSet insert(const Tokens& t, Span span, const std::vector<QVariant>& params);
    ResultSet update(const Tokens& t, Span span, const std::vector<QVariant>& params);
    ResultSet remove(const Tokens& t, Span span, const std::vector<QVariant>& params);
    ResultSet ifStatement(const QString& source, const Tokens& t, Span span, const std::vector<QVariant>& params);
    ResultSet execProcedure(const Tokens& t, Span span);
    int systemProcedure(const QString& name, const Tokens& t, Span args);
    bool batchVariableStatement(const Tokens& t, Span span);

    RewriteContext context();
    std::vector<StoreLimit> limitsOf(const QString& table, const QStringList& columns);
    QString expr(const Tokens& t, Span span);
    ResultSet query(const QString& sql, const std::vector<QVariant>& params);

    SqliteDb& m_db;
    ServerFolder& m_folder;
    QString m_database;
    Catalogue m_catalogue;
    KeyedJoins m_keyedJoins;  // of the statement running now
    FastPaths m_fastPaths;
    DefinitionRunner m_definitions;
    int m_depth = 0;  // procedures calling procedures
    AppLocks m_appLocks;
    // The variables of the batch running now, by upper-cased name; null until set.
    QHash<QString, QVariant> m_variables;
};

}  // namespace da::embedded
