#pragma once
// The time zones as Windows lists them, made from the system's time-zone data: one
// entry per Windows zone that Qt maps an IANA zone to, with its "Display" text
// "(GMT+04:00) Dubai, Muscat" from today's standard offset and the places of the IANA
// zones of that Windows zone.
#include <QDateTime>
#include <QString>
#include <vector>

namespace desk {

struct WindowsZone {
    QString name;     // "Arabian Standard Time"
    QString display;  // "(GMT+04:00) Dubai, Muscat"
};

// "(GMT+hh:mm)" or "(GMT-hh:mm)" for an offset in seconds east of Greenwich.
QString gmtOffsetText(int offsetSeconds);

// Every Windows zone, in the order of their names ignoring case. zoneInfoDir is the
// folder of the IANA database whose every zone name is tried (the system's names and
// their older aliases, e.g. Asia/Calcutta); the zones Qt reports are tried as well.
std::vector<WindowsZone> windowsZones(const QDateTime& at, const QString& zoneInfoDir);

}  // namespace desk
