#include "shelllink.h"

#include "platform/ansicodec.h"
#include "platform/atomicfile.h"

namespace plat {

namespace {

constexpr quint32 kHasLinkInfo = 0x00000002;
constexpr quint32 kHasWorkingDir = 0x00000010;
constexpr quint32 kHasArguments = 0x00000020;
constexpr quint32 kIsUnicode = 0x00000080;
constexpr quint32 kVolumeIdAndLocalBasePath = 0x00000001;
constexpr quint32 kDriveFixed = 3;
constexpr qsizetype kMaxString = 0xffff;

// {00021401-0000-0000-C000-000000000046} as stored (the first three fields little-endian).
const char kLinkClsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                             char(0xc0), 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

void put16(QByteArray& out, quint32 v) {
    out += char(v & 0xff);
    out += char((v >> 8) & 0xff);
}

void put32(QByteArray& out, quint32 v) {
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

QByteArray utf16(const QString& text, bool terminated) {
    QByteArray out;
    for (QChar c : text)
        put16(out, c.unicode());
    if (terminated)
        put16(out, 0);
    return out;
}

QByteArray linkInfo(const QString& target) {
    // Header with the two UTF-16 offsets (header size 0x24), then the volume, the
    // local path and the empty common suffix, each in ANSI and in UTF-16.
    constexpr quint32 kHeaderSize = 0x24;
    QByteArray volume;
    put32(volume, 0x11);  // size: 16 bytes of fields and the empty label
    put32(volume, kDriveFixed);
    put32(volume, 0);     // serial number
    put32(volume, 0x10);  // label offset
    volume += '\0';
    const QByteArray ansiPath = toAnsi(target) + '\0';
    const QByteArray ansiSuffix(1, '\0');
    const QByteArray widePath = utf16(target, true);
    const QByteArray wideSuffix = utf16(QString(), true);
    const quint32 volumeOffset = kHeaderSize;
    const quint32 pathOffset = volumeOffset + quint32(volume.size());
    const quint32 suffixOffset = pathOffset + quint32(ansiPath.size());
    quint32 widePathOffset = suffixOffset + quint32(ansiSuffix.size());
    widePathOffset += widePathOffset % 2;  // UTF-16 text on an even offset
    const quint32 wideSuffixOffset = widePathOffset + quint32(widePath.size());
    const quint32 size = wideSuffixOffset + quint32(wideSuffix.size());
    QByteArray out;
    put32(out, size);
    put32(out, kHeaderSize);
    put32(out, kVolumeIdAndLocalBasePath);
    put32(out, volumeOffset);
    put32(out, pathOffset);
    put32(out, 0);  // no network location
    put32(out, suffixOffset);
    put32(out, widePathOffset);
    put32(out, wideSuffixOffset);
    out += volume + ansiPath + ansiSuffix;
    if (quint32(out.size()) < widePathOffset)
        out += '\0';
    out += widePath + wideSuffix;
    return out;
}

void putString(QByteArray& out, const QString& text) {
    put16(out, quint32(text.size()));
    out += utf16(text, false);
}

}  // namespace

QByteArray encodeShellLink(const ShellLink& link) {
    if (link.arguments.size() > kMaxString || link.workingDirectory.size() > kMaxString ||
        link.target.size() > kMaxString / 4)
        return {};
    quint32 flags = kHasLinkInfo | kIsUnicode;
    if (!link.workingDirectory.isEmpty())
        flags |= kHasWorkingDir;
    if (!link.arguments.isEmpty())
        flags |= kHasArguments;
    QByteArray out;
    put32(out, 0x4c);
    out.append(kLinkClsid, sizeof kLinkClsid);
    put32(out, flags);
    put32(out, 0);         // file attributes
    out.append(24, '\0');  // creation, access and write times
    put32(out, 0);         // file size
    put32(out, 0);         // icon index
    put32(out, link.showCommand);
    put16(out, 0);         // hotkey
    out.append(10, '\0');  // reserved
    out += linkInfo(link.target);
    if (!link.workingDirectory.isEmpty())
        putString(out, link.workingDirectory);
    if (!link.arguments.isEmpty())
        putString(out, link.arguments);
    put32(out, 0);  // terminal block
    return out;
}

bool saveShellLink(const ShellLink& link, const QString& fileName) {
    const QByteArray bytes = encodeShellLink(link);
    return !bytes.isEmpty() && writeFileAtomically(fileName, bytes);
}

}  // namespace plat
