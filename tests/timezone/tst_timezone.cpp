#include "timezone/TimeZoneTable.h"
#include "timezone/ZoneTime.h"

#include <QTest>

using namespace kiv;

class TestTimeZone final : public QObject
{
    Q_OBJECT

private slots:
    void tableHasTheFixedEntries_data();
    void tableHasTheFixedEntries();
    void offsetsNeverDecrease();
    void freshClockZone_data();
    void freshClockZone();
    void zoneTime_data();
    void zoneTime();
    void systemZone_data();
    void systemZone();

private:
    TimeZoneTable m_table;
};

void TestTimeZone::tableHasTheFixedEntries_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("offset");
    QTest::newRow("first entry") << 0 << QStringLiteral("(UTC-12:00) International Date Line West") << -720;
    QTest::newRow("mountain time in Chinese") << 9 << QStringLiteral("(UTC-07:00) 山地时间 (US & Canada)") << -420;
    QTest::newRow("eastern time") << 15 << QStringLiteral("(UTC-05:00) Eastern Time (US & Canada)") << -300;
    QTest::newRow("caracas half hour") << 17 << QStringLiteral("(UTC-04:30) Caracas") << -270;
    QTest::newRow("newfoundland") << 23 << QStringLiteral("(UTC-03:30) Newfoundland") << -210;
    QTest::newRow("casablanca is UTC") << 33 << QStringLiteral("(UTC) Casablanca") << 0;
    QTest::newRow("london is UTC") << 35 << QStringLiteral("(UTC) Dublin, Edinburgh, Lisbon, London") << 0;
    QTest::newRow("monrovia is UTC") << 36 << QStringLiteral("(UTC) Monrovia, Reykjavik") << 0;
    QTest::newRow("tehran") << 56 << QStringLiteral("(UTC+03:30) Tehran") << 210;
    QTest::newRow("kabul") << 62 << QStringLiteral("(UTC+04:30) Kabul") << 270;
    QTest::newRow("india") << 65 << QStringLiteral("(UTC+05:30) Chennai, Kolkata, Mumbai, New Delhi") << 330;
    QTest::newRow("sri lanka") << 66 << QStringLiteral("(UTC+05:30) Sri Jayawardenepura") << 330;
    QTest::newRow("kathmandu") << 67 << QStringLiteral("(UTC+05:45) Kathmandu") << 345;
    QTest::newRow("yangon") << 71 << QStringLiteral("(UTC+06:30) Yangon (Rangoon)") << 390;
    QTest::newRow("beijing in Chinese") << 74 << QStringLiteral("(UTC+08:00) 北京, 重庆, 香港, 乌鲁木齐") << 480;
    QTest::newRow("tokyo") << 81 << QStringLiteral("(UTC+09:00) Osaka, Sapporo, Tokyo") << 540;
    QTest::newRow("adelaide") << 83 << QStringLiteral("(UTC+09:30) Adelaide") << 570;
    QTest::newRow("darwin") << 84 << QStringLiteral("(UTC+09:30) Darwin") << 570;
    QTest::newRow("last entry") << 96 << QStringLiteral("(UTC+13:00) Nuku'alofa") << 780;
}

void TestTimeZone::tableHasTheFixedEntries()
{
    QFETCH(int, index);
    QFETCH(QString, name);
    QFETCH(int, offset);
    QCOMPARE(m_table[index].DisplayName, name);
    QCOMPARE(m_table[index].Offset, offset);
}

void TestTimeZone::offsetsNeverDecrease()
{
    QCOMPARE(int(m_table.entries().size()), 97);
    int notWholeHours = 0;
    for (int i = 1; i < TimeZoneCount; ++i) {
        QVERIFY2(m_table[i].Offset >= m_table[i - 1].Offset, qPrintable(m_table[i].DisplayName));
        if (m_table[i].Offset % 60 != 0)
            ++notWholeHours;
    }
    QCOMPARE(notWholeHours, 10);
    QVERIFY(!TimeZoneTable::isValidIndex(-1));
    QVERIFY(!TimeZoneTable::isValidIndex(97));
    QVERIFY(TimeZoneTable::isValidIndex(96));
}

