#include "timezonekeys.h"

#include "desktop/timezonetable.h"
#include "platform/registry.h"

namespace desk {

using namespace plat::reg;

void ensureTimeZoneKeys(const QDateTime& at, const QString& zoneInfoDir) {
    if (Key::open(Root::LocalMachine, kTimeZonesKey, Access::Read) ||
        Key::open(Root::LocalMachine, kOldTimeZonesKey, Access::Read))
        return;
    const Key key = Key::create(Root::LocalMachine, kTimeZonesKey, Access::All);
    if (!key)
        return;
    std::vector<std::pair<QString, std::vector<Value>>> zones;
    for (const WindowsZone& z : windowsZones(at, zoneInfoDir))
        zones.push_back({z.name, {Value::string(QStringLiteral("Display"), z.display), Value::string(QStringLiteral("Std"), z.name)}});
    try {
        key.writeSubKeys(zones);
    } catch (const RegistryError&) {
        // A machine hive that takes no writes keeps an empty key; the clocks show Tehran alone.
    }
}

std::optional<std::vector<ZoneKey>> readTimeZoneKeys() {
    QString path = kTimeZonesKey;
    Key key = Key::open(Root::LocalMachine, path, Access::All);
    if (!key) {
        path = kOldTimeZonesKey;
        key = Key::open(Root::LocalMachine, path, Access::All);
    }
    if (!key)
        return std::nullopt;
    const QStringList names = key.subKeyNames();
    key.close();
    std::vector<ZoneKey> zones;
    for (const QString& name : names) {
        const Key zone = Key::open(Root::LocalMachine, path + u'\\' + name, Access::All);
        ZoneKey entry{name, QString()};
        if (zone)
            entry.display = zone.readString(QStringLiteral("Display")).value_or(QString());
        zones.push_back(entry);
    }
    return zones;
}

}  // namespace desk
