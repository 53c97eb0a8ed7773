#include "textdriverpipeline.h"

#include "textdrivererror.h"
#include "textdriverreader.h"

#include <algorithm>

namespace da::embedded {
namespace {

// A batch is bounded by its values and its bytes, not by its rows alone, so that a file
// of many columns or long lines holds as little as one of a few short ones: at most
// about 2 MiB of per-value bookkeeping and 1 MiB of row bytes (plus the one row that
// crosses it) per batch.
constexpr size_t kBatchRows = 2048;
constexpr size_t kBatchValues = 2048 * 32;
constexpr size_t kBatchBytes = 1024 * 1024;
constexpr size_t kBatches = 4;

size_t batchRows(size_t width) { return std::clamp<size_t>(kBatchValues / std::max<size_t>(width, 1), 1, kBatchRows); }

}  // namespace

void TextRowBatch::clear(size_t width, size_t capacity) {
    m_width = width;
    m_rows = 0;
    m_fieldStart.resize(width * capacity);
    m_fieldSize.resize(width * capacity);
    m_numbers.resize(width * capacity);
    m_bytes.clear();
    m_rowStart.clear();
    m_lines.clear();
}

void TextRowBatch::values(size_t row, std::string_view* out) const {
    const char* base = m_bytes.data() + m_rowStart[row];
    const size_t first = row * m_width;
    for (size_t i = 0; i < m_width; ++i)
        out[i] = std::string_view(base + m_fieldStart[first + i], m_fieldSize[first + i]);
}

TextRowPipeline::TextRowPipeline(TextRecordReader& reader, bool haveRow, std::vector<bool> numeric, const QString& fileName)
    : m_reader(reader), m_numeric(std::move(numeric)), m_fileName(fileName) {
    for (size_t i = 0; i < kBatches; ++i) {
        m_batches.push_back(std::make_unique<TextRowBatch>());
        m_free.push_back(m_batches.back().get());
    }
    m_worker = std::thread([this, haveRow] { run(haveRow); });
}

TextRowPipeline::~TextRowPipeline() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    m_worker.join();
}

void TextRowPipeline::run(bool haveRow) {
    try {
        while (haveRow) {
            TextRowBatch* batch = nullptr;
            {
                std::unique_lock lock(m_mutex);
                m_changed.wait(lock, [this] { return m_stop || !m_free.empty(); });
                if (m_stop)
                    return;
                batch = m_free.front();
                m_free.pop_front();
            }
            fillBatch(*batch, haveRow);
            {
                std::lock_guard lock(m_mutex);
                m_full.push_back(batch);
            }
            m_changed.notify_all();
        }
    } catch (...) {
        std::lock_guard lock(m_mutex);
        m_error = std::current_exception();
    }
    {
        std::lock_guard lock(m_mutex);
        m_done = true;
    }
    m_changed.notify_all();
}

void TextRowPipeline::fillBatch(TextRowBatch& batch, bool& haveRow) {
    const size_t width = m_numeric.size();
    const size_t capacity = batchRows(width);
    batch.clear(width, capacity);
    while (haveRow && batch.m_rows < capacity && batch.m_bytes.size() < kBatchBytes) {
        const std::vector<std::string_view>& fields = m_reader.fields();
        if (fields.size() != width)
            throwTextFileError(m_fileName, m_reader.line(), rowWidthMessage(fields.size(), width));
        // The values lie in one span of the reader's buffer (quotes removed in place).
        const char* spanBegin = fields.front().data();
        const size_t spanSize = static_cast<size_t>(fields.back().data() + fields.back().size() - spanBegin);
        batch.m_rowStart.push_back(batch.m_bytes.size());
        batch.m_bytes.insert(batch.m_bytes.end(), spanBegin, spanBegin + spanSize);
        const size_t first = batch.m_rows * width;
        std::uint32_t* start = batch.m_fieldStart.data() + first;
        std::uint32_t* size = batch.m_fieldSize.data() + first;
        TextValue* numbers = batch.m_numbers.data() + first;
        for (size_t i = 0; i < width; ++i) {
            start[i] = static_cast<std::uint32_t>(fields[i].data() - spanBegin);
            size[i] = static_cast<std::uint32_t>(fields[i].size());
            if (m_numeric[i])
                numbers[i] = classifyTextValue(fields[i]);
        }
        batch.m_lines.push_back(m_reader.line());
        ++batch.m_rows;
        haveRow = m_reader.next();
    }
}

TextRowBatch* TextRowPipeline::next() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_full.empty() || m_done; });
    if (!m_full.empty()) {
        TextRowBatch* batch = m_full.front();
        m_full.pop_front();
        return batch;
    }
    if (m_error)
        std::rethrow_exception(m_error);
    return nullptr;
}

void TextRowPipeline::recycle(TextRowBatch* batch) {
    {
        std::lock_guard lock(m_mutex);
        m_free.push_back(batch);
    }
    m_changed.notify_all();
}

}  // namespace da::embedded
