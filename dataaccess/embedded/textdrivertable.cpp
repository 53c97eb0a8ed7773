#include "textdrivertable.h"

#include "textdrivererror.h"

#include <sqlite3.h>

namespace da::embedded {
namespace {

QByteArray quoteIdentifier(const QByteArray& name) {
    QByteArray q = name;
    q.replace('"', "\"\"");
    return '"' + q + '"';
}

}  // namespace

void TextTableWriter::StatementDeleter::operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }

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
        sql += quoteIdentifier(m_columns[i].name) + ' ' + textColumnSqlType(m_columns[i].type, m_columns[i].width);
    }
    return sql + ')';
}

void TextTableWriter::exec(const QByteArray& sql) {
    char* err = nullptr;
    if (sqlite3_exec(m_db, sql.constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        const QString message = QString::fromUtf8(err ? err : sqlite3_errmsg(m_db));
        sqlite3_free(err);
        throw SqlError(message, sqlite3_extended_errcode(m_db), {}, QString::fromUtf8(sql));
    }
}

void TextTableWriter::prepareInsert() {
    QByteArray sql = "INSERT INTO " + m_table + " VALUES (";
    for (size_t i = 0; i < m_columns.size(); ++i)
        sql += i == 0 ? "?" : ",?";
    sql += ')';
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v3(m_db, sql.constData(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT, &stmt, nullptr) != SQLITE_OK)
        throw SqlError(QString::fromUtf8(sqlite3_errmsg(m_db)), sqlite3_extended_errcode(m_db), {}, QString::fromUtf8(sql));
    m_insert.reset(stmt);
}

void TextTableWriter::create() {
    exec(createSql(m_table));
    prepareInsert();
}

void TextTableWriter::insert(const std::vector<std::string_view>& values, qint64 line) {
    while (!bindRow(values, line)) {
    }
    sqlite3_stmt* stmt = m_insert.get();
    const int rc = sqlite3_step(stmt);
    sqlite3_reset(stmt);
    if (rc != SQLITE_DONE)
        throwTextFileError(m_fileName, line, QString::fromUtf8(sqlite3_errmsg(m_db)));
}

// Binds one row; false when a value made a column wider, so the row is bound again on
// the rebuilt table.
bool TextTableWriter::bindRow(const std::vector<std::string_view>& values, qint64 line) {
    sqlite3_stmt* stmt = m_insert.get();
    for (size_t i = 0; i < m_columns.size(); ++i) {
        const std::string_view v = values[i];
        const int index = static_cast<int>(i) + 1;
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
            bindForced(index, col, v, line);
            continue;
        }
        // A guessed type. A value that does not fit it widens the column, as if the
        // guess had seen it: integer to 64-bit integer, to float, to text. Stored
        // integers keep their text when the column becomes text; floats would not, so a
        // float column meeting a text value stops with an error instead of losing data.
        const TextValue tv = classifyTextValue(v);
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

void TextTableWriter::bindForced(int index, const TextColumn& col, std::string_view v, qint64 line) {
    sqlite3_stmt* stmt = m_insert.get();
    const size_t column = static_cast<size_t>(index - 1);
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
    m_insert.reset();
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
    prepareInsert();
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
