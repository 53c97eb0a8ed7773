#include "fileversion.h"

#include <QFile>

#include <cstring>
#include <elf.h>

namespace plat {

namespace {

template <typename T>
bool readAt(QFile& f, qint64 offset, T& out) {
    return offset >= 0 && f.seek(offset) && f.read(reinterpret_cast<char*>(&out), sizeof out) == sizeof out;
}

}  // namespace

QString fileVersion(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    Elf64_Ehdr eh;
    if (!readAt(f, 0, eh) || std::memcmp(eh.e_ident, ELFMAG, SELFMAG) != 0 || eh.e_ident[EI_CLASS] != ELFCLASS64 ||
        eh.e_shentsize != sizeof(Elf64_Shdr) || eh.e_shstrndx >= eh.e_shnum)
        return {};
    const auto header = [&](unsigned i, Elf64_Shdr& sh) {
        return readAt(f, static_cast<qint64>(eh.e_shoff + i * sizeof(Elf64_Shdr)), sh);
    };
    Elf64_Shdr names;
    if (!header(eh.e_shstrndx, names))
        return {};
    static constexpr char wanted[] = ".bvt_version";
    for (unsigned i = 0; i < eh.e_shnum; ++i) {
        Elf64_Shdr sh;
        char name[sizeof wanted] = {};
        if (!header(i, sh) || sh.sh_name >= names.sh_size || !readAt(f, static_cast<qint64>(names.sh_offset + sh.sh_name), name))
            continue;
        if (std::memcmp(name, wanted, sizeof wanted) != 0 || sh.sh_size != sizeof(FileVersionResource))
            continue;
        FileVersionResource v;
        if (!readAt(f, static_cast<qint64>(sh.sh_offset), v) || std::memcmp(v.magic, "BVTFVER", 8) != 0)
            return {};
        return QStringLiteral("%1.%2.%3.%4").arg(v.ms >> 16).arg(v.ms & 0xFFFF).arg(v.ls >> 16).arg(v.ls & 0xFFFF);
    }
    return {};
}

}  // namespace plat
