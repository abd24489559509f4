#include "timezone/ZoneTime.h"

#include <QTest>

using namespace kiv;

// The time a clock shows in its zone, and what the system says of its own zone.
class TestTimeZone final : public QObject
{
    Q_OBJECT

private slots:
    void zoneTime_data()
    {
        QTest::addColumn<QDateTime>("local");
        QTest::addColumn<int>("bias");
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("zoneOffset");
        QTest::addColumn<int>("timeStandard");
        QTest::addColumn<QDateTime>("expected");
        const QDateTime noon(QDate(2026, 6, 15), QTime(12, 0, 0), Qt::LocalTime);
        const auto wall = [](int day, int hour, int minute, int month = 6, int year = 2026) {
            return QDateTime(QDate(year, month, day), QTime(hour, minute, 0), Qt::UTC);
        };
        QTest::newRow("Beijing system, Beijing clock") << noon << -480 << 0 << 480 << 0 << wall(15, 12, 0);
        QTest::newRow("Beijing system, Eastern standard") << noon << -480 << 0 << -300 << 0 << wall(14, 23, 0);
        QTest::newRow("Beijing system, Eastern daylight") << noon << -480 << 0 << -300 << 1 << wall(15, 0, 0);
        QTest::newRow("London summer, London standard is UTC") << noon << 0 << 2 << 0 << 0 << wall(15, 11, 0);
        QTest::newRow("London summer, London daylight is local") << noon << 0 << 2 << 0 << 1 << wall(15, 12, 0);
        QTest::newRow("a failed query counts as UTC") << noon << 999 << -1 << 60 << 0 << wall(15, 13, 0);
        QTest::newRow("UTC+08:45 system, fresh clock at zone 0") << noon << -525 << 0 << 0 << 0 << wall(15, 3, 15);
        QTest::newRow("New Year crossing") << QDateTime(QDate(2026, 12, 31), QTime(23, 30, 0), Qt::LocalTime) << -480
                                           << 0 << 540 << 0 << wall(1, 0, 30, 1, 2027);
        QTest::newRow("milliseconds are dropped") << QDateTime(QDate(2026, 6, 1), QTime(8, 0, 5, 900), Qt::LocalTime)
                                                  << 0 << 0 << 0 << 0 << wall(1, 8, 0).addSecs(5);
    }

    void zoneTime()
    {
        QFETCH(QDateTime, local);
        QFETCH(int, bias);
        QFETCH(int, state);
        QFETCH(int, zoneOffset);
        QFETCH(int, timeStandard);
        QFETCH(QDateTime, expected);
        QCOMPARE(ComputeZoneTime(local, SystemZoneInfo{bias, state}, zoneOffset, timeStandard), expected);
    }

    void systemZone_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QDateTime>("at");
        QTest::addColumn<int>("bias");
        QTest::addColumn<int>("state");
        const QDateTime summer(QDate(2026, 7, 1), QTime(12, 0), Qt::UTC);
        const QDateTime winter(QDate(2026, 1, 15), QTime(12, 0), Qt::UTC);
        QTest::newRow("London in summer is in daylight time") << QByteArray("Europe/London") << summer << 0 << 2;
        QTest::newRow("London in winter is in standard time") << QByteArray("Europe/London") << winter << 0 << 1;
        QTest::newRow("New York in summer") << QByteArray("America/New_York") << summer << 300 << 2;
        QTest::newRow("Shanghai has no daylight saving") << QByteArray("Asia/Shanghai") << summer << -480 << 0;
        QTest::newRow("Kathmandu") << QByteArray("Asia/Kathmandu") << winter << -345 << 0;
        // Zones whose tz data marks winter as daylight time with a negative saving: standard time is the
        // lower offset of the year, and daylight time is in force while the offset is above it.
        const auto utc = [](int month, int day, int hour, int minute) {
            return QDateTime(QDate(2026, month, day), QTime(hour, minute), Qt::UTC);
        };
        QTest::newRow("Dublin before summer time") << QByteArray("Europe/Dublin") << utc(3, 29, 0, 59) << 0 << 1;
        QTest::newRow("Dublin in summer time") << QByteArray("Europe/Dublin") << utc(3, 29, 1, 1) << 0 << 2;
        QTest::newRow("Dublin back in winter") << QByteArray("Europe/Dublin") << utc(10, 25, 1, 1) << 0 << 1;
        QTest::newRow("London before summer time") << QByteArray("Europe/London") << utc(3, 29, 0, 59) << 0 << 1;
        QTest::newRow("London in summer time") << QByteArray("Europe/London") << utc(3, 29, 1, 1) << 0 << 2;
        QTest::newRow("Casablanca in Ramadan") << QByteArray("Africa/Casablanca") << utc(3, 1, 12, 0) << 0 << 1;
        QTest::newRow("Casablanca after Ramadan") << QByteArray("Africa/Casablanca") << utc(4, 15, 12, 0) << 0 << 2;
        QTest::newRow("Sydney in its summer") << QByteArray("Australia/Sydney") << utc(4, 4, 15, 59) << -600 << 2;
        QTest::newRow("Sydney in its winter") << QByteArray("Australia/Sydney") << utc(4, 4, 16, 1) << -600 << 1;
        QTest::newRow("an unknown zone fails") << QByteArray("Nowhere/Atlantis") << summer << 0 << -1;
    }

    void systemZone()
    {
        QFETCH(QByteArray, zone);
        QFETCH(QDateTime, at);
        QFETCH(int, bias);
        QFETCH(int, state);
        const SystemZoneInfo info = querySystemZone(QTimeZone(zone), at);
        QCOMPARE(std::pair(info.Bias, info.State), std::pair(bias, state));
    }
};

QTEST_GUILESS_MAIN(TestTimeZone)
#include "tst_timezone.moc"
