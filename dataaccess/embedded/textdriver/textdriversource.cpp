#include "textdriversource.h"

#include "platform/ansicodec.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace da::embedded {

// UTF-8 of the upper half of a single-byte code page.
struct CodePageTable {
    struct Entry {
        unsigned char size;
        char bytes[3];
    };
    Entry high[128];
};

namespace {

constexpr size_t kRawChunk = 1 << 20;

CodePageTable makeTable(const char16_t (&codes)[128]) {
    CodePageTable t{};
    for (int i = 0; i < 128; ++i) {
        const QByteArray utf8 = QString(QChar(codes[i])).toUtf8();
        t.high[i].size = static_cast<unsigned char>(utf8.size());
        std::memcpy(t.high[i].bytes, utf8.constData(), static_cast<size_t>(utf8.size()));
    }
    return t;
}

const CodePageTable& ansiTable() {
    static const CodePageTable table = [] {
        char16_t codes[128];
        for (int i = 0; i < 128; ++i)
            codes[i] = plat::fromAnsi(QByteArray(1, static_cast<char>(0x80 + i))).at(0).unicode();
        return makeTable(codes);
    }();
    return table;
}

// Code page 720 (DOS Arabic); its unassigned bytes map to the control characters of
// the same number, as Windows maps them.
const CodePageTable& oemTable() {
    static constexpr char16_t codes[128] = {
        0x0080, 0x0081, 0x00E9, 0x00E2, 0x0084, 0x00E0, 0x0086, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x008D, 0x008E, 0x008F,
        0x0090, 0x0651, 0x0652, 0x00F4, 0x00A4, 0x0640, 0x00FB, 0x00F9, 0x0621, 0x0622, 0x0623, 0x0624, 0x00A3, 0x0625, 0x0626, 0x0627,
        0x0628, 0x0629, 0x062A, 0x062B, 0x062C, 0x062D, 0x062E, 0x062F, 0x0630, 0x0631, 0x0632, 0x0633, 0x0634, 0x0635, 0x00AB, 0x00BB,
        0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
        0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
        0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
        0x0636, 0x0637, 0x0638, 0x0639, 0x063A, 0x0641, 0x00B5, 0x0642, 0x0643, 0x0644, 0x0645, 0x0646, 0x0647, 0x0648, 0x0649, 0x064A,
        0x2261, 0x064B, 0x064C, 0x064D, 0x064E, 0x064F, 0x0650, 0x2248, 0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0};
    static const CodePageTable table = makeTable(codes);
    return table;
}

// Eight bytes, all below 0x80 and none of them NUL.
bool plainAscii8(const char* p) {
    std::uint64_t w;
    std::memcpy(&w, p, 8);
    constexpr std::uint64_t high = 0x8080808080808080ull, ones = 0x0101010101010101ull;
    return (w & high) == 0 && ((w - ones) & ~w & high) == 0;
}

struct Utf8Scan {
    size_t good;  // bytes of whole, valid characters
    bool bad;     // false with good < size: the last character is not complete yet
};

Utf8Scan scanUtf8(const char* s, size_t n) {
    size_t i = 0;
    while (i < n) {
        while (i + 8 <= n && plainAscii8(s + i))
            i += 8;
        if (i >= n)
            break;
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            if (c == 0)
                return {i, true};
            ++i;
            continue;
        }
        size_t len;
        if (c >= 0xC2 && c <= 0xDF)
            len = 2;
        else if (c >= 0xE0 && c <= 0xEF)
            len = 3;
        else if (c >= 0xF0 && c <= 0xF4)
            len = 4;
        else
            return {i, true};
        for (size_t k = 1; k < len; ++k) {
            if (i + k >= n)
                return {i, false};
            const auto t = static_cast<unsigned char>(s[i + k]);
            if ((t & 0xC0) != 0x80)
                return {i, true};
            // Overlong forms, surrogates and code points above U+10FFFF.
            if (k == 1 && ((c == 0xE0 && t < 0xA0) || (c == 0xED && t > 0x9F) || (c == 0xF0 && t < 0x90) ||
                           (c == 0xF4 && t > 0x8F)))
                return {i, true};
        }
        i += len;
    }
    return {n, false};
}

