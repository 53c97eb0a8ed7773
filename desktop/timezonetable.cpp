#include "timezonetable.h"

#include <QDirIterator>
#include <QSet>
#include <QTimeZone>
#include <algorithm>

namespace desk {

namespace {

QSet<QByteArray> ianaNames(const QString& zoneInfoDir) {
    QSet<QByteArray> names;
    for (const QByteArray& id : QTimeZone::availableTimeZoneIds())
        names.insert(id);
    const QString root = QDir(zoneInfoDir).absolutePath() + u'/';
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString id = it.next().mid(root.size());
        if (!id.startsWith(QLatin1String("posix/")) && !id.startsWith(QLatin1String("right/")))
            names.insert(id.toUtf8());
    }
    return names;
}

// "America/Argentina/Buenos_Aires" -> "Buenos Aires"; Etc/ zones name no place.
QString placeOf(const QByteArray& ianaId) {
    return QString::fromUtf8(ianaId.mid(ianaId.lastIndexOf('/') + 1)).replace(u'_', u' ');
}

constexpr qsizetype kMaxPlaces = 98;  // with the blank before them, 99 after the ")"

}  // namespace

QString gmtOffsetText(int offsetSeconds) {
    const int minutes = std::abs(offsetSeconds) / 60;
    return QStringLiteral("(GMT%1%2:%3)")
        .arg(offsetSeconds < 0 ? QStringLiteral("-") : QStringLiteral("+"))
        .arg(minutes / 60, 2, 10, QLatin1Char('0'))
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

std::vector<WindowsZone> windowsZones(const QDateTime& at, const QString& zoneInfoDir) {
    QSet<QByteArray> windowsIds;
    for (const QByteArray& iana : ianaNames(zoneInfoDir)) {
        const QByteArray w = QTimeZone::ianaIdToWindowsId(iana);
        if (!w.isEmpty())
            windowsIds.insert(w);
    }
    std::vector<WindowsZone> zones;
    for (const QByteArray& w : windowsIds) {
        const QTimeZone zone(QTimeZone::windowsIdToDefaultIanaId(w));
        if (!zone.isValid())
            continue;
        QStringList places, etcPlaces;
        for (const QByteArray& iana : QTimeZone::windowsIdToIanaIds(w)) {
            QStringList& into = iana.startsWith("Etc/") ? etcPlaces : places;
            if (!into.contains(placeOf(iana)))
                into.append(placeOf(iana));
        }
        // Windows keeps the places short: the clocks read at most 100 characters after
        // the offset, so a longer text would spill into it. Whole names only.
        QString shown;
        for (const QString& place : places.isEmpty() ? etcPlaces : places) {
            const QString next = shown.isEmpty() ? place : shown + QStringLiteral(", ") + place;
            if (next.size() > kMaxPlaces)
                break;
            shown = next;
        }
        zones.push_back({QString::fromLatin1(w), gmtOffsetText(zone.standardTimeOffset(at)) + u' ' + shown});
    }
    std::sort(zones.begin(), zones.end(), [](const WindowsZone& a, const WindowsZone& b) {
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
    return zones;
}

}  // namespace desk
