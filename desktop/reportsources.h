#pragma once
// Where the system and world-clock reports take their changing facts from, so tests
// pin them: the local clock and the time-zone keys.
#include "desktop/worldclocks.h"

#include <QDateTime>
#include <functional>
#include <optional>
#include <vector>

namespace desk {

// The computer's local date and time; empty: the system clock.
void setWorldClockNow(std::function<QDateTime()> now);
QDateTime worldClockNow();

// The zones under the time-zone key in the registry's order; nothing when neither
// time-zone key can be opened. Raises what the registry raises for a bad value.
using ZoneKeysSource = std::function<std::optional<std::vector<ZoneKey>>()>;
// Replaces the registry as the source (tests); empty: the registry's time-zone keys,
// filled from the system's time-zone data on first use.
void setZoneKeysSource(ZoneKeysSource source);
std::optional<std::vector<ZoneKey>> readZoneKeys();

}  // namespace desk
