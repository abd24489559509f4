#include "KivTest.h"
#include "timezone/ZoneTime.h"

using ZoneTimeRow = std::tuple<QDateTime, int, int, int, int, QDateTime>;
using SystemZoneRow = std::tuple<QByteArray, QDateTime, int, int>;

// The time a clock shows in its zone, and what the system says of its own zone.
class TestTimeZone final : public QObject
{
    Q_OBJECT

private slots:
    void zoneTime_data()
    {
        // The local time, the system's bias and state, the clock's zone offset and time standard, the time shown.
        QTest::addColumn<ZoneTimeRow>("row");
        const QDateTime noon(QDate(2026, 6, 15), QTime(12, 0, 0), Qt::LocalTime);
        const auto wall = [](int day, int hour, int minute, int month = 6, int year = 2026) {
            return QDateTime(QDate(year, month, day), QTime(hour, minute, 0), Qt::UTC);
        };
        QTest::newRow("Beijing system, Beijing clock") << ZoneTimeRow{noon, -480, 0, 480, 0, wall(15, 12, 0)};
        QTest::newRow("Beijing system, Eastern standard") << ZoneTimeRow{noon, -480, 0, -300, 0, wall(14, 23, 0)};
        QTest::newRow("Beijing system, Eastern daylight") << ZoneTimeRow{noon, -480, 0, -300, 1, wall(15, 0, 0)};
        QTest::newRow("London summer, London standard is UTC") << ZoneTimeRow{noon, 0, 2, 0, 0, wall(15, 11, 0)};
        QTest::newRow("London summer, London daylight is local") << ZoneTimeRow{noon, 0, 2, 0, 1, wall(15, 12, 0)};
        QTest::newRow("a failed query counts as UTC") << ZoneTimeRow{noon, 999, -1, 60, 0, wall(15, 13, 0)};
        QTest::newRow("UTC+08:45 system, fresh clock at zone 0") << ZoneTimeRow{noon, -525, 0, 0, 0, wall(15, 3, 15)};
        QTest::newRow("New Year crossing") << ZoneTimeRow{
            QDateTime(QDate(2026, 12, 31), QTime(23, 30, 0), Qt::LocalTime), -480, 0, 540, 0, wall(1, 0, 30, 1, 2027)};
        QTest::newRow("milliseconds are dropped") << ZoneTimeRow{
            QDateTime(QDate(2026, 6, 1), QTime(8, 0, 5, 900), Qt::LocalTime), 0, 0, 0, 0, wall(1, 8, 0).addSecs(5)};
    }

    void zoneTime()
    {
        QFETCH(ZoneTimeRow, row);
        const auto& [local, bias, state, zoneOffset, timeStandard, expected] = row;
        QCOMPARE(ComputeZoneTime(local, SystemZoneInfo{bias, state}, zoneOffset, timeStandard), expected);
    }

    void systemZone_data()
    {
        // The zone, the moment, the bias and state the system reports then.
        QTest::addColumn<SystemZoneRow>("row");
        const QDateTime summer(QDate(2026, 7, 1), QTime(12, 0), Qt::UTC);
        const QDateTime winter(QDate(2026, 1, 15), QTime(12, 0), Qt::UTC);
        QTest::newRow("London in summer is in daylight time") << SystemZoneRow{"Europe/London", summer, 0, 2};
        QTest::newRow("London in winter is in standard time") << SystemZoneRow{"Europe/London", winter, 0, 1};
        QTest::newRow("New York in summer") << SystemZoneRow{"America/New_York", summer, 300, 2};
        QTest::newRow("Shanghai has no daylight saving") << SystemZoneRow{"Asia/Shanghai", summer, -480, 0};
        QTest::newRow("Kathmandu") << SystemZoneRow{"Asia/Kathmandu", winter, -345, 0};
        // Zones whose tz data marks winter as daylight time with a negative saving: standard time is the
        // lower offset of the year, and daylight time is in force while the offset is above it.
        const auto utc = [](int month, int day, int hour, int minute) {
            return QDateTime(QDate(2026, month, day), QTime(hour, minute), Qt::UTC);
        };
        QTest::newRow("Dublin before summer time") << SystemZoneRow{"Europe/Dublin", utc(3, 29, 0, 59), 0, 1};
        QTest::newRow("Dublin in summer time") << SystemZoneRow{"Europe/Dublin", utc(3, 29, 1, 1), 0, 2};
        QTest::newRow("Dublin back in winter") << SystemZoneRow{"Europe/Dublin", utc(10, 25, 1, 1), 0, 1};
        QTest::newRow("London before summer time") << SystemZoneRow{"Europe/London", utc(3, 29, 0, 59), 0, 1};
        QTest::newRow("London in summer time") << SystemZoneRow{"Europe/London", utc(3, 29, 1, 1), 0, 2};
        QTest::newRow("Casablanca in Ramadan") << SystemZoneRow{"Africa/Casablanca", utc(3, 1, 12, 0), 0, 1};
        QTest::newRow("Casablanca after Ramadan") << SystemZoneRow{"Africa/Casablanca", utc(4, 15, 12, 0), 0, 2};
        QTest::newRow("Sydney in its summer") << SystemZoneRow{"Australia/Sydney", utc(4, 4, 15, 59), -600, 2};
        QTest::newRow("Sydney in its winter") << SystemZoneRow{"Australia/Sydney", utc(4, 4, 16, 1), -600, 1};
        QTest::newRow("an unknown zone fails") << SystemZoneRow{"Nowhere/Atlantis", summer, 0, -1};
    }

    void systemZone()
    {
        QFETCH(SystemZoneRow, row);
        const auto& [zone, at, bias, state] = row;
        const SystemZoneInfo info = querySystemZone(QTimeZone(zone), at);
        QCOMPARE(std::pair(info.Bias, info.State), std::pair(bias, state));
    }
};

QTEST_GUILESS_MAIN(TestTimeZone)
#include "tst_timezone.moc"
