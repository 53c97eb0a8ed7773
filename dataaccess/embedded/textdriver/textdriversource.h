#pragma once
// The text file as UTF-8, read in chunks: the byte-order mark or the character set
// that schema.ini names decides how its bytes are decoded.
#include <QString>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace da::embedded {

// ANSI is the Persian Windows code page 1256; OEM is the DOS code page of the same
// installation, 720 (Arabic).
enum class TextCharset {
    Ansi,
    Oem,
    Utf8,
    Utf16LE,
    Utf16BE
};

// The path of name inside dir; when no file has exactly that name, one whose name
// differs only in letter case, as the farm's server would find it. Empty when none.
QString locateFileIgnoringCase(const QString& dir, const QString& name);

// Raised when the file cannot be opened or read, or its next bytes are not text in its
// character set (a NUL byte, broken UTF-8 or UTF-16). The reader adds the file's name and the line.
struct TextReadError {
    QString reason;
};

class TextSource {
public:
    // A byte-order mark wins over the declared character set; without either the file
    // is ANSI. Throws TextReadError when the file cannot be opened.
    TextSource(const QString& path, std::optional<TextCharset> declared);
    ~TextSource();
    TextSource(const TextSource&) = delete;
    TextSource& operator=(const TextSource&) = delete;

    // Puts up to cap (>= 16) bytes of UTF-8 into dst; 0 at the end of the file. A
    // character split between reads waits for the next call. Throws TextReadError when
    // the next bytes cannot be read or decoded, once every good byte before them has
    // been handed out.
    size_t read(char* dst, size_t cap);
    // Back to the first character after the byte-order mark.
    void rewind();
    TextCharset charset() const { return m_charset; }

private:
    size_t readRaw(char* dst, size_t cap);
    size_t readUtf8(char* dst, size_t cap);
    size_t readCodePage(char* dst, size_t cap);
    size_t readUtf16(char* dst, size_t cap);
    // Returns the good bytes, keeping the fault for the next call (or raising it now
    // when there are none).
    size_t deliverBeforeFault(size_t good, const QString& reason);

    int m_fd = -1;
    TextCharset m_charset = TextCharset::Ansi;
    long m_bomSize = 0;
    bool m_eof = false;
    std::optional<QString> m_fault;
    std::string m_carry;                            // bytes of a character not yet complete
    std::vector<char> m_raw;                        // undecoded bytes of the code pages and UTF-16
    const struct CodePageTable* m_table = nullptr;  // ANSI or OEM
};

}  // namespace da::embedded
