#include "settings/ClockSettings.h"
#include "settings/Registry.h"
#include "settings/RegistryKeys.h"
#include "timezone/TimeZoneTable.h"
#include "timezone/ZoneTime.h"

#include <QTemporaryDir>
#include <QTest>

using namespace kiv;

namespace {
const QString kKey = clockKeyPath(QStringLiteral("Default"));
const SystemZoneInfo kBeijing{-480, 0};
} // namespace

class TestClockSettings final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void freshClockTakesTheSystemZoneAndDefaults();
    void freshClockInDaylightTimeChoosesDaylight();
    void freshClockOnAnUnlistedOffsetKeepsZoneZero();
    void rangeRules_data();
    void rangeRules();
    void coloursOfZeroComeBackAsDefaults();
    void zoneIndexOutsideTheTableKeepsTheOffset_data();
    void zoneIndexOutsideTheTableKeepsTheOffset();
    void enableOfTwoSkipsTimeStandard();
    void textThatIsNotANumberLeavesTheField();
    void saveWritesEveryValueInOrder();
    void saveThenReloadRoundTrips();
    void resetGroups();
    void validateMonitorPosition_data();
    void validateMonitorPosition();

private:
    void write(const QString& name, qint32 value)
    {
        m_registry->WriteRegistryValue(kKey, name, QString::number(value), RegDword);
    }
    ClockSettings reload(const SystemZoneInfo& system = kBeijing)
    {
        ClockSettings settings;
        m_store->ReloadClockSettings(settings, system);
        return settings;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Registry> m_registry;
    TimeZoneTable m_zones;
    std::unique_ptr<ClockSettingsStore> m_store;
};

void TestClockSettings::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_registry = std::make_unique<Registry>(m_dir->filePath(QStringLiteral("registry.reg")));
    m_store = std::make_unique<ClockSettingsStore>(*m_registry, m_zones, QStringLiteral("Default"));
}

void TestClockSettings::freshClockTakesTheSystemZoneAndDefaults()
{
    ClockSettings settings;
    QCOMPARE(m_store->LoadClockSettings(settings, kBeijing), 0);
    applyRangeRules(settings);
    ClockSettings expected;
    expected.TimeZoneIndex = 74;
    expected.ZoneOffset = 480;
    expected.ClockTheme = 1;
    expected.ClockRadius = 48;
    expected.HourCircleWidth = expected.MinuteCircleWidth = expected.SecondCircleWidth = 18;
    expected.AM24HourCircleColor = qint32(0xFFDB5C1C);
    expected.PMHourCircleColor = qint32(0xFFFFC90E);
    expected.MinuteCircleColor = qint32(0xFF2272CD);
    expected.SecondCircleColor = qint32(0xFF71A713);
    expected.TimeFontColor = qint32(0xFFFFFFFF);
    expected.DateFontColor = qint32(0xFF777777);
    expected.ClockScaleColor = 0x77777777;
    QCOMPARE(settings, expected);
}

void TestClockSettings::freshClockInDaylightTimeChoosesDaylight()
{
    const ClockSettings settings = reload(SystemZoneInfo{0, 2});
    QCOMPARE(settings.TimeZoneIndex, 33);
    QCOMPARE(settings.TimeStandard, 1);
    QCOMPARE(settings.ZoneOffset, 0);
}

void TestClockSettings::freshClockOnAnUnlistedOffsetKeepsZoneZero()
{
    const ClockSettings settings = reload(SystemZoneInfo{-525, 2});
    QCOMPARE(settings.TimeZoneIndex, 0);
    QCOMPARE(settings.ZoneOffset, 0);
    QCOMPARE(settings.TimeStandard, 0);
}

void TestClockSettings::rangeRules_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("loaded");
    QTest::newRow("radius 128 stays") << QStringLiteral("ClockRadius") << 128 << 128;
    QTest::newRow("radius 48 stays") << QStringLiteral("ClockRadius") << 48 << 48;
    QTest::newRow("radius 129 becomes 48") << QStringLiteral("ClockRadius") << 129 << 48;
    QTest::newRow("radius 47 becomes 48") << QStringLiteral("ClockRadius") << 47 << 48;
    QTest::newRow("radius 0 becomes 48") << QStringLiteral("ClockRadius") << 0 << 48;
    QTest::newRow("hour width 50 stays") << QStringLiteral("HourCircleWidth") << 50 << 50;
    QTest::newRow("hour width 51 becomes 18") << QStringLiteral("HourCircleWidth") << 51 << 18;
    QTest::newRow("minute width 10 stays") << QStringLiteral("MinuteCircleWidth") << 10 << 10;
    QTest::newRow("minute width 9 becomes 18") << QStringLiteral("MinuteCircleWidth") << 9 << 18;
    QTest::newRow("second width -3 becomes 18") << QStringLiteral("SecondCircleWidth") << -3 << 18;
    QTest::newRow("opacity 6 survives") << QStringLiteral("BackgroundOpacity") << 6 << 6;
    QTest::newRow("opacity 7 becomes 0") << QStringLiteral("BackgroundOpacity") << 7 << 0;
    QTest::newRow("opacity -1 becomes 0") << QStringLiteral("BackgroundOpacity") << -1 << 0;
    QTest::newRow("monitor is not checked here") << QStringLiteral("MonitorID") << 9 << 9;
    QTest::newRow("24-hour flag keeps any value") << QStringLiteral("12/24Hour") << 5 << 5;
    QTest::newRow("theme keeps any value") << QStringLiteral("ClockTheme") << 7 << 7;
}

