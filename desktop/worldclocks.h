#pragma once
// The world clocks report's rows from the time-zone keys: each zone's title from its
// key name and "Display" value, its time from a base that runs a fixed 3 h 30 min ahead
// of Greenwich time, with no daylight-saving correction.
#include "platform/formatsettings.h"

#include <QDateTime>
#include <QString>
#include <functional>
#include <vector>

namespace desk {

struct ZoneKey {
    QString name;     // the subkey's name, e.g. "Arabian Standard Time"
    QString display;  // its "Display" value; empty when missing or unreadable
};

struct ClockRow {
    QString title;
    QString value;
};

// The zone prefix: the name's text before "Standard Time", with its trailing blank.
QString zonePrefix(const QString& name);
// GMT, Greenwich, Greenland and GTB zones are never listed.
bool isSkippedZone(const QString& prefix);

// Posts one row per listed zone with an offset, in the order given. localNow is the
// computer's local date and time; times are written with settings.longTimeFormat.
// An offset that is not a time raises plat::ConvertError after the rows before it.
void postWorldClocks(const std::vector<ZoneKey>& zones, const QDateTime& localNow,
                     const plat::FormatSettings& settings, const std::function<void(const ClockRow&)>& post);

}  // namespace desk
