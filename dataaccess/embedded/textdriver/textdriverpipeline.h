#pragma once
// Reads the text file's rows on a worker thread while the calling thread stores them:
// the worker parses, checks each row's width and reads the numbers of the columns whose
// type was guessed as numeric; it hands over batches of rows through a short queue, so
// the memory held stays bounded. The worker touches nothing but the reader and the
// batches; it is stopped and joined before the pipeline is gone.
#include "textdrivervalue.h"

#include <QString>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

namespace da::embedded {

class TextRecordReader;

// Rows as the worker hands them over: each row's bytes copied whole, its values as
// offsets into them, and the numbers it read.
class TextRowBatch {
public:
    size_t rows() const { return m_rows; }
    qint64 line(size_t row) const { return m_lines[row]; }
    // Puts the row's values (one per column) into out, valid until the batch is handed back.
    void values(size_t row, std::string_view* out) const;
    // The numbers read from the row (meaningful for the columns that were numeric).
    const TextValue* numbers(size_t row) const { return m_numbers.data() + row * m_width; }

private:
    friend class TextRowPipeline;
    void clear(size_t width, size_t capacity);

    size_t m_width = 0;
    size_t m_rows = 0;
    std::vector<char> m_bytes;
    // Per row and column, sized for a full batch.
    std::vector<std::uint32_t> m_fieldStart;  // offset of the value in its row
    std::vector<std::uint32_t> m_fieldSize;
    std::vector<size_t> m_rowStart;  // offset of the row in m_bytes
    std::vector<TextValue> m_numbers;
    std::vector<qint64> m_lines;
};

class TextRowPipeline {
public:
    // Starts the worker on the reader's current row (haveRow: there is one). numeric[i]:
    // column i holds numbers of a guessed type.
    TextRowPipeline(TextRecordReader& reader, bool haveRow, std::vector<bool> numeric, const QString& fileName);
    ~TextRowPipeline();
    TextRowPipeline(const TextRowPipeline&) = delete;
    TextRowPipeline& operator=(const TextRowPipeline&) = delete;

    // The next batch, nullptr at the end of the file. Raises the worker's error (a row
    // it could not read) once the rows before it have been handed over.
    TextRowBatch* next();
    // Gives a batch back for reuse.
    void recycle(TextRowBatch* batch);

private:
    void run(bool haveRow);
    void fillBatch(TextRowBatch& batch, bool& haveRow);

    TextRecordReader& m_reader;
    const std::vector<bool> m_numeric;
    const QString m_fileName;
    std::vector<std::unique_ptr<TextRowBatch>> m_batches;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<TextRowBatch*> m_free;
    std::deque<TextRowBatch*> m_full;
    bool m_done = false;  // the worker handed over its last batch
    bool m_stop = false;  // the caller stopped early
    std::exception_ptr m_error;
    std::thread m_worker;
};

}  // namespace da::embedded
