#include "textdriver.h"

#include "dataaccess/sqlerror.h"
#include "schemaini.h"
#include "textdrivererror.h"
#include "textdriverpipeline.h"
#include "textdriverreader.h"
#include "textdriversource.h"
#include "textdrivertable.h"
#include "typeguess.h"

#include <QFileInfo>
#include <cstdint>
#include <memory>
#include <string>

namespace da::embedded {
namespace {

std::vector<TextColumn> makeColumns(std::vector<QByteArray> names, const SchemaIni& ini, const QString& fileName) {
    std::vector<TextColumn> columns(names.size());
    for (const auto& [n, entry] : ini.columns) {
        if (static_cast<size_t>(n) > names.size())
            throwTextFileError(fileName, 0, QStringLiteral("schema.ini describes column %1, but the file has %2 columns.").arg(n).arg(names.size()));
        TextColumn& col = columns[static_cast<size_t>(n - 1)];
        names[static_cast<size_t>(n - 1)] = entry.name.toUtf8();
        col.type = entry.type;
        col.width = entry.width;
        col.forced = true;
    }
    for (size_t i = 0; i < names.size(); ++i) {
        // A column without a name is called F and its position, as the text driver calls it.
        columns[i].name = names[i].isEmpty() ? "F" + QByteArray::number(static_cast<qulonglong>(i + 1)) : names[i];
        for (size_t j = 0; j < i; ++j) {
            if (columns[j].name.compare(columns[i].name, Qt::CaseInsensitive) == 0)
                throwTextFileError(fileName, 0, QStringLiteral("two columns are named '%1'.").arg(QString::fromUtf8(columns[i].name)));
        }
    }
    return columns;
}

void checkRowWidth(const TextRecordReader& reader, size_t columns, const QString& fileName) {
    const size_t n = reader.fields().size();
    if (n != columns)
        throwTextFileError(fileName, reader.line(), rowWidthMessage(n, columns));
}

}  // namespace

long long fillTableFromTextFile(sqlite3* db, const QString& tableName, const QString& dir, const QString& fileName,
                                const std::function<bool(const QString& path)>& readable) {
    if (dir.isEmpty() || !QFileInfo(dir).isDir())
        throw SqlError(QStringLiteral("The text driver cannot find the folder '%1'.").arg(dir));
    const QString path = fileName.isEmpty() ? QString() : locateFileIgnoringCase(dir, fileName);
    if (path.isEmpty() || (readable && !readable(path)))
        throw SqlError(QStringLiteral("The text driver cannot find the file '%1' in folder '%2'.").arg(fileName, dir));
    const SchemaIni ini = readSchemaIni(dir, fileName);

    std::unique_ptr<TextSource> source;
    try {
        source = std::make_unique<TextSource>(path, ini.charset);
    } catch (const TextReadError& e) {
        throwTextFileError(fileName, 0, QStringLiteral("the file cannot be read: %1.").arg(e.reason));
    }
    TextRecordReader reader(*source, ini.delimiter, fileName);

    bool haveRow = reader.next();
    std::vector<QByteArray> names;
    if (ini.colNameHeader) {
        if (!haveRow)
            throwTextFileError(fileName, 0, QStringLiteral("the file is empty; its first line should name the columns."));
        for (std::string_view f : reader.fields()) {
            const std::string_view name = trimmedHeaderName(f);
            names.emplace_back(name.data(), static_cast<qsizetype>(name.size()));
        }
        haveRow = reader.next();
    } else {
        size_t n = haveRow ? reader.fields().size() : 0;
        if (!haveRow && !ini.columns.empty())
            n = static_cast<size_t>(ini.columns.rbegin()->first);
        if (n == 0)
            throwTextFileError(fileName, 0, QStringLiteral("the file is empty."));
        names.resize(n);
    }
    std::vector<TextColumn> columns = makeColumns(std::move(names), ini, fileName);
    const size_t width = columns.size();

    // The type guess. A few scanned rows are held and stored after it; for many (or
    // MaxScanRows=0, every row) one pass guesses and a second one stores, so the file is
    // never held whole.
    // Held are as many values as a batch of the pipeline holds, whatever the file's shape.
    constexpr size_t kHeldScanValues = 64 * 1024;
    const size_t scanRows = ini.maxScanRows > 0 ? static_cast<size_t>(ini.maxScanRows) : SIZE_MAX;
    std::vector<TypeGuess> guesses(width);
    std::vector<std::vector<std::string>> scanned;
    std::vector<qint64> scannedLines;
    if (scanRows <= kHeldScanValues / std::max<size_t>(width, 1)) {
        while (haveRow && scanned.size() < scanRows) {
            checkRowWidth(reader, width, fileName);
            std::vector<std::string>& row = scanned.emplace_back();
            for (size_t i = 0; i < width; ++i) {
                guesses[i].add(reader.fields()[i]);
                row.emplace_back(reader.fields()[i]);
            }
            scannedLines.push_back(reader.line());
            haveRow = reader.next();
        }
    } else {
        for (size_t n = 0; haveRow && n < scanRows; ++n) {
            checkRowWidth(reader, width, fileName);
            for (size_t i = 0; i < width; ++i)
                guesses[i].add(reader.fields()[i]);
            haveRow = reader.next();
        }
        reader.rewind();
        haveRow = reader.next();
        if (ini.colNameHeader)
            haveRow = reader.next();
    }
    for (size_t i = 0; i < width; ++i) {
        if (!columns[i].forced)
            columns[i].type = guesses[i].type();
    }

    TextTableWriter writer(db, tableName, std::move(columns), fileName);
    writer.create();
    std::vector<std::string_view> views(scanned.size() * width);
    std::vector<TextTableWriter::Row> rows;
    for (size_t r = 0; r < scanned.size(); ++r) {
        for (size_t i = 0; i < width; ++i)
            views[r * width + i] = scanned[r][i];
        rows.push_back({views.data() + r * width, nullptr, scannedLines[r]});
    }
    writer.insert(rows.data(), rows.size());
    long long stored = static_cast<long long>(rows.size());

    // The rest streams: read on a worker thread, stored on this one.
    std::vector<bool> numeric(width);
    for (size_t i = 0; i < width; ++i)
        numeric[i] = !writer.columns()[i].forced && writer.columns()[i].type != TextColumnType::Text;
    TextRowPipeline pipeline(reader, haveRow, std::move(numeric), fileName);
    while (TextRowBatch* batch = pipeline.next()) {
        views.resize(batch->rows() * width);
        rows.clear();
        for (size_t r = 0; r < batch->rows(); ++r) {
            batch->values(r, views.data() + r * width);
            rows.push_back({views.data() + r * width, batch->numbers(r), batch->line(r)});
        }
        writer.insert(rows.data(), rows.size());
        stored += static_cast<long long>(rows.size());
        pipeline.recycle(batch);
    }
    return stored;
}

}  // namespace da::embedded
