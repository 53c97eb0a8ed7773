#include "systeminfo.h"

#include "keyboardlayouts.h"

#include <QFile>
#include <QRegularExpression>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <cstdlib>
#include <cstring>
#include <sys/resource.h>
#include <sys/statvfs.h>

namespace plat {

std::optional<std::uint32_t> volumeSerial(const QString& path) {
    struct statvfs st;
    if (statvfs(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    std::uint32_t words[2] = {0, 0};
    std::memcpy(words, &st.f_fsid, std::min(sizeof words, sizeof st.f_fsid));
    return words[0];
}

QString layoutLanguageName(const QString& layoutId) {
    bool ok = false;
    const unsigned id = layoutId.toUInt(&ok, 16) & 0xFFFFu;
    if (!ok)
        return {};
    switch (id) {
    case 0x0429: return QStringLiteral("Persian");
    case 0x0409: return QStringLiteral("English (United States)");
    case 0x0809: return QStringLiteral("English (United Kingdom)");
    case 0x0401: return QStringLiteral("Arabic (Saudi Arabia)");
    case 0x0407: return QStringLiteral("German (Germany)");
    case 0x040C: return QStringLiteral("French (France)");
    default: return {};
    }
}

namespace {

QStringList xkbGroupNames() {
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name)
        return {};
    int event = 0, error = 0, reason = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
    Display* d = XkbOpenDisplay(const_cast<char*>(name), &event, &error, &major, &minor, &reason);
    if (!d)
        return {};
    QStringList names;
    if (XkbDescPtr desc = XkbAllocKeyboard()) {
        if (XkbGetNames(d, XkbGroupNamesMask, desc) == Success && desc->names) {
            for (int g = 0; g < XkbNumKbdGroups; ++g) {
                const Atom a = desc->names->groups[g];
                if (a == None)
                    continue;
                if (char* text = XGetAtomName(d, a)) {
                    names.append(QString::fromUtf8(text));
                    XFree(text);
                }
            }
        }
        XkbFreeKeyboard(desc, 0, True);
    }
    XCloseDisplay(d);
    return names;
}

}  // namespace

QStringList keyboardLayoutNames() {
    QStringList names = xkbGroupNames();
    if (!names.isEmpty())
        return names;
    for (const QString& id : defaultKeyboardLayouts().loaded())
        names.append(layoutLanguageName(id));
    return names;
}

MemoryStatus memoryStatus(const QString& meminfoPath) {
    MemoryStatus m;
    QFile f(meminfoPath);
    std::uint64_t total = 0, available = 0;
    if (f.open(QIODevice::ReadOnly)) {
        static const QRegularExpression line(QStringLiteral("^(\\w+):\\s+(\\d+) kB"), QRegularExpression::MultilineOption);
        auto it = line.globalMatch(QString::fromLatin1(f.readAll()));
        while (it.hasNext()) {
            const auto match = it.next();
            if (match.captured(1) == QLatin1String("MemTotal"))
                total = match.captured(2).toULongLong() * 1024;
            else if (match.captured(1) == QLatin1String("MemAvailable"))
                available = match.captured(2).toULongLong() * 1024;
        }
    }
    m.totalPhys = total;
    if (total > 0)
        m.memoryLoad = static_cast<unsigned>((total - std::min(available, total)) * 100 / total);
    // The address space a program may use: its limit where one is set, otherwise the
    // x86-64 user half below 2^47 less the guard page.
    struct rlimit limit;
    if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
        m.totalVirtual = limit.rlim_cur;
    else
        m.totalVirtual = (std::uint64_t{1} << 47) - 4096;
    return m;
}

}  // namespace plat
