#include "timezone/TzDatabaseZones.h"

#include <QTimeZone>

#include <algorithm>

namespace kiv {
namespace {

// The regions whose zones name a place; the others hold aliases and fixed offsets.
constexpr const char* kRegions[] = {"Africa",    "America", "Antarctica", "Arctic", "Asia",
                                    "Atlantic",  "Australia", "Europe",   "Indian", "Pacific"};

QString spaced(QByteArrayView part)
{
    return QString::fromLatin1(part).replace(u'_', u' ');
}

QList<TzRegion> readRegions()
{
    QList<TzRegion> regions;
    for (const char* name : kRegions)
        regions.append({QString::fromLatin1(name), {}});
    for (const QByteArray& id : QTimeZone::availableTimeZoneIds()) {
        const qsizetype slash = id.indexOf('/');
        if (slash < 0)
            continue;
        const QString region = QString::fromLatin1(id.left(slash));
        const auto found = std::find_if(regions.begin(), regions.end(),
                                        [&region](const TzRegion& candidate) { return candidate.name == region; });
        if (found != regions.end())
            found->zones.append({tzCityName(id), id});
    }
    for (TzRegion& region : regions) {
        std::sort(region.zones.begin(), region.zones.end(), [](const TzZoneItem& a, const TzZoneItem& b) {
            return a.city.compare(b.city, Qt::CaseInsensitive) < 0;
        });
    }
    regions.removeIf([](const TzRegion& region) { return region.zones.isEmpty(); });
    return regions;
}

} // namespace

QString tzCityName(QByteArrayView id)
{
    const qsizetype first = id.indexOf('/');
    const qsizetype last = id.lastIndexOf('/');
    if (first < 0)
        return spaced(id);
    const QString city = spaced(id.sliced(last + 1));
    if (first == last)
        return city;
    return city + u" (" + spaced(id.sliced(first + 1, last - first - 1)).replace(QStringLiteral("/"), QStringLiteral(", ")) + u')';
}

const QList<TzRegion>& tzDatabaseRegions()
{
    static const QList<TzRegion> regions = readRegions();
    return regions;
}

} // namespace kiv