QString nulReason() { return QStringLiteral("it holds a NUL character, so it is not a text file"); }

size_t putUtf8(char* out, char32_t cp) {
    if (cp < 0x80) {
        out[0] = static_cast<char>(cp);
        return 1;
    }
    if (cp < 0x800) {
        out[0] = static_cast<char>(0xC0 | (cp >> 6));
        out[1] = static_cast<char>(0x80 | (cp & 0x3F));
        return 2;
    }
    if (cp < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (cp >> 12));
        out[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (cp & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (cp >> 18));
    out[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (cp & 0x3F));
    return 4;
}

}  // namespace

QString locateFileIgnoringCase(const QString& dir, const QString& name) {
    const QDir d(dir);
    const QString exact = d.filePath(name);
    // Whatever the name is (a folder, a FIFO, a device) is found, so that the reader can
    // say why it does not read it.
    if (QFileInfo::exists(exact))
        return exact;
    const QFileInfo wanted(exact);
    const QDir parent = wanted.dir();
    for (const QString& entry : parent.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)) {
        if (entry.compare(wanted.fileName(), Qt::CaseInsensitive) == 0)
            return parent.filePath(entry);
    }
    return {};
}

TextSource::TextSource(const QString& path, std::optional<TextCharset> declared) {
    // Regular files only: a FIFO would wait for a writer for ever, holding the database's
    // write lock, and a device or socket has no end. Opened without waiting, then looked at.
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (m_fd < 0)
        throw TextReadError{QStringLiteral("it cannot be opened (%1)").arg(QString::fromLocal8Bit(std::strerror(errno)))};
    struct stat st {};
    if (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const char* what = S_ISDIR(st.st_mode)                          ? "a folder"
                           : S_ISFIFO(st.st_mode)                       ? "a FIFO"
                           : S_ISSOCK(st.st_mode)                       ? "a socket"
                           : S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode) ? "a device"
                                                                        : "of another kind";
        ::close(m_fd);
        m_fd = -1;
        throw TextReadError{QStringLiteral("it is %1, not a regular file").arg(QLatin1String(what))};
    }
    ::fcntl(m_fd, F_SETFL, ::fcntl(m_fd, F_GETFL) & ~O_NONBLOCK);
    ::posix_fadvise(m_fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    unsigned char head[3] = {0, 0, 0};
    const ssize_t got = ::pread(m_fd, head, 3, 0);
    // A byte-order mark says for certain what the bytes are, so it wins over schema.ini.
    if (got == 3 && head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF) {
        m_charset = TextCharset::Utf8;
        m_bomSize = 3;
    } else if (got >= 2 && head[0] == 0xFF && head[1] == 0xFE) {
        m_charset = TextCharset::Utf16LE;
        m_bomSize = 2;
    } else if (got >= 2 && head[0] == 0xFE && head[1] == 0xFF) {
        m_charset = TextCharset::Utf16BE;
        m_bomSize = 2;
    } else {
        m_charset = declared.value_or(TextCharset::Ansi);
    }
    if (m_charset == TextCharset::Ansi)
        m_table = &ansiTable();
    else if (m_charset == TextCharset::Oem)
        m_table = &oemTable();
    rewind();
}

TextSource::~TextSource() {
    if (m_fd >= 0)
        ::close(m_fd);
}

void TextSource::rewind() {
    ::lseek(m_fd, m_bomSize, SEEK_SET);
    m_eof = false;
    m_fault.reset();
    m_carry.clear();
}

size_t TextSource::read(char* dst, size_t cap) {
    if (m_fault)
        throw TextReadError{*m_fault};
    switch (m_charset) {
    case TextCharset::Utf8: return readUtf8(dst, cap);
    case TextCharset::Utf16LE:
    case TextCharset::Utf16BE: return readUtf16(dst, cap);
    case TextCharset::Ansi:
    case TextCharset::Oem: break;
    }
    return readCodePage(dst, cap);
}

