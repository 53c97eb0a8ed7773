#pragma once
// What the computer report asks of the system: the volume serial of the root file
// system, the installed keyboard layouts by language name, and the memory status.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace plat {

// The serial of the volume holding path, as an unsigned 32-bit number: the first word
// of the file system's identifier. Nothing when the volume cannot be queried.
std::optional<std::uint32_t> volumeSerial(const QString& path = QStringLiteral("/"));

// The installed keyboard layouts in the desktop's order, by the language names the
// desktop gives them: the XKB group names under X11, otherwise the layouts the
// keyboard stand-in has loaded, named as Windows names their languages.
QStringList keyboardLayoutNames();
// The language name of a Windows layout identifier ("00000429" -> "Persian"); the low
// word is the language. Empty for a language not known here.
QString layoutLanguageName(const QString& layoutId);

struct MemoryStatus {
    unsigned memoryLoad = 0;         // percent of physical memory in use
    std::uint64_t totalPhys = 0;     // bytes
    std::uint64_t totalVirtual = 0;  // bytes of this program's user address space
};
// From /proc/meminfo (MemTotal, MemAvailable) and the address-space limit.
MemoryStatus memoryStatus(const QString& meminfoPath = QStringLiteral("/proc/meminfo"));

}  // namespace plat
