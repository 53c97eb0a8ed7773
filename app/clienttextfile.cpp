#include "clienttextfile.h"

#include "dataaccess/embedded/textdriver/schemaini.h"
#include "dataaccess/embedded/textdriver/textdrivererror.h"
#include "dataaccess/embedded/textdriver/textdriverpipeline.h"
#include "dataaccess/embedded/textdriver/textdriverreader.h"
#include "dataaccess/embedded/textdriver/textdriversource.h"
#include "dataaccess/embedded/textdriver/typeguess.h"
#include "dataaccess/sqlerror.h"
#include "dataaccess/sqlquote.h"

#include <QFileInfo>
#include <algorithm>
#include <string>

namespace transfer {

using da::RowBlock;
using da::embedded::TextColumnType;
using da::embedded::TextValue;
using da::embedded::throwTextFileError;

namespace {

bool numericGuess(const ClientColumn& c) { return !c.forced && c.type != TextColumnType::Text; }

RowBlock::Type blockType(TextColumnType type) {
    switch (type) {
    case TextColumnType::Float: return RowBlock::Type::Real;
    case TextColumnType::Text: return RowBlock::Type::Text;
    default: return RowBlock::Type::Integer;
    }
}

// Whether a value stays in a column of the guessed type without widening it.
bool fitsGuess(TextColumnType type, const TextValue& v) {
    switch (type) {
    case TextColumnType::Int: return v.shape == TextValue::Int32;
    case TextColumnType::BigInt: return v.shape == TextValue::Int32 || v.shape == TextValue::Int64;
    case TextColumnType::Float: return v.shape == TextValue::Float || (v.shape != TextValue::Text && v.digits <= 15);
    default: return true;
    }
}

[[noreturn]] void failValue(const QString& fileName, qint64 line, const ClientColumn& column, std::string_view value,
                            const QString& why) {
    QString shown = QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
    if (shown.size() > 40)
        shown = shown.left(40) + QStringLiteral("...");
    throwTextFileError(fileName, line,
                       QStringLiteral("the value '%1' of column '%2' %3, yet its column is %4.")
                           .arg(shown, column.name, why, da::embedded::textColumnTypeName(column.type)));
}

}  // namespace

ClientTextFile::ClientTextFile(const QString& dir, const QString& fileName, Types types)
    : m_fileName(fileName), m_typesFinal(types == Types::WholeFile) {
    if (dir.isEmpty() || !QFileInfo(dir).isDir())
        throw da::SqlError(QStringLiteral("The text driver cannot find the folder '%1'.").arg(dir));
    const QString path = fileName.isEmpty() ? QString() : da::embedded::locateFileIgnoringCase(dir, fileName);
    if (path.isEmpty())
        throw da::SqlError(QStringLiteral("The text driver cannot find the file '%1' in folder '%2'.").arg(fileName, dir));
    const da::embedded::SchemaIni ini = da::embedded::readSchemaIni(dir, fileName);
    try {
        m_source = std::make_unique<da::embedded::TextSource>(path, ini.charset);
    } catch (const da::embedded::TextReadError& e) {
        throwTextFileError(fileName, 0, QStringLiteral("the file cannot be read: %1.").arg(e.reason));
    }
    m_reader = std::make_unique<da::embedded::TextRecordReader>(*m_source, ini.delimiter, fileName);
    m_header = ini.colNameHeader;
    m_maxScanRows = ini.maxScanRows;

    const bool haveRow = m_reader->next();
    std::vector<QString> names;
    if (m_header) {
        if (!haveRow)
            throwTextFileError(fileName, 0, QStringLiteral("the file is empty; its first line should name the columns."));
        for (std::string_view f : m_reader->fields()) {
            const std::string_view name = da::embedded::trimmedHeaderName(f);
            names.push_back(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
        }
    } else {
        size_t n = haveRow ? m_reader->fields().size() : 0;
        if (!haveRow && !ini.columns.empty())
            n = static_cast<size_t>(ini.columns.rbegin()->first);
        if (n == 0)
            throwTextFileError(fileName, 0, QStringLiteral("the file is empty."));
        names.resize(n);
        m_reader->rewind();
    }
    m_columns.resize(names.size());
    for (const auto& [n, entry] : ini.columns) {
        if (static_cast<size_t>(n) > names.size())
            throwTextFileError(fileName, 0, QStringLiteral("schema.ini describes column %1, but the file has %2 columns.").arg(n).arg(names.size()));
        ClientColumn& c = m_columns[static_cast<size_t>(n - 1)];
        names[static_cast<size_t>(n - 1)] = entry.name;
        c.type = entry.type;
        c.width = entry.width;
        c.forced = true;
    }
    for (size_t i = 0; i < names.size(); ++i) {
        // A column without a name is called F and its position, as the driver calls it.
        m_columns[i].name = names[i].isEmpty() ? QStringLiteral("F%1").arg(i + 1) : names[i];
        for (size_t j = 0; j < i; ++j) {
            if (m_columns[j].name.compare(m_columns[i].name, Qt::CaseInsensitive) == 0)
                throwTextFileError(fileName, 0, QStringLiteral("two columns are named '%1'.").arg(m_columns[i].name));
        }
    }
    m_integerDigits.assign(m_columns.size(), 0);
    guessTypes();
    if (m_typesFinal)
        widenThroughRest();
    startRows();
}

ClientTextFile::~ClientTextFile() = default;

void ClientTextFile::guessTypes() {
    const size_t width = m_columns.size();
    const size_t scanRows = m_maxScanRows > 0 ? static_cast<size_t>(m_maxScanRows) : SIZE_MAX;
    std::vector<da::embedded::TypeGuess> guesses(width);
    for (size_t n = 0; n < scanRows && m_reader->next(); ++n) {
        const auto& fields = m_reader->fields();
        if (fields.size() != width)
            throwTextFileError(m_fileName, m_reader->line(), da::embedded::rowWidthMessage(fields.size(), width));
        for (size_t i = 0; i < width; ++i)
            guesses[i].add(fields[i]);
        ++m_rows;
    }
    for (size_t i = 0; i < width; ++i) {
        if (!m_columns[i].forced)
            m_columns[i].type = guesses[i].type();
        m_integerDigits[i] = guesses[i].integerDigits;
    }
}

// The rows after the scanned ones, as the driver stores them: a value that does not fit
// its guessed column widens it (integer to 64-bit integer, to float, to text); a float
// column meeting text or an integer of more than 15 digits stops with an error.
void ClientTextFile::widenThroughRest() {
    const size_t width = m_columns.size();
    std::vector<bool> numeric(width);
    for (size_t i = 0; i < width; ++i)
        numeric[i] = numericGuess(m_columns[i]);
    const bool haveRow = m_reader->next();
    da::embedded::TextRowPipeline pipeline(*m_reader, haveRow, numeric, m_fileName);
    std::vector<std::string_view> values(width);
    while (da::embedded::TextRowBatch* batch = pipeline.next()) {
        for (size_t r = 0; r < batch->rows(); ++r) {
            const TextValue* numbers = batch->numbers(r);
            for (size_t i = 0; i < width; ++i) {
                ClientColumn& c = m_columns[i];
                if (!numeric[i] || c.type == TextColumnType::Text)
                    continue;
                const TextValue& tv = numbers[i];
                switch (tv.shape) {
                case TextValue::Empty: break;
                case TextValue::Int32:
                case TextValue::Int64:
                    if (c.type == TextColumnType::Float) {
                        if (tv.digits > 15) {
                            batch->values(r, values.data());
                            failValue(m_fileName, batch->line(r), c, values[i], QStringLiteral("has more digits than a Float column holds"));
                        }
                        break;
                    }
                    if (c.type == TextColumnType::Int && tv.shape == TextValue::Int64)
                        c.type = TextColumnType::BigInt;
                    m_integerDigits[i] = std::max(m_integerDigits[i], static_cast<int>(tv.digits));
                    break;
                case TextValue::Float:
                    if (c.type == TextColumnType::Float)
                        break;
                    if (m_integerDigits[i] > 15) {
                        c.type = TextColumnType::Text;
                        c.textFromLine = batch->line(r);
                    } else {
                        c.type = TextColumnType::Float;
                    }
                    break;
                case TextValue::Text:
                    if (c.type == TextColumnType::Float) {
                        batch->values(r, values.data());
                        failValue(m_fileName, batch->line(r), c, values[i], QStringLiteral("is not a number"));
                    }
                    c.type = TextColumnType::Text;
                    c.textFromLine = batch->line(r);
                    break;
                }
            }
        }
        m_rows += static_cast<long long>(batch->rows());
        pipeline.recycle(batch);
    }
}

void ClientTextFile::startRows() {
    m_reader->rewind();
    bool haveRow = m_reader->next();
    if (m_header && haveRow)
        haveRow = m_reader->next();
    std::vector<bool> numeric(m_columns.size());
    for (size_t i = 0; i < m_columns.size(); ++i)
        numeric[i] = !m_columns[i].forced && (m_columns[i].type != TextColumnType::Text || m_columns[i].textFromLine > 0);
    m_pipeline = std::make_unique<da::embedded::TextRowPipeline>(*m_reader, haveRow, std::move(numeric), m_fileName);
}

QString ClientTextFile::createStatement(const QString& table) const {
    QString sql = QStringLiteral("CREATE TABLE ") + da::bracketedName(table) + QStringLiteral(" (");
    for (size_t i = 0; i < m_columns.size(); ++i) {
        if (i > 0)
            sql += QLatin1String(", ");
        sql += da::bracketedName(m_columns[i].name) + u' ' +
               QString::fromLatin1(da::embedded::textColumnSqlType(m_columns[i].type, m_columns[i].width));
    }
    return sql + u')';
}

bool ClientTextFile::nextRows(RowBlock& block) {
    if (m_lent) {
        m_pipeline->recycle(m_lent);
        m_lent = nullptr;
    }
    if (block.columns.size() != m_columns.size()) {
        block.columns.assign(m_columns.size(), {});
        for (size_t i = 0; i < m_columns.size(); ++i)
            block.columns[i].type = blockType(m_columns[i].type);
    }
    block.clear();
    m_lent = m_pipeline->next();
    if (!m_lent)
        return false;
    convert(*m_lent, block);
    return true;
}

// Each value as the driver stores it in its column: an empty value (or, in a number
// column, one of blanks) is NULL; schema.ini's types convert the value or fail.
void ClientTextFile::convert(const da::embedded::TextRowBatch& batch, RowBlock& block) const {
    const size_t width = m_columns.size();
    std::vector<std::string_view> values(width);
    for (size_t r = 0; r < batch.rows(); ++r) {
        batch.values(r, values.data());
        const TextValue* numbers = batch.numbers(r);
        const qint64 line = batch.line(r);
        for (size_t i = 0; i < width; ++i) {
            const ClientColumn& c = m_columns[i];
            RowBlock::Column& out = block.columns[i];
            const std::string_view v = values[i];
            bool null = v.empty();
            qint64 integer = 0;
            double real = 0;
            std::string_view text;
            std::string number;
            if (!null && c.type == TextColumnType::Text) {
                const bool storedAsNumber = !c.forced && line < c.textFromLine &&
                                            (numbers[i].shape == TextValue::Int32 || numbers[i].shape == TextValue::Int64);
                if (storedAsNumber)
                    number = std::to_string(numbers[i].integer);
                text = storedAsNumber ? std::string_view(number) : v;
            } else if (!null && c.forced) {
                std::int64_t n = 0;
                bool b = false;
                switch (c.type) {
                case TextColumnType::Int:
                case TextColumnType::BigInt:
                    if (!da::embedded::parseForcedInteger(v, n))
                        failValue(m_fileName, line, c, v, QStringLiteral("is not an integer"));
                    if (c.type == TextColumnType::Int && (n < INT32_MIN || n > INT32_MAX))
                        failValue(m_fileName, line, c, v, QStringLiteral("is beyond the range of an Integer"));
                    integer = n;
                    break;
                case TextColumnType::Float:
                    if (!da::embedded::parseForcedDouble(v, real))
                        failValue(m_fileName, line, c, v, QStringLiteral("is not a number"));
                    break;
                case TextColumnType::Bit:
                    if (!da::embedded::parseForcedBit(v, b))
                        failValue(m_fileName, line, c, v, QStringLiteral("is neither true nor false"));
                    integer = b ? 1 : 0;
                    break;
                case TextColumnType::Text: break;
                }
            } else if (!null) {
                const TextValue& tv = numbers[i];
                null = tv.shape == TextValue::Empty;
                if (!m_typesFinal && !null && !fitsGuess(c.type, tv))
                    throw TypesWiden{};
                if (c.type == TextColumnType::Float)
                    real = tv.shape == TextValue::Float ? tv.real : static_cast<double>(tv.integer);
                else
                    integer = tv.integer;
            }
            out.nulls.push_back(null ? 1 : 0);
            switch (out.type) {
            case RowBlock::Type::Integer: out.integers.push_back(integer); break;
            case RowBlock::Type::Real: out.reals.push_back(real); break;
            case RowBlock::Type::Text: out.addText(text); break;
            }
        }
    }
    block.rows = batch.rows();
}

}  // namespace transfer
