#include "embeddedtransactions.h"

#include "servererrors.h"
#include "sqlitedb.h"
#include "dataaccess/sqlerror.h"

#include <algorithm>
#include <memory>
#include <sqlite3.h>

namespace da {
namespace {

struct StatementDeleter {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

// "[dbo].[BVTemp]", "dbo.BVTemp" or "BVTemp" as SQLite names the table.
QByteArray sqliteTableName(QString name) {
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot >= 0 && !name.endsWith(u']'))
        name = name.mid(dot + 1);
    else if (dot >= 0 && name.lastIndexOf(QLatin1String(".[")) >= 0)
        name = name.mid(name.lastIndexOf(QLatin1String(".[")) + 1);
    if (name.startsWith(u'[') && name.endsWith(u']'))
        name = name.mid(1, name.size() - 2).replace(QLatin1String("]]"), QLatin1String("]"));
    return '"' + name.toUtf8().replace('"', "\"\"") + '"';
}

[[noreturn]] void fail(sqlite3* db, const QByteArray& sql) {
    const int code = sqlite3_extended_errcode(db);
    throw embedded::serverError(embedded::serverMessage(QString::fromUtf8(sqlite3_errmsg(db)), code), QString::fromUtf8(sql));
}

Statement prepareInsert(sqlite3* db, const QByteArray& table, size_t width, size_t rows) {
    QByteArray row = "(?";
    for (size_t c = 1; c < width; ++c)
        row += ",?";
    row += ')';
    QByteArray sql = "INSERT INTO " + table + " VALUES " + row;
    for (size_t r = 1; r < rows; ++r)
        sql += ',' + row;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), static_cast<int>(sql.size()), &stmt, nullptr) != SQLITE_OK)
        fail(db, sql);
    return Statement(stmt);
}

void bindRow(sqlite3_stmt* stmt, int first, const RowBlock& rows, size_t r) {
    for (size_t c = 0; c < rows.columns.size(); ++c) {
        const RowBlock::Column& column = rows.columns[c];
        const int index = first + static_cast<int>(c) + 1;
        if (column.nulls[r]) {
            sqlite3_bind_null(stmt, index);
            continue;
        }
        switch (column.type) {
        case RowBlock::Type::Integer: sqlite3_bind_int64(stmt, index, column.integers[r]); break;
        case RowBlock::Type::Real: sqlite3_bind_double(stmt, index, column.reals[r]); break;
        case RowBlock::Type::Text: {
            const std::string_view text = column.textAt(r);
            sqlite3_bind_text(stmt, index, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
            break;
        }
        }
    }
}

}  // namespace

void TransactionalEmbeddedSession::beginTransaction() { database().exec(QStringLiteral("BEGIN")); }
void TransactionalEmbeddedSession::commitTransaction() { database().exec(QStringLiteral("COMMIT")); }
void TransactionalEmbeddedSession::rollbackTransaction() { database().exec(QStringLiteral("ROLLBACK")); }

void TransactionalEmbeddedSession::insertRows(const QString& table, const RowBlock& rows) {
    const size_t width = rows.columns.size();
    if (width == 0 || rows.rows == 0)
        return;
    sqlite3* db = database().handle();
    const QByteArray name = sqliteTableName(table);
    // Several rows per statement spare its set-up for each row.
    const size_t variables = static_cast<size_t>(std::max(1, sqlite3_limit(db, SQLITE_LIMIT_VARIABLE_NUMBER, -1)));
    const size_t group = std::clamp<size_t>(variables / width, 1, 32);
    database().exec(QStringLiteral("SAVEPOINT tsql_bulk"));
    try {
        Statement many = group > 1 && rows.rows >= group ? prepareInsert(db, name, width, group) : nullptr;
        Statement one;
        for (size_t r = 0; r < rows.rows;) {
            const bool whole = many && rows.rows - r >= group;
            if (!whole && !one)
                one = prepareInsert(db, name, width, 1);
            sqlite3_stmt* stmt = whole ? many.get() : one.get();
            const size_t count = whole ? group : 1;
            for (size_t j = 0; j < count; ++j)
                bindRow(stmt, static_cast<int>(j * width), rows, r + j);
            if (sqlite3_step(stmt) != SQLITE_DONE) {
                sqlite3_reset(stmt);
                fail(db, "INSERT INTO " + name);
            }
            sqlite3_reset(stmt);
            r += count;
        }
        database().exec(QStringLiteral("RELEASE tsql_bulk"));
    } catch (...) {
        try {
            database().exec(QStringLiteral("ROLLBACK TO tsql_bulk; RELEASE tsql_bulk"));
        } catch (const SqlError&) {
            // SQLite ended the transaction itself.
        }
        throw;
    }
}

}  // namespace da
