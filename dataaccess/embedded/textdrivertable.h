#pragma once
// The table that the text driver fills: created with its columns' T-SQL types and
// filled row by row through one prepared INSERT, inside the caller's transaction.
#include "textdrivervalue.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace da::embedded {

struct TextColumn {
    QByteArray name;  // UTF-8
    TextColumnType type = TextColumnType::Text;
    int width = 0;        // Text only; 0: 255
    bool forced = false;  // typed by schema.ini: values are converted, the type stays
};

class TextTableWriter {
public:
    TextTableWriter(sqlite3* db, const QString& table, std::vector<TextColumn> columns, const QString& fileName);
    ~TextTableWriter();
    TextTableWriter(const TextTableWriter&) = delete;
    TextTableWriter& operator=(const TextTableWriter&) = delete;

    // Throws SqlError with the engine's message (a table of that name exists, ...).
    void create();
    // One value per column; an empty value is NULL. Throws SqlError naming the file and
    // the line when a value does not fit its column.
    void insert(const std::vector<std::string_view>& values, qint64 line);
    const std::vector<TextColumn>& columns() const { return m_columns; }

private:
    struct StatementDeleter {
        void operator()(sqlite3_stmt* s) const;
    };

    bool bindRow(const std::vector<std::string_view>& values, qint64 line);
    void bindForced(int index, const TextColumn& column, std::string_view value, qint64 line);
    void widen(size_t column, TextColumnType to);
    QByteArray createSql(const QByteArray& quotedTable) const;
    void exec(const QByteArray& sql);
    void prepareInsert();
    [[noreturn]] void failValue(qint64 line, size_t column, std::string_view value, const QString& why) const;

    sqlite3* m_db;
    QByteArray m_tableName;
    QByteArray m_table;  // quoted
    std::vector<TextColumn> m_columns;
    QString m_fileName;
    std::unique_ptr<sqlite3_stmt, StatementDeleter> m_insert;
    std::vector<int> m_integerDigits;  // most digits of an integer stored, per column
};

}  // namespace da::embedded
