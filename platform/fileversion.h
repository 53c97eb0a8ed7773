#pragma once
// The file version an executable carries, as Windows keeps it in a version resource:
// two 32-bit words, major.minor and release.build. Our executables carry it in an ELF
// section of their own (".bvt_version") holding FileVersionResource.
#include <QString>
#include <cstdint>

namespace plat {

struct FileVersionResource {
    char magic[8];     // "BVTFVER"
    std::uint32_t ms;  // major << 16 | minor
    std::uint32_t ls;  // release << 16 | build
};

// "major.minor.release.build" of the executable at path; empty when the file carries
// no version (not an ELF file, no such section, a section of another size).
QString fileVersion(const QString& path);

}  // namespace plat

// Places a version in the executable that defines it.
#define BVT_FILE_VERSION_RESOURCE(a, b, c, d)                  \
    extern "C" __attribute__((used, section(".bvt_version")))  \
    const plat::FileVersionResource bvtFileVersionResource = { \
        {'B', 'V', 'T', 'F', 'V', 'E', 'R', '\0'}, (a) << 16 | (b), (c) << 16 | (d)}
