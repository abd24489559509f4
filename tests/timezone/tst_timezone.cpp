#include "KivTest.h"
#include "timezone/TzDatabaseZones.h"
#include "timezone/ZoneTime.h"

using ZoneTimeRow = std::tuple<QDateTime, int, int, int, int, QDateTime>;
using SystemZoneRow = std::tuple<QByteArray, QDateTime, int, int>;

// The time a clock shows in its zone, and what the system says of its own zone.
class TestTimeZone final : public QObject
{
    Q_OBJECT

private slots:
    void zoneTimeAndTheSystemZone()
    {
        // The local time, the system's bias and state, the clock's zone offset and time standard, the time shown.
        const QDateTime noon(QDate(2026, 6, 15), QTime(12, 0, 0), Qt::LocalTime);
        const auto wall = [](int day, int hour, int minute, int month = 6, int year = 2026) {
            return QDateTime(QDate(year, month, day), QTime(hour, minute, 0), Qt::UTC);
        };
        const ZoneTimeRow rows[] = {{noon, -480, 0, 480, 0, wall(15, 12, 0)},  // Beijing system, Beijing clock
                                    {noon, -480, 0, -300, 0, wall(14, 23, 0)}, // Beijing system, Eastern standard
                                    {noon, -480, 0, -300, 1, wall(15, 0, 0)},  // Beijing system, Eastern daylight
                                    {noon, 0, 2, 0, 0, wall(15, 11, 0)},       // London summer, London standard is UTC
                                    {noon, 0, 2, 0, 1, wall(15, 12, 0)},     // London summer, London daylight is local
                                    {noon, 999, -1, 60, 0, wall(15, 13, 0)}, // a failed query counts as UTC
                                    {noon, -525, 0, 0, 0, wall(15, 3, 15)},  // UTC+08:45 system, fresh clock at zone 0
                                    {QDateTime(QDate(2026, 12, 31), QTime(23, 30, 0), Qt::LocalTime), -480, 0, 540, 0,
                                     wall(1, 0, 30, 1, 2027)}, // New Year crossing
                                    {QDateTime(QDate(2026, 6, 1), QTime(8, 0, 5, 900), Qt::LocalTime), 0, 0, 0, 0,
                                     wall(1, 8, 0).addSecs(5)}}; // milliseconds are dropped
        for (const auto& [local, bias, state, zoneOffset, timeStandard, expected] : rows)
            QCOMPARE(ComputeZoneTime(local, SystemZoneInfo{bias, state}, zoneOffset, timeStandard), expected);
        // The system's zone, the moment, the bias and state the system reports then.
        const QDateTime summer(QDate(2026, 7, 1), QTime(12, 0), Qt::UTC);
        const QDateTime winter(QDate(2026, 1, 15), QTime(12, 0), Qt::UTC);
        // Zones whose tz data marks winter as daylight time with a negative saving: standard time is the
        // lower offset of the year, and daylight time is in force while the offset is above it.
        const auto utc = [](int month, int day, int hour, int minute) {
            return QDateTime(QDate(2026, month, day), QTime(hour, minute), Qt::UTC);
        };
        const SystemZoneRow zones[] = {{"America/New_York", summer, 300, 2}, // New York in summer
                                       {"Asia/Shanghai", summer, -480, 0},   // Shanghai has no daylight saving
                                       {"Asia/Kathmandu", winter, -345, 0},  // Kathmandu
                                       {"Europe/Dublin", utc(3, 29, 0, 59), 0, 1},       // Dublin before summer time
                                       {"Europe/Dublin", utc(3, 29, 1, 1), 0, 2},        // Dublin in summer time
                                       {"Europe/Dublin", utc(10, 25, 1, 1), 0, 1},       // Dublin back in winter
                                       {"Europe/London", utc(3, 29, 0, 59), 0, 1},       // London before summer time
                                       {"Europe/London", utc(3, 29, 1, 1), 0, 2},        // London in summer time
                                       {"Africa/Casablanca", utc(3, 1, 12, 0), 0, 1},    // Casablanca in Ramadan
                                       {"Africa/Casablanca", utc(4, 15, 12, 0), 0, 2},   // Casablanca after Ramadan
                                       {"Australia/Sydney", utc(4, 4, 15, 59), -600, 2}, // Sydney in its summer
                                       {"Australia/Sydney", utc(4, 4, 16, 1), -600, 1},  // Sydney in its winter
                                       {"Nowhere/Atlantis", summer, 0, -1}};             // an unknown zone fails
        for (const auto& [zone, at, bias, state] : zones) {
            const SystemZoneInfo info = querySystemZone(QTimeZone(zone), at);
            QVERIFY2(std::pair(info.Bias, info.State) == std::pair(bias, state),
                     QByteArray(zone + at.toString().toLatin1()).constData());
        }
    }