size_t TextSource::readRaw(char* dst, size_t cap) {
    size_t total = 0;
    while (total < cap && !m_eof) {
        const ssize_t n = ::read(m_fd, dst + total, cap - total);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw TextReadError{QStringLiteral("reading it failed (%1)").arg(QString::fromLocal8Bit(std::strerror(errno)))};
        }
        if (n == 0)
            m_eof = true;
        total += static_cast<size_t>(n);
    }
    return total;
}

size_t TextSource::deliverBeforeFault(size_t good, const QString& reason) {
    if (good == 0)
        throw TextReadError{reason};
    m_fault = reason;
    return good;
}

size_t TextSource::readUtf8(char* dst, size_t cap) {
    size_t n = m_carry.size();
    std::memcpy(dst, m_carry.data(), n);
    m_carry.clear();
    n += readRaw(dst + n, cap - n);
    const Utf8Scan scan = scanUtf8(dst, n);
    if (scan.bad)
        return deliverBeforeFault(scan.good, dst[scan.good] == 0 ? nulReason() : QStringLiteral("its bytes are not UTF-8 text"));
    if (scan.good < n) {
        if (m_eof)
            return deliverBeforeFault(scan.good, QStringLiteral("it ends inside a UTF-8 character"));
        m_carry.assign(dst + scan.good, n - scan.good);
    }
    return scan.good;
}

size_t TextSource::readCodePage(char* dst, size_t cap) {
    // A byte becomes at most three bytes of UTF-8.
    const size_t want = std::min(cap / 3, kRawChunk);
    m_raw.resize(std::max(m_raw.size(), want));
    const size_t n = readRaw(m_raw.data(), want);
    const char* raw = m_raw.data();
    size_t out = 0;
    for (size_t i = 0; i < n;) {
        if (i + 8 <= n && plainAscii8(raw + i)) {
            std::memcpy(dst + out, raw + i, 8);
            out += 8;
            i += 8;
            continue;
        }
        const auto c = static_cast<unsigned char>(raw[i++]);
        if (c < 0x80) {
            if (c == 0)
                return deliverBeforeFault(out, nulReason());
            dst[out++] = static_cast<char>(c);
            continue;
        }
        const CodePageTable::Entry& e = m_table->high[c - 0x80];
        std::memcpy(dst + out, e.bytes, e.size);
        out += e.size;
    }
    return out;
}

size_t TextSource::readUtf16(char* dst, size_t cap) {
    // A unit becomes at most three bytes of UTF-8 (a surrogate pair four for two units).
    const size_t want = std::min(cap / 3, kRawChunk) * 2;
    m_raw.resize(std::max(m_raw.size(), want + 4));
    size_t n = m_carry.size();
    std::memcpy(m_raw.data(), m_carry.data(), n);
    m_carry.clear();
    n += readRaw(m_raw.data() + n, want - std::min(want, n));
    const auto* raw = reinterpret_cast<const unsigned char*>(m_raw.data());
    const bool le = m_charset == TextCharset::Utf16LE;
    auto unitAt = [&](size_t i) -> char32_t { return le ? raw[i] | (raw[i + 1] << 8) : (raw[i] << 8) | raw[i + 1]; };
    size_t out = 0, i = 0;
    while (i + 2 <= n) {
        const char32_t u = unitAt(i);
        if (u == 0)
            return deliverBeforeFault(out, nulReason());
        if (u >= 0xDC00 && u <= 0xDFFF)
            return deliverBeforeFault(out, QStringLiteral("its bytes are not UTF-16 text"));
        if (u >= 0xD800 && u <= 0xDBFF) {
            if (i + 4 > n)
                break;  // the pair's second half comes with the next read
            const char32_t low = unitAt(i + 2);
            if (low < 0xDC00 || low > 0xDFFF)
                return deliverBeforeFault(out, QStringLiteral("its bytes are not UTF-16 text"));
            out += putUtf8(dst + out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
            i += 4;
            continue;
        }
        out += putUtf8(dst + out, u);
        i += 2;
    }
    if (i < n) {
        if (m_eof)
            return deliverBeforeFault(out, QStringLiteral("it ends inside a UTF-16 character"));
        m_carry.assign(m_raw.data() + i, n - i);
    }
    return out;
}

}  // namespace da::embedded
