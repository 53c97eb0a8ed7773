#pragma once
// Runs T-SQL batches on one embedded database: recognises each statement's shape,
// rewrites it for SQLite and runs it atomically (one savepoint per statement).
#include "dataaccess/backend.h"
#include "tsqlrewriter.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace da::embedded {

class ServerFolder;
class SqliteDb;

class StatementRunner {
public:
    StatementRunner(SqliteDb& db, ServerFolder& folder, const QString& database);

    // Runs every statement of the batch in turn; the result is the last result set
    // (rows affected: of the last statement that changed rows). Throws SqlError; the
    // statements before the failing one stay done.
    ResultSet runBatch(const QString& sql, const std::vector<QVariant>& params);

    // The catalogue views that stand in for SQL Server's (created per connection).
    void createCatalogueViews();

private:
    ResultSet runStatements(const QString& source, const Tokens& tokens, Span span, std::vector<QVariant> params);
    ResultSet runAtomic(const QString& source, const Tokens& tokens, Span span, const std::vector<QVariant>& params);
    ResultSet run(const QString& source, const Tokens& tokens, Span span, const std::vector<QVariant>& params);

    ResultSet select(const Tokens& t, Span span, const std::vector<QVariant>& params);
    ResultSet selectInto(const Tokens& t, Span span, int into, const std::vector<QVariant>& params);
    ResultSet openRowset(const Tokens& t, int at, const QString& target);
    ResultSet insert(const Tokens& t, Span span, const std::vector<QVariant>& params);
    ResultSet update(const Tokens& t, Span span, const std::vector<QVariant>& params);
    ResultSet remove(const Tokens& t, Span span, const std::vector<QVariant>& params);
    ResultSet create(const QString& source, const Tokens& t, Span span, const std::vector<QVariant>& params);
    ResultSet createTable(const Tokens& t, Span span);
    ResultSet createIndex(const Tokens& t, Span span);
    ResultSet drop(const Tokens& t, Span span);
    ResultSet alter(const Tokens& t, Span span);
    ResultSet ifStatement(const QString& source, const Tokens& t, Span span, const std::vector<QVariant>& params);
    ResultSet execProcedure(const Tokens& t, Span span);

    // The SQLite text of a SELECT (DISTINCT and TOP n handled) from the token after
    // SELECT to the span's end.
    QString selectSql(const Tokens& t, Span span) const;
    QString expr(const Tokens& t, Span span) const;
    ResultSet query(const QString& sql, const std::vector<QVariant>& params);
    QString readName(const Tokens& t, int& i, Span span) const;
    QString objectType(const QString& name);  // "table", "view", "procedure" or empty
    QStringList columnsOf(const QString& table);
    QString identityOf(const QString& table);
    void refreshDatabaseList();

    SqliteDb& m_db;
    ServerFolder& m_folder;
    QString m_database;
    int m_depth = 0;  // procedures calling procedures
};

}  // namespace da::embedded