    void tzDatabaseZones()
    {
        // A clock on a tz database zone follows the zone's rules, across its daylight changes and the years
        // its offset changed: the moment (UTC) and the wall-clock time shown in the zone.
        const auto at = [](int year, int month, int day, int hour, int minute) {
            return QDateTime(QDate(year, month, day), QTime(hour, minute), Qt::UTC);
        };
        const std::tuple<QByteArray, QDateTime, QDateTime> rows[] = {
            {"America/New_York", at(2026, 3, 8, 6, 59), at(2026, 3, 8, 1, 59)},   // the last minute of winter
            {"America/New_York", at(2026, 3, 8, 7, 0), at(2026, 3, 8, 3, 0)},     // 2:00 is skipped
            {"America/New_York", at(2026, 11, 1, 5, 30), at(2026, 11, 1, 1, 30)}, // 1:30 summer time
            {"America/New_York", at(2026, 11, 1, 6, 30), at(2026, 11, 1, 1, 30)}, // 1:30 again, winter
            {"Australia/Sydney", at(2026, 4, 4, 15, 59), at(2026, 4, 5, 2, 59)},  // summer time ends at 3:00
            {"Australia/Sydney", at(2026, 4, 4, 16, 0), at(2026, 4, 5, 2, 0)},
            {"Europe/Dublin", at(2026, 3, 29, 0, 59), at(2026, 3, 29, 0, 59)},    // winter is UTC
            {"Europe/Dublin", at(2026, 3, 29, 1, 0), at(2026, 3, 29, 2, 0)},
            {"Europe/Moscow", at(2026, 1, 15, 12, 0), at(2026, 1, 15, 15, 0)},    // UTC+3 in winter too since 2014
            {"Europe/Moscow", at(2012, 7, 1, 12, 0), at(2012, 7, 1, 16, 0)},      // UTC+4 from 2011 to 2014
            {"Asia/Kathmandu", at(2026, 1, 15, 12, 0), at(2026, 1, 15, 17, 45)}}; // UTC+05:45
        for (const auto& [zone, moment, shown] : rows)
            QVERIFY2(ComputeZoneTime(moment.toLocalTime(), QTimeZone(zone)) == shown, zone.constData());
        // The zone lists: places by region, named as people write them, without aliases.
        const std::pair<QByteArray, QString> names[] = {{"Europe/Moscow", u"Moscow"_s},
                                                        {"America/Argentina/Buenos_Aires", u"Buenos Aires (Argentina)"_s}};
        for (const auto& [id, city] : names)
            QCOMPARE(tzCityName(id), city);
        QStringList regions;
        for (const TzRegion& region : tzDatabaseRegions())
            regions.append(region.name);
        // (tst_configdialog picks Europe/Moscow and Asia/Kathmandu from the dialog's list.)
        QVERIFY2(regions.contains(u"Europe"_s) && !regions.contains(u"US"_s) && !regions.contains(u"Etc"_s),
                 qPrintable(regions.join(u' ')));
    }
};

QTEST_GUILESS_MAIN(TestTimeZone)
#include "tst_timezone.moc"