void TestTimeZone::freshClockZone_data()
{
    QTest::addColumn<int>("bias");
    QTest::addColumn<int>("index");
    QTest::newRow("UTC-03:00 takes the lowest index") << 180 << 24;
    QTest::newRow("UTC+08:00") << -480 << 74;
    QTest::newRow("UTC") << 0 << 33;
    QTest::newRow("UTC+09:00") << -540 << 80;
    QTest::newRow("UTC+05:45") << -345 << 67;
    QTest::newRow("UTC+08:45 has no entry") << -525 << -1;
}

void TestTimeZone::freshClockZone()
{
    QFETCH(int, bias);
    QFETCH(int, index);
    QCOMPARE(m_table.freshClockZoneIndex(bias), index);
}

void TestTimeZone::zoneTime_data()
{
    QTest::addColumn<QDateTime>("local");
    QTest::addColumn<int>("bias");
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("zoneOffset");
    QTest::addColumn<int>("timeStandard");
    QTest::addColumn<QDateTime>("expected");
    const QDateTime noon(QDate(2026, 6, 15), QTime(12, 0, 0), Qt::LocalTime);
    const auto wall = [](int y, int mo, int d, int h, int mi) {
        return QDateTime(QDate(y, mo, d), QTime(h, mi, 0), Qt::UTC);
    };
    QTest::newRow("Beijing system, Beijing clock: local time")
        << noon << -480 << 0 << 480 << 0 << wall(2026, 6, 15, 12, 0);
    QTest::newRow("Beijing system, Eastern standard: 13 hours behind")
        << noon << -480 << 0 << -300 << 0 << wall(2026, 6, 14, 23, 0);
    QTest::newRow("Beijing system, Eastern daylight: 12 hours behind")
        << noon << -480 << 0 << -300 << 1 << wall(2026, 6, 15, 0, 0);
    QTest::newRow("London summer, London standard shows UTC") << noon << 0 << 2 << 0 << 0 << wall(2026, 6, 15, 11, 0);
    QTest::newRow("London summer, London daylight shows local") << noon << 0 << 2 << 0 << 1 << wall(2026, 6, 15, 12, 0);
    QTest::newRow("New Year crossing") << QDateTime(QDate(2026, 12, 31), QTime(23, 30, 0), Qt::LocalTime) << -480 << 0
                                       << 540 << 0 << wall(2027, 1, 1, 0, 30);
    QTest::newRow("a failed query counts as UTC") << noon << 999 << -1 << 60 << 0 << wall(2026, 6, 15, 13, 0);
    QTest::newRow("UTC+08:45 system with a fresh clock at zone 0 shows UTC")
        << noon << -525 << 0 << 0 << 0 << wall(2026, 6, 15, 3, 15);
    QTest::newRow("milliseconds are dropped") << QDateTime(QDate(2026, 3, 1), QTime(8, 0, 5, 900), Qt::LocalTime) << 0
                                              << 0 << 0 << 0 << QDateTime(QDate(2026, 3, 1), QTime(8, 0, 5), Qt::UTC);
}

void TestTimeZone::zoneTime()
{
    QFETCH(QDateTime, local);
    QFETCH(int, bias);
    QFETCH(int, state);
    QFETCH(int, zoneOffset);
    QFETCH(int, timeStandard);
    QFETCH(QDateTime, expected);
    QCOMPARE(ComputeZoneTime(local, SystemZoneInfo{bias, state}, zoneOffset, timeStandard), expected);
}

void TestTimeZone::systemZone_data()
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

void TestTimeZone::systemZone()
{
    QFETCH(QByteArray, zone);
    QFETCH(QDateTime, at);
    QFETCH(int, bias);
    QFETCH(int, state);
    const SystemZoneInfo info = querySystemZone(QTimeZone(zone), at);
    QCOMPARE(info.Bias, bias);
    QCOMPARE(info.State, state);
}

QTEST_GUILESS_MAIN(TestTimeZone)
#include "tst_timezone.moc"
