#include "textdrivertable.h"

#include "dataaccess/embedded/servererrors.h"
#include "dataaccess/embedded/sqlitedb.h"
#include "dataaccess/embedded/textcollation.h"
#include "textdrivererror.h"

#include <algorithm>
#include "dataaccess/embedded/preparedstatement.h"
#include <sqlite3.h>

namespace da::embedded {
namespace {

QByteArray quoteIdentifier(const QByteArray& name) {
    QByteArray q = name;
    q.replace('"', "\"\"");
    return '"' + q + '"';
}

// Whether the statement prepares: what the engine registered on this database.
bool prepares(sqlite3* db, const char* sql) {
    return prepareStatement(db, sql) != nullptr;
}

}  // namespace

TextTableWriter::TextTableWriter(sqlite3* db, const QString& table, std::vector<TextColumn> columns, const QString& fileName)
    : m_db(db),
      m_tableName(table.toUtf8()),
      m_table(quoteIdentifier(m_tableName)),
      m_columns(std::move(columns)),
      m_fileName(fileName),
      m_integerDigits(m_columns.size(), 0) {}

TextTableWriter::~TextTableWriter() = default;

QByteArray TextTableWriter::createSql(const QByteArray& quotedTable) const {
    QByteArray sql = "CREATE TABLE " + quotedTable + " (";
    for (size_t i = 0; i < m_columns.size(); ++i) {
        if (i > 0)
            sql += ", ";
        const QByteArray type = textColumnSqlType(m_columns[i].type, m_columns[i].width);
        sql += quoteIdentifier(m_columns[i].name) + ' ' + type;
        if (m_columns[i].type == TextColumnType::Text && !m_textCollation.isEmpty())
            sql += " COLLATE " + m_textCollation;
        // The engine's numeric columns carry their value checks.
        if (m_columns[i].type != TextColumnType::Text && m_checksSkipped)
            sql += ' ' + valueCheck(QString::fromUtf8(m_columns[i].name), numericCheckType(QString::fromLatin1(type))).toUtf8();
    }
    return sql + ')';
}

void TextTableWriter::exec(const QByteArray& sql) {
    char* err = nullptr;
    if (sqlite3_exec(m_db, sql.constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        const int code = sqlite3_extended_errcode(m_db);
        const QString message = serverMessage(QString::fromUtf8(err ? err : sqlite3_errmsg(m_db)), code);
        sqlite3_free(err);
        throw serverError(message, QString::fromUtf8(sql));
    }
}

TextTableWriter::Statement TextTableWriter::prepareInsert(size_t rows) {
    QByteArray row = "(";
    for (size_t i = 0; i < m_columns.size(); ++i)
        row += i == 0 ? "?" : ",?";
    row += ')';
    QByteArray sql = "INSERT INTO " + m_table + " VALUES " + row;
    for (size_t r = 1; r < rows; ++r)
        sql += ',' + row;
    Statement stmt = prepareStatement(m_db, sql.constData(), SQLITE_PREPARE_PERSISTENT);
    if (!stmt) throw serverError(QString::fromUtf8(sqlite3_errmsg(m_db)), QString::fromUtf8(sql));
    return stmt;
}

void TextTableWriter::create() {
    // Text columns compare under the database's default collation, as the engine's own
    // tables do; a bare SQLite database has none and keeps SQLite's.
    // A comparison needs the collation when it is prepared; a bare COLLATE does not.
    if (prepares(m_db, (QByteArray("SELECT '' < '' COLLATE ") + kCollateCi).constData()))
        m_textCollation = kCollateCi;
    if (prepares(m_db, "SELECT tsql_convertible(1, 'int')"))
        m_checksSkipped.emplace(m_db);
    exec(createSql(m_table));
    // Several rows per INSERT spare the statement's set-up for each row.
    const size_t variables = static_cast<size_t>(std::max(1, sqlite3_limit(m_db, SQLITE_LIMIT_VARIABLE_NUMBER, -1)));
    m_groupRows = std::clamp<size_t>(variables / std::max<size_t>(m_columns.size(), 1), 1, 32);
    m_insertOne = prepareInsert(1);
    m_insertGroup = m_groupRows > 1 ? prepareInsert(m_groupRows) : nullptr;
}

void TextTableWriter::insert(const Row* rows, size_t count) {
    size_t r = 0;
    for (; m_groupRows > 1 && count - r >= m_groupRows; r += m_groupRows)
        insertGroup(rows + r, m_groupRows);
    for (; r < count; ++r)
        insertGroup(rows + r, 1);
}

void TextTableWriter::insertGroup(const Row* rows, size_t count) {
    sqlite3_stmt* stmt = nullptr;
    for (bool bound = false; !bound;) {
        // A widened column rebuilt the table and its statements: bind the rows again.
        stmt = count == 1 ? m_insertOne.get() : m_insertGroup.get();
        bound = true;
        for (size_t j = 0; j < count && bound; ++j)
            bound = bindRow(stmt, static_cast<int>(j * m_columns.size()), rows[j]);
    }
    if (sqlite3_step(stmt) != SQLITE_DONE) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(m_db));
        sqlite3_reset(stmt);
        throwTextFileError(m_fileName, rows[0].line, message);
    }
    sqlite3_reset(stmt);
}

