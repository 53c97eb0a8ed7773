#pragma once
// Splits the text file into rows of values: delimited fields, double-quoted fields
// with "" for a quote (a quoted field may hold the delimiter and line ends), rows ended
// by CR LF, LF or CR, the last one possibly without a line end. Empty lines are no rows.
#include <QString>
#include <memory>
#include <string_view>
#include <vector>

namespace da::embedded {

class TextSource;

class TextRecordReader {
public:
    TextRecordReader(TextSource& source, char delimiter, const QString& fileName);

    // Reads the next row; false at the end of the file. The values stay valid until the
    // next call. Throws SqlError naming the file and the line of a row it cannot read.
    bool next();
    const std::vector<std::string_view>& fields() const { return m_fields; }
    // The line (from 1) on which the row last read begins.
    qint64 line() const { return m_recordLine; }
    // Back to the first row.
    void rewind();

private:
    enum class Step {
        Row,
        NeedMore,
        End
    };
    Step parseRow();
    void fill();
    void unescapeQuotes();

    TextSource& m_source;
    const char m_delimiter;
    const QString m_fileName;
    bool m_special[256] = {};  // ends an unquoted value
    std::unique_ptr<char[]> m_buf;
    size_t m_capacity = 0;
    size_t m_pos = 0;  // first byte not yet parsed
    size_t m_end = 0;  // end of the bytes read
    bool m_eof = false;
    qint64 m_line = 1;  // line at m_pos
    qint64 m_recordLine = 0;
    std::vector<std::string_view> m_fields;
    std::vector<size_t> m_escaped;  // fields holding "" pairs
};

}  // namespace da::embedded
