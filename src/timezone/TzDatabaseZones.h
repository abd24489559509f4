#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace kiv {

// A zone of the system's tz database as the zone lists show it: its city first, so that typing a city's
// name in a list finds it.
struct TzZoneItem
{
    QString city; // "Buenos Aires (Argentina)"
    QByteArray id; // "America/Argentina/Buenos_Aires"
};

struct TzRegion
{
    QString name; // "America"
    QList<TzZoneItem> zones;
};

// The tz database's zones by region (Africa, America, ... Pacific), each region's cities sorted by name.
// Aliases and zones without a place ("US/Eastern", "Etc/GMT+5") are left out. Read once per process.
const QList<TzRegion>& tzDatabaseRegions();

// The place of a zone id as people write it: "America/Argentina/Buenos_Aires" gives
// "Buenos Aires (Argentina)", "Europe/Moscow" gives "Moscow".
QString tzCityName(QByteArrayView id);

} // namespace kiv
