#pragma once
// The table that the text driver fills: created with its columns' T-SQL types and
// filled row by row through one prepared INSERT, inside the caller's transaction.
#include "dataaccess/embedded/preparedstatement.h"
#include "textdrivervalue.h"
#include "dataaccess/embedded/tsqlcolumns.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>
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
    // One row: a value per column (an empty value is NULL), the numbers already read by
    // classifyTextValue for the columns of a guessed numeric type (or nullptr), and the
    // line it came from.
    struct Row {
        const std::string_view* values;
        const TextValue* numbers;
        qint64 line;
    };

    TextTableWriter(sqlite3* db, const QString& table, std::vector<TextColumn> columns, const QString& fileName);
    ~TextTableWriter();
    TextTableWriter(const TextTableWriter&) = delete;
    TextTableWriter& operator=(const TextTableWriter&) = delete;

    // Throws SqlError with the engine's message (a table of that name exists, ...).
    void create();
    // Stores the rows in order. The values must stay valid until it returns. Throws
    // SqlError naming the file and the line when a value does not fit its column.
    void insert(const Row* rows, size_t count);
    const std::vector<TextColumn>& columns() const { return m_columns; }

private:
    using Statement = PreparedStatement;

    void insertGroup(const Row* rows, size_t count);
    bool bindRow(sqlite3_stmt* stmt, int first, const Row& row);
    void bindForced(sqlite3_stmt* stmt, int index, size_t column, std::string_view value, qint64 line);
    void widen(size_t column, TextColumnType to);
    QByteArray createSql(const QByteArray& quotedTable) const;
    void exec(const QByteArray& sql);
    Statement prepareInsert(size_t rows);
    [[noreturn]] void failValue(qint64 line, size_t column, std::string_view value, const QString& why) const;

    sqlite3* m_db;
    QByteArray m_tableName;
    QByteArray m_table;  // quoted
    std::vector<TextColumn> m_columns;
    QString m_fileName;
    QByteArray m_textCollation;  // empty: SQLite's own
    size_t m_groupRows = 1;      // rows of one multi-row INSERT
    // Numeric columns are bound numbers only: their value checks would always pass.
    std::optional<ChecksSkipped> m_checksSkipped;
    Statement m_insertOne;
    Statement m_insertGroup;
    std::vector<int> m_integerDigits;  // most digits of an integer stored, per column
};

}  // namespace da::embedded