// Binds one row from parameter first + 1 on; false when a value made a column wider, so
// the rows are bound again on the rebuilt table.
bool TextTableWriter::bindRow(sqlite3_stmt* stmt, int first, const Row& row) {
    const qint64 line = row.line;
    for (size_t i = 0; i < m_columns.size(); ++i) {
        const std::string_view v = row.values[i];
        const int index = first + static_cast<int>(i) + 1;
        const TextColumn& col = m_columns[i];
        if (v.empty()) {
            sqlite3_bind_null(stmt, index);
            continue;
        }
        if (col.type == TextColumnType::Text) {
            sqlite3_bind_text(stmt, index, v.data(), static_cast<int>(v.size()), SQLITE_STATIC);
            continue;
        }
        if (col.forced) {
            bindForced(stmt, index, i, v, line);
            continue;
        }
        // A guessed type. A value that does not fit it widens the column, as if the
        // guess had seen it: integer to 64-bit integer, to float, to text. Stored
        // integers keep their text when the column becomes text; floats would not, so a
        // float column meeting a text value stops with an error instead of losing data.
        const TextValue tv = row.numbers ? row.numbers[i] : classifyTextValue(v);
        switch (tv.shape) {
        case TextValue::Empty:
            sqlite3_bind_null(stmt, index);
            break;
        case TextValue::Int32:
        case TextValue::Int64:
            if (col.type == TextColumnType::Float) {
                if (tv.digits > 15)
                    failValue(line, i, v, QStringLiteral("has more digits than a Float column holds"));
                sqlite3_bind_double(stmt, index, static_cast<double>(tv.integer));
                break;
            }
            if (col.type == TextColumnType::Int && tv.shape == TextValue::Int64) {
                widen(i, TextColumnType::BigInt);
                return false;
            }
            m_integerDigits[i] = std::max(m_integerDigits[i], tv.digits);
            sqlite3_bind_int64(stmt, index, tv.integer);
            break;
        case TextValue::Float:
            if (col.type == TextColumnType::Float) {
                sqlite3_bind_double(stmt, index, tv.real);
                break;
            }
            widen(i, m_integerDigits[i] > 15 ? TextColumnType::Text : TextColumnType::Float);
            return false;
        case TextValue::Text:
            if (col.type == TextColumnType::Float)
                failValue(line, i, v, QStringLiteral("is not a number"));
            widen(i, TextColumnType::Text);
            return false;
        }
    }
    return true;
}

void TextTableWriter::bindForced(sqlite3_stmt* stmt, int index, size_t column, std::string_view v, qint64 line) {
    const TextColumn& col = m_columns[column];
    switch (col.type) {
    case TextColumnType::Int:
    case TextColumnType::BigInt: {
        std::int64_t n = 0;
        if (!parseForcedInteger(v, n))
            failValue(line, column, v, QStringLiteral("is not an integer"));
        if (col.type == TextColumnType::Int && (n < INT32_MIN || n > INT32_MAX))
            failValue(line, column, v, QStringLiteral("is beyond the range of an Integer"));
        sqlite3_bind_int64(stmt, index, n);
        return;
    }
    case TextColumnType::Float: {
        double d = 0;
        if (!parseForcedDouble(v, d))
            failValue(line, column, v, QStringLiteral("is not a number"));
        sqlite3_bind_double(stmt, index, d);
        return;
    }
    case TextColumnType::Bit: {
        bool b = false;
        if (!parseForcedBit(v, b))
            failValue(line, column, v, QStringLiteral("is neither true nor false"));
        sqlite3_bind_int(stmt, index, b ? 1 : 0);
        return;
    }
    case TextColumnType::Text:
        sqlite3_bind_text(stmt, index, v.data(), static_cast<int>(v.size()), SQLITE_STATIC);
        return;
    }
}

// Rebuilds the table with the column's new type and the rows stored so far.
void TextTableWriter::widen(size_t column, TextColumnType to) {
    m_insertOne.reset();
    m_insertGroup.reset();
    m_columns[column].type = to;
    const QByteArray rebuilt = quoteIdentifier(m_tableName + "$widening");
    QByteArray select;
    for (size_t i = 0; i < m_columns.size(); ++i) {
        const QByteArray name = quoteIdentifier(m_columns[i].name);
        select += i > 0 ? ", " : "";
        select += i == column && to == TextColumnType::Text ? "CAST(" + name + " AS TEXT)" : name;
    }
    exec(createSql(rebuilt));
    exec("INSERT INTO " + rebuilt + " SELECT " + select + " FROM " + m_table);
    exec("DROP TABLE " + m_table);
    exec("ALTER TABLE " + rebuilt + " RENAME TO " + m_table);
    m_insertOne = prepareInsert(1);
    m_insertGroup = m_groupRows > 1 ? prepareInsert(m_groupRows) : nullptr;
}

void TextTableWriter::failValue(qint64 line, size_t column, std::string_view value, const QString& why) const {
    const TextColumn& col = m_columns[column];
    QString shown = QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
    if (shown.size() > 40)
        shown = shown.left(40) + QStringLiteral("...");
    QString what = QStringLiteral("the value '%1' of column '%2' %3").arg(shown, QString::fromUtf8(col.name), why);
    if (col.forced)
        what += QStringLiteral(", yet schema.ini types the column as %1.").arg(textColumnTypeName(col.type));
    else
        what += QStringLiteral(", yet the rows before it made the column %1; name its type in schema.ini (Col%2=\"%3\" Text) "
                               "or raise MaxScanRows.")
                    .arg(textColumnTypeName(col.type))
                    .arg(column + 1)
                    .arg(QString::fromUtf8(col.name));
    throwTextFileError(m_fileName, line, what);
}

}  // namespace da::embedded