void TestClockSettings::rangeRules()
{
    QFETCH(QString, name);
    QFETCH(int, stored);
    QFETCH(int, loaded);
    write(QStringLiteral("Enable"), 1);
    write(name, stored);
    const ClockSettings settings = reload();
    for (const SettingField& field : settingFields()) {
        if (field.valueName() == name)
            QCOMPARE(settings.*field.field, loaded);
    }
}

void TestClockSettings::coloursOfZeroComeBackAsDefaults()
{
    write(QStringLiteral("Enable"), 1);
    write(QStringLiteral("AM/24HourCircleColor"), 0);
    write(QStringLiteral("TimeFontColor"), 0x00FFFFFF);
    write(QStringLiteral("ClockScaleColor"), 0);
    const ClockSettings settings = reload();
    QCOMPARE(settings.AM24HourCircleColor, qint32(0xFFDB5C1C));
    QCOMPARE(settings.TimeFontColor, 0x00FFFFFF);
    QCOMPARE(settings.ClockScaleColor, 0x77777777);
}

void TestClockSettings::zoneIndexOutsideTheTableKeepsTheOffset_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("97") << 97;
    QTest::newRow("-1") << -1;
}

void TestClockSettings::zoneIndexOutsideTheTableKeepsTheOffset()
{
    QFETCH(int, index);
    write(QStringLiteral("Enable"), 1);
    write(QStringLiteral("TimeZoneIndex"), index);
    const ClockSettings settings = reload();
    QCOMPARE(settings.TimeZoneIndex, index);
    QCOMPARE(settings.ZoneOffset, 0);
}

void TestClockSettings::enableOfTwoSkipsTimeStandard()
{
    write(QStringLiteral("Enable"), 2);
    write(QStringLiteral("TimeZoneIndex"), 81);
    write(QStringLiteral("TimeStandard"), 1);
    write(QStringLiteral("ClockTheme"), 2);
    ClockSettings settings;
    QCOMPARE(m_store->LoadClockSettings(settings, kBeijing), 2);
    QCOMPARE(settings.TimeZoneIndex, 81);
    QCOMPARE(settings.ZoneOffset, 540);
    QCOMPARE(settings.TimeStandard, 0);
    QCOMPARE(settings.ClockTheme, 2);
}

void TestClockSettings::textThatIsNotANumberLeavesTheField()
{
    write(QStringLiteral("Enable"), 1);
    m_registry->WriteRegistryValue(kKey, QStringLiteral("ClockRadius"), QStringLiteral("big"), RegSz);
    m_registry->WriteRegistryValue(kKey, QStringLiteral("HourCircleWidth"), QStringLiteral("30"), RegSz);
    ClockSettings settings;
    settings.ClockRadius = 100;
    m_store->LoadClockSettings(settings, kBeijing);
    QCOMPARE(settings.ClockRadius, 100);
    QCOMPARE(settings.HourCircleWidth, 30);
}

void TestClockSettings::saveWritesEveryValueInOrder()
{
    ClockSettings settings = reload();
    settings.Left = -1500;
    QVERIFY(m_store->SaveClockSettings(settings));
    const RegistryDocument document = m_registry->snapshot();
    const RegistryKey* key = document.findKey(kKey);
    QVERIFY(key);
    QStringList names;
    for (const RegistryEntry& entry : key->values) {
        names.append(entry.name);
        QCOMPARE(entry.type, quint32(RegDword));
    }
    QCOMPARE(names, QStringList({QStringLiteral("Enable"),
                                 QStringLiteral("TimeZoneIndex"),
                                 QStringLiteral("TimeStandard"),
                                 QStringLiteral("MonitorID"),
                                 QStringLiteral("Autorun"),
                                 QStringLiteral("Top"),
                                 QStringLiteral("Left"),
                                 QStringLiteral("AlwaysOnTop"),
                                 QStringLiteral("DisplayScale"),
                                 QStringLiteral("12/24Hour"),
                                 QStringLiteral("HourCircleWidth"),
                                 QStringLiteral("MinuteCircleWidth"),
                                 QStringLiteral("SecondCircleWidth"),
                                 QStringLiteral("ClockRadius"),
                                 QStringLiteral("BackgroundOpacity"),
                                 QStringLiteral("AM/24HourCircleColor"),
                                 QStringLiteral("PMHourCircleColor"),
                                 QStringLiteral("MinuteCircleColor"),
                                 QStringLiteral("SecondCircleColor"),
                                 QStringLiteral("TimeFontColor"),
                                 QStringLiteral("DateFontColor"),
                                 QStringLiteral("ClockScaleColor"),
                                 QStringLiteral("ClockTheme")}));
    QCOMPARE(m_registry->ReadRegistryValue(kKey, QStringLiteral("Left")), RegistryValue(-1500));
    QCOMPARE(m_registry->ReadRegistryValue(kKey, QStringLiteral("AM/24HourCircleColor")), RegistryValue(-2401252));
}

