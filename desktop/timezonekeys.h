#pragma once
// The time-zone keys of the machine's registry, as the world clocks read them. The
// registry here starts empty, so the first reading fills the key from the system's
// time-zone data (desktop/timezonetable.h).
#include "desktop/worldclocks.h"

#include <QDateTime>
#include <optional>
#include <vector>

namespace desk {

inline const QString kTimeZonesKey = QStringLiteral("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones");
inline const QString kOldTimeZonesKey = QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Time Zones");

// Creates the time-zone key with one subkey per Windows zone ("Display" and "Std"
// values) when neither time-zone key exists; a hive that cannot be written is left as
// it is.
void ensureTimeZoneKeys(const QDateTime& at, const QString& zoneInfoDir);

// The zones under the first time-zone key that opens (full access, never created), in
// the registry's order; nothing when neither opens. A zone that cannot be opened or has
// no "Display" gets an empty one; a "Display" of another kind raises the registry's
// "Invalid data type for '%s'".
std::optional<std::vector<ZoneKey>> readTimeZoneKeys();

}  // namespace desk
