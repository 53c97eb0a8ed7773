#include "reportsources.h"

#include "desktop/timezonekeys.h"

namespace desk {

namespace {

std::function<QDateTime()>& nowSource() {
    static std::function<QDateTime()> now;
    return now;
}

ZoneKeysSource& zoneSource() {
    static ZoneKeysSource source;
    return source;
}

}  // namespace

void setWorldClockNow(std::function<QDateTime()> now) { nowSource() = std::move(now); }

QDateTime worldClockNow() { return nowSource() ? nowSource()() : QDateTime::currentDateTime(); }

void setZoneKeysSource(ZoneKeysSource source) { zoneSource() = std::move(source); }

std::optional<std::vector<ZoneKey>> readZoneKeys() {
    if (zoneSource())
        return zoneSource()();
    const QString tzdir = qEnvironmentVariable("TZDIR", QStringLiteral("/usr/share/zoneinfo"));
    ensureTimeZoneKeys(worldClockNow(), tzdir);
    return readTimeZoneKeys();
}

}  // namespace desk
