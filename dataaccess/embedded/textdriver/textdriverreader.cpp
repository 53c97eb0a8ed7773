#include "textdriverreader.h"

#include "textdrivererror.h"
#include "textdriversource.h"

#include <algorithm>
#include <cstring>

namespace da::embedded {
namespace {

constexpr size_t kChunk = 1 << 20;
constexpr size_t kMinRead = 64 * 1024;
// A row longer than this is taken for a quote left open rather than held in memory.
constexpr size_t kMaxRow = 8u << 20;

}  // namespace

TextRecordReader::TextRecordReader(TextSource& source, char delimiter, const QString& fileName)
    : m_source(source), m_delimiter(delimiter), m_fileName(fileName), m_buf(new char[kChunk]), m_capacity(kChunk) {
    m_special[static_cast<unsigned char>(delimiter)] = true;
    m_special[static_cast<unsigned char>('\r')] = true;
    m_special[static_cast<unsigned char>('\n')] = true;
}

void TextRecordReader::rewind() {
    m_source.rewind();
    m_pos = m_end = 0;
    m_eof = false;
    m_line = 1;
    m_recordLine = 0;
    m_fields.clear();
}

bool TextRecordReader::next() {
    for (;;) {
        switch (parseRow()) {
        case Step::Row: return true;
        case Step::End: return false;
        case Step::NeedMore: fill(); break;
        }
    }
}

void TextRecordReader::fill() {
    const size_t keep = m_end - m_pos;
    if (m_pos > 0) {
        std::memmove(m_buf.get(), m_buf.get() + m_pos, keep);
        m_pos = 0;
        m_end = keep;
    }
    if (m_capacity - m_end < kMinRead) {
        if (keep >= kMaxRow)
            throwTextFileError(m_fileName, m_line, QStringLiteral("the row is longer than 8 MiB; is a quote left open?"));
        const size_t capacity = m_capacity * 2;
        std::unique_ptr<char[]> bigger(new char[capacity]);
        std::memcpy(bigger.get(), m_buf.get(), m_end);
        m_buf = std::move(bigger);
        m_capacity = capacity;
    }
    size_t n = 0;
    try {
        n = m_source.read(m_buf.get() + m_end, m_capacity - m_end);
    } catch (const TextReadError& e) {
        // The fault lies after every byte read so far.
        const qint64 line = m_line + std::count(m_buf.get(), m_buf.get() + m_end, '\n');
        throwTextFileError(m_fileName, line, QStringLiteral("the file cannot be read: %1.").arg(e.reason));
    }
    if (n == 0)
        m_eof = true;
    m_end += n;
}

// Parses the row at m_pos. Nothing is kept when more bytes are needed: the row is
// parsed again from its start once they are read.
TextRecordReader::Step TextRecordReader::parseRow() {
    const char* const b = m_buf.get();
    const size_t end = m_end;
    const char delim = m_delimiter;
    size_t p = m_pos;
    qint64 line = m_line;
    m_fields.clear();
    m_escaped.clear();

    for (;;) {  // empty lines
        if (p == end) {
            if (!m_eof)
                return Step::NeedMore;
            m_pos = p;
            m_line = line;
            return Step::End;
        }
        if (b[p] == '\n') {
            ++p;
        } else if (b[p] == '\r') {
            if (p + 1 == end && !m_eof)
                return Step::NeedMore;
            ++p;
            if (p < end && b[p] == '\n')
                ++p;
        } else {
            break;
        }
        ++line;
    }
    const qint64 rowLine = line;

    for (;;) {
        if (p < end && b[p] == '"') {
            const size_t begin = p + 1;
            size_t q = begin;
            bool escaped = false;
            for (;;) {
                if (q == end) {
                    if (!m_eof)
                        return Step::NeedMore;
                    throwTextFileError(m_fileName, rowLine, QStringLiteral("a quoted value is not closed before the end of the file."));
                }
                const char c = b[q];
                if (c == '"') {
                    if (q + 1 == end && !m_eof)
                        return Step::NeedMore;
                    if (q + 1 < end && b[q + 1] == '"') {
                        escaped = true;
                        q += 2;
                        continue;
                    }
                    break;
                }
                if (c == '\n' || (c == '\r' && (q + 1 == end || b[q + 1] != '\n')))
                    ++line;
                ++q;
            }
            if (escaped)
                m_escaped.push_back(m_fields.size());
            m_fields.emplace_back(b + begin, q - begin);
            p = q + 1;
            if (delim != ' ') {
                while (p < end && b[p] == ' ')
                    ++p;
            }
            if (p == end && !m_eof)
                return Step::NeedMore;
            if (p < end && b[p] != delim && b[p] != '\r' && b[p] != '\n')
                throwTextFileError(m_fileName, line, QStringLiteral("text follows the closing quote of value %1.").arg(m_fields.size()));
        } else {
            const size_t begin = p;
            while (p < end && !m_special[static_cast<unsigned char>(b[p])])
                ++p;
            if (p == end && !m_eof)
                return Step::NeedMore;
            m_fields.emplace_back(b + begin, p - begin);
        }
        if (p == end)
            break;  // the last line has no line end
        const char c = b[p];
        if (c == delim) {
            ++p;
            continue;
        }
        if (c == '\r') {
            if (p + 1 == end && !m_eof)
                return Step::NeedMore;
            ++p;
            if (p < end && b[p] == '\n')
                ++p;
        } else {
            ++p;
        }
        ++line;
        break;
    }
    m_pos = p;
    m_line = line;
    m_recordLine = rowLine;
    unescapeQuotes();
    return Step::Row;
}

void TextRecordReader::unescapeQuotes() {
    for (size_t index : m_escaped) {
        const std::string_view f = m_fields[index];
        char* const begin = m_buf.get() + (f.data() - m_buf.get());
        char* out = begin;
        for (size_t i = 0; i < f.size(); ++i) {
            *out++ = f[i];
            if (f[i] == '"')
                ++i;  // the second quote of a pair
        }
        m_fields[index] = std::string_view(begin, static_cast<size_t>(out - begin));
    }
}

}  // namespace da::embedded
