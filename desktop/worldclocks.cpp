#include "worldclocks.h"

#include "calendar/runtimedatetime.h"
#include "platform/blanktext.h"

namespace desk {

QString zonePrefix(const QString& name) {
    const qsizetype at = name.indexOf(QLatin1String("Standard Time"));  // -1 absent, 0 at the start
    return at > 0 ? name.left(at) : QString();
}

bool isSkippedZone(const QString& prefix) {
    const QString p = blanktext::trimmed(prefix);
    for (const char* skipped : {"GMT", "Greenwich", "Greenland", "GTB"})
        if (p.compare(QLatin1String(skipped), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

void postWorldClocks(const std::vector<ZoneKey>& zones, const QDateTime& localNow,
                     const plat::FormatSettings& settings, const std::function<void(const ClockRow&)>& post) {
    const QDateTime base = localNow.addSecs(-(3 * 3600 + 30 * 60));
    for (const ZoneKey& zone : zones) {
        const QString prefix = zonePrefix(zone.name);
        if (isSkippedZone(prefix))
            continue;
        // "(GMT+04:00) Abu Dhabi": the four characters before the sign go, the places
        // follow the first ")", the offset is what stands before it.
        const QString rest = zone.display.mid(4);
        const qsizetype close = rest.indexOf(u')');  // -1 when there is none
        const QString places = rest.mid(close + 1, 100);
        const QString offset = close < 0 ? rest : rest.left(close) + rest.mid(close + 100);
        ClockRow row{prefix + u'(' + places + u')' + u'[' + offset + u']', QString()};
        if (offset.isEmpty())
            continue;
        const QTime t = cal::strToTime(offset.mid(1), settings);
        const qint64 shift = t.msecsSinceStartOfDay();
        const QDateTime at = offset[0] == u'+' ? base.addMSecs(shift) : base.addMSecs(-shift);
        row.value = plat::formatDateTime(settings.longTimeFormat, at.date(), at.time());
        post(row);
    }
}

}  // namespace desk