void TestClockSettings::saveThenReloadRoundTrips()
{
    ClockSettings settings = reload();
    settings.TimeZoneIndex = 81;
    settings.TimeStandard = 1;
    settings.TwelveOr24Hour = 1;
    settings.ClockRadius = 128;
    settings.HourCircleWidth = 50;
    settings.ClockTheme = 2;
    settings.AlwaysOnTop = 1;
    settings.MinuteCircleColor = 0x7700B0E4;
    QVERIFY(m_store->SaveClockSettings(settings));
    ClockSettings loaded = reload(SystemZoneInfo{0, 0});
    settings.ZoneOffset = 540;
    QCOMPARE(loaded, settings);
}

void TestClockSettings::resetGroups()
{
    ClockSettings settings;
    settings.TimeZoneIndex = 5;
    settings.ZoneOffset = -480;
    settings.MonitorID = 1;
    settings.Top = 300;
    settings.Left = 600;
    settings.TwelveOr24Hour = settings.TimeStandard = settings.BackgroundOpacity = 3;
    settings.Autorun = settings.DisplayScale = settings.AlwaysOnTop = 1;
    settings.ClockRadius = 100;
    settings.HourCircleWidth = settings.MinuteCircleWidth = settings.SecondCircleWidth = 40;
    settings.ClockTheme = 2;
    settings.AM24HourCircleColor = settings.ClockScaleColor = 1;

    ClockSettings appearance = settings;
    ResetClockSettings(appearance, true);
    QCOMPARE(appearance.ClockRadius, 48);
    QCOMPARE(appearance.SecondCircleWidth, 18);
    QCOMPARE(appearance.ClockTheme, 1);
    QCOMPARE(appearance.AM24HourCircleColor, qint32(0xFFDB5C1C));
    QCOMPARE(appearance.ClockScaleColor, 0x77777777);
    QCOMPARE(appearance.TwelveOr24Hour, 3);
    QCOMPARE(appearance.AlwaysOnTop, 1);

    ClockSettings general = settings;
    ResetClockSettings(general, false);
    QCOMPARE(general.TwelveOr24Hour, 0);
    QCOMPARE(general.TimeStandard, 0);
    QCOMPARE(general.BackgroundOpacity, 0);
    QCOMPARE(general.Autorun, 0);
    QCOMPARE(general.DisplayScale, 0);
    QCOMPARE(general.AlwaysOnTop, 0);
    QCOMPARE(general.ClockRadius, 100);

    for (ClockSettings* reset : {&appearance, &general}) {
        QCOMPARE(reset->TimeZoneIndex, 5);
        QCOMPARE(reset->ZoneOffset, -480);
        QCOMPARE(reset->MonitorID, 1);
        QCOMPARE(reset->Top, 300);
        QCOMPARE(reset->Left, 600);
    }
}

void TestClockSettings::validateMonitorPosition_data()
{
    QTest::addColumn<int>("monitorId");
    QTest::addColumn<int>("monitorCount");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("monitorAfter");
    // The first monitor's work area starts at (0, 32): a panel at the top.
    QTest::newRow("existing monitor keeps the position") << 1 << 2 << 30000 << 1500 << 1;
    QTest::newRow("unplugged monitor moves to the first work area") << 1 << 1 << 0 << 480 << 0;
    QTest::newRow("negative monitor moves to the first work area") << -1 << 2 << 0 << 480 << 0;
    QTest::newRow("no monitor at all goes to the origin") << 0 << 0 << 0 << 0 << 0;
}

void TestClockSettings::validateMonitorPosition()
{
    QFETCH(int, monitorId);
    QFETCH(int, monitorCount);
    QFETCH(int, left);
    QFETCH(int, top);
    QFETCH(int, monitorAfter);
    const QList<MonitorInfo> all{{QRect(0, 0, 1920, 1080), QRect(0, 32, 1920, 1048)},
                                 {QRect(1920, 0, 1280, 1024), QRect(1920, 0, 1280, 1024)}};
    ClockSettings settings;
    settings.MonitorID = monitorId;
    settings.Left = 30000;
    settings.Top = 1500;
    ValidateMonitorPosition(settings, all.mid(0, monitorCount), 15, 15);
    QCOMPARE(settings.Left, left);
    QCOMPARE(settings.Top, top);
    QCOMPARE(settings.MonitorID, monitorAfter);
}

QTEST_GUILESS_MAIN(TestClockSettings)
#include "tst_clocksettings.moc"
