#include "bitmapfile.h"

#include <QFile>
#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace desk {

namespace {

const QString kNotValid = QStringLiteral("Bitmap image is not valid");

std::uint32_t u16(const QByteArray& d, qsizetype at) {
    return std::uint8_t(d[at]) | std::uint8_t(d[at + 1]) << 8;
}
std::uint32_t u32(const QByteArray& d, qsizetype at) { return u16(d, at) | u16(d, at + 2) << 16; }

void putU16(QByteArray& d, std::uint32_t v) {
    d.append(char(v & 0xFF));
    d.append(char((v >> 8) & 0xFF));
}
void putU32(QByteArray& d, std::uint32_t v) {
    putU16(d, v & 0xFFFF);
    putU16(d, v >> 16);
}

}  // namespace

Bitmap decodeBitmapFile(const QByteArray& d) {
    constexpr qsizetype kFileHeader = 14;
    if (d.size() < kFileHeader + 12 || d[0] != 'B' || d[1] != 'M')
        throw PictureError(kNotValid);
    const std::uint32_t headerSize = u32(d, 14);
    const bool core = headerSize == 12;  // the old OS/2 header: 16-bit sizes, 3-byte palette
    if (!core && (headerSize < 40 || kFileHeader + qsizetype(headerSize) > d.size()))
        throw PictureError(kNotValid);
    std::int64_t width, height;
    std::uint32_t planes, bits, compression = 0, colours = 0;
    if (core) {
        width = u16(d, 18);
        height = std::int16_t(u16(d, 20));
        planes = u16(d, 22);
        bits = u16(d, 24);
    } else {
        width = std::int32_t(u32(d, 18));
        height = std::int32_t(u32(d, 22));
        planes = u16(d, 26);
        bits = u16(d, 28);
        compression = u32(d, 30);
        colours = u32(d, 46);
    }
    const bool topDown = height < 0;
    height = topDown ? -height : height;
    const bool known = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    if (planes != 1 || !known || compression != 0 || width <= 0 || height <= 0 || width > 0x7FFFFFFF / 32)
        throw PictureError(kNotValid);

    // The palette follows the header; an empty count means the full 2^bits entries.
    const qsizetype paletteAt = kFileHeader + headerSize;
    const int entrySize = core ? 3 : 4;
    std::vector<std::uint8_t> palette;  // blue, green, red per entry
    if (bits <= 8) {
        const std::uint32_t full = 1u << bits;
        const std::uint32_t count = colours == 0 || colours > full ? full : colours;
        if (paletteAt + qsizetype(count) * entrySize > d.size())
            throw PictureError(kNotValid);
        palette.assign(std::size_t(full) * 3, 0);
        for (std::uint32_t i = 0; i < count; ++i)
            std::memcpy(&palette[i * 3], d.constData() + paletteAt + i * entrySize, 3);
    }
    const std::uint64_t stride = ((std::uint64_t(width) * bits + 31) / 32) * 4;
    const std::uint64_t pixelsAt = u32(d, 10);
    if (pixelsAt < std::uint64_t(paletteAt) || pixelsAt + stride * std::uint64_t(height) > std::uint64_t(d.size()))
        throw PictureError(kNotValid);

    Bitmap bitmap(static_cast<int>(width), static_cast<int>(height));
    for (std::int64_t y = 0; y < height; ++y) {
        const auto* src = reinterpret_cast<const std::uint8_t*>(d.constData()) + pixelsAt + stride * std::uint64_t(y);
        std::uint8_t* out = bitmap.scanLine(int(topDown ? y : height - 1 - y));
        for (std::int64_t x = 0; x < width; ++x, out += 3) {
            switch (bits) {
            case 24:
                std::memcpy(out, src + x * 3, 3);
                break;
            case 32:
                std::memcpy(out, src + x * 4, 3);
                break;
            case 16: {
                const std::uint32_t v = src[x * 2] | src[x * 2 + 1] << 8;  // x rrrrr ggggg bbbbb
                out[0] = std::uint8_t((v & 31) * 255 / 31);
                out[1] = std::uint8_t(((v >> 5) & 31) * 255 / 31);
                out[2] = std::uint8_t(((v >> 10) & 31) * 255 / 31);
                break;
            }
            default: {
                const int perByte = 8 / int(bits);
                const int shift = 8 - int(bits) * (1 + int(x % perByte));
                const int index = (src[x / perByte] >> shift) & ((1 << bits) - 1);
                std::memcpy(out, &palette[std::size_t(index) * 3], 3);
                break;
            }
            }
        }
    }
    return bitmap;
}

QByteArray readWholeFile(const QString& fileName) {
    const int fd = ::open(QFile::encodeName(fileName).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw PictureError(openFailedMessage(fileName, errno));
    struct stat st {};
    if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        const int err = S_ISDIR(st.st_mode) ? EISDIR : errno;
        ::close(fd);
        throw PictureError(openFailedMessage(fileName, err));
    }
    QByteArray data;
    // No picture this program holds comes from a file larger than twice its pixel limit.
    if (std::uint64_t(st.st_size) > 2 * Bitmap::kMaxBytes) {
        ::close(fd);
        throw PictureError(QStringLiteral("File \"%1\" is too large for a picture").arg(fileName));
    }
    data.reserve(qsizetype(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int err = errno;
            ::close(fd);
            throw PictureError(QStringLiteral("Cannot read file \"%1\". %2")
                                   .arg(fileName, QString::fromLocal8Bit(std::strerror(err))));
        }
        if (n == 0)
            break;
        data.append(buffer, n);
    }
    ::close(fd);
    return data;
}

Bitmap readBitmapFile(const QString& fileName) { return decodeBitmapFile(readWholeFile(fileName)); }

QByteArray encodeBitmapFile(const Bitmap& bitmap) {
    const std::uint32_t stride = (std::uint32_t(bitmap.width()) * 3 + 3) & ~3u;
    const std::uint32_t imageSize = stride * std::uint32_t(bitmap.height());
    QByteArray d;
    d.reserve(54 + qsizetype(imageSize));
    d.append("BM", 2);
    putU32(d, 54 + imageSize);
    putU32(d, 0);
    putU32(d, 54);
    putU32(d, 40);
    putU32(d, std::uint32_t(bitmap.width()));
    putU32(d, std::uint32_t(bitmap.height()));  // bottom-up, as most readers expect
    putU16(d, 1);
    putU16(d, 24);
    putU32(d, 0);
    putU32(d, imageSize);
    putU32(d, 3780);  // 96 dots per inch
    putU32(d, 3780);
    putU32(d, 0);
    putU32(d, 0);
    const QByteArray pad(stride - bitmap.bytesPerLine(), '\0');
    for (int y = bitmap.height() - 1; y >= 0; --y) {
        d.append(reinterpret_cast<const char*>(bitmap.scanLine(y)), bitmap.bytesPerLine());
        d.append(pad);
    }
    return d;
}

void replaceFile(const QString& fileName, const QByteArray& data) {
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit())
        throw PictureError(createFailedMessage(fileName, file.errorString()));
}

void writeBitmapFile(const Bitmap& bitmap, const QString& fileName) { replaceFile(fileName, encodeBitmapFile(bitmap)); }

}  // namespace desk
