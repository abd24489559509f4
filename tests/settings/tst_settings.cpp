#include "FakePlatform.h"
#include "core/TextUtils.h"
#include "settings/ClockList.h"
#include "settings/ClockSettings.h"
#include "settings/Registry.h"
#include "settings/RegistryKeys.h"
#include "timezone/TimeZoneTable.h"
#include "timezone/ZoneTime.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace kiv;
using namespace Qt::StringLiterals;

namespace {

const QString kKey = clockKeyPath(u"Default"_s);
const QString kProgram = u"/opt/Kiv Clock/bin/kivclock"_s;
const SystemZoneInfo kBeijing{-480, 0};

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString clockNames(int count, const QString& prefix)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += u'{' + prefix + QString::number(i) + u'}';
    return text;
}

} // namespace

// The registry file, the settings record of a clock, and the list of clocks.
class TestSettings final : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Registry> m_registry;
    TimeZoneTable m_zones;
    std::unique_ptr<ClockSettingsStore> m_store;
    test::FakeInstances m_instances;
    test::MemoryAutorun m_autorun;
    test::RecordingMessages m_messages;

    QString path() const { return m_dir->filePath(u"cfg/registry.reg"_s); }
    void writeFile(const QByteArray& bytes)
    {
        QVERIFY(QDir().mkpath(QFileInfo(path()).path()));
        QFile file(path());
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    qint32 write(const QString& name, const QString& value, quint32 type = RegDword, const QString& key = kKey)
    {
        return m_registry->WriteRegistryValue(key, name, value, type);
    }
    void write(const QString& name, qint32 value) { write(name, QString::number(value)); }
    QString text(const QString& key, const QString& name) const
    {
        return CleanString(m_registry->ReadRegistryValue(key, name).toString());
    }
    ClockSettings reload(const SystemZoneInfo& system = kBeijing)
    {
        ClockSettings settings;
        m_store->ReloadClockSettings(settings, system);
        return settings;
    }
    QString storedNames() const { return text(SystemKey, u"Clocks"_s); }
    void setClocks(const QString& names) { write(u"Clocks"_s, names, RegSz, SystemKey); }
    ClockList list(const QString& current = u"Default"_s)
    {
        return ClockList({*m_registry, m_instances, m_instances, m_autorun, m_messages}, current, kProgram);
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_registry = std::make_unique<Registry>(path());
        m_store = std::make_unique<ClockSettingsStore>(*m_registry, m_zones, u"Default"_s);
        m_instances = {};
        m_autorun = {};
        m_messages = {};
    }

    void unknownRootReadsEmptyAndWritesNothing()
    {
        QCOMPARE(write(u"x"_s, u"1"_s, RegDword, u"HKCU\\Software"_s), 0);
        QVERIFY(!QFile::exists(path()));
        QVERIFY(m_registry->ReadRegistryValue(u"HKCU\\Software"_s, u"x"_s).isEmpty());
    }

    void namesIgnoreCaseAndTextsReadWhole()
    {
        QCOMPARE(write(u"APP_VER"_s, u"1.0.0"_s, RegSz, u"hkey_current_user\\SOFTWARE\\Kiv Clock\\System"_s), 0);
        QCOMPARE(text(u"HKEY_CURRENT_USER\\Software\\kiv clock\\system"_s, u"app_ver"_s), u"1.0.0"_s);
        write(u"app_ver"_s, u"2.0.0"_s, RegSz, SystemKey);
        const RegistryDocument doc = m_registry->snapshot();
        const RegistryKey* key = doc.findKey(SystemKey);
        QVERIFY(key);
        QCOMPARE(key->path, u"HKEY_CURRENT_USER\\SOFTWARE\\Kiv Clock\\System"_s);
        QCOMPARE(key->values.size(), 1);
        QCOMPARE(key->values.first().name, u"APP_VER"_s);
        // A text reads with its terminator, however long it is.
        const QString names = clockNames(120, u"Clock number "_s);
        write(u"Clocks"_s, names, RegSz);
        QCOMPARE(m_registry->ReadRegistryValue(kKey, u"Clocks"_s).toString(), names + QChar(u'\0'));
        QVERIFY(m_registry->ReadRegistryValue(kKey, u"Missing"_s).isEmpty());
        QVERIFY(m_registry->ReadRegistryValue(kKey + u"\\Nope"_s, u"Clocks"_s).isEmpty());
    }

    void dwordWritesAndReads_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("readBack");
        QTest::newRow("default hour colour") << u"-2401252"_s << QByteArray("dword:ffdb5c1c") << -2401252;
        QTest::newRow("all bits read as -1") << u"-1"_s << QByteArray("dword:ffffffff") << -1;
        QTest::newRow("scale colour") << u"2004318071"_s << QByteArray("dword:77777777") << 2004318071;
        QTest::newRow("leading number of a text") << u"48px"_s << QByteArray("dword:00000030") << 48;
        QTest::newRow("half rounds to even") << u"18.5"_s << QByteArray("dword:00000012") << 18;
        QTest::newRow("more than 32 bits are refused") << u"99999999999"_s << QByteArray() << 0;
    }

    void dwordWritesAndReads()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, stored);
        QFETCH(int, readBack);
        QCOMPARE(write(u"V"_s, text), stored.isEmpty() ? RegInvalidParameter : 0);
        QCOMPARE(fileBytes(path()).contains(QByteArray("\"V\"=" + stored + "\n")), !stored.isEmpty());
        QCOMPARE(m_registry->ReadRegistryValue(kKey, u"V"_s),
                 stored.isEmpty() ? RegistryValue() : RegistryValue(readBack));
    }

    void textsThatNeedEscapingRoundTrip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("quotes and backslashes") << u"C:\\Program Files\\\"x\"\\"_s;
        QTest::newRow("Chinese") << u"北京时间"_s;
        QTest::newRow("line breaks") << u"one\ntwo\r\nthree"_s;
        QTest::newRow("empty") << QString();
        QTest::newRow("brackets and equals") << u"[x]=\"y\"@"_s;
        QTest::newRow("text that looks like continued hex data") << u"=hex:01,\\"_s;
    }

    void textsThatNeedEscapingRoundTrip()
    {
        QFETCH(QString, text);
        const QString key = kKey + u"\\odd ] name"_s;
        QCOMPARE(write(u"a \"quoted\" name"_s, text, RegSz, key), 0);
        QCOMPARE(write(u"next"_s, u"7"_s, RegDword, key), 0);
        QCOMPARE(m_registry->ReadRegistryValue(key, u"a \"quoted\" name"_s).toString(), text + QChar(u'\0'));
        QCOMPARE(m_registry->ReadRegistryValue(key, u"next"_s), RegistryValue(7));
        QCOMPARE(RegistryDocument::parse(fileBytes(path())).unreadableLines, 0);
    }

    void deletingNeverTakesAParentOrAKeyWithSubkeys()
    {
        write(u"A"_s, 1);
        write(u"B"_s, 2);
        QCOMPARE(m_registry->DeleteRegistryValue(kKey, u"a"_s), 0);
        QVERIFY(m_registry->ReadRegistryValue(kKey, u"A"_s).isEmpty());
        QCOMPARE(m_registry->DeleteRegistryKey(kKey, u"  "_s), RegInvalidParameter);
        QCOMPARE(m_registry->DeleteRegistryKey(u"HKEY_CURRENT_USER\\Software"_s, u"Kiv Clock"_s), RegAccessDenied);
        QCOMPARE(m_registry->ReadRegistryValue(kKey, u"B"_s), RegistryValue(2));
        QCOMPARE(m_registry->DeleteRegistryKey(SoftwareKey, u"default"_s), 0);
        QVERIFY(!m_registry->snapshot().findKey(kKey));
        QVERIFY(m_registry->snapshot().findKey(SoftwareKey));
    }

    void fileIsInExportFormatAndPrivate()
    {
        write(u"ClockRadius"_s, 47);
        write(u"Note"_s, u"a\\b"_s, RegSz);
        QCOMPARE(fileBytes(path()), QByteArray("Windows Registry Editor Version 5.00\n"
                                               "\n[HKEY_CURRENT_USER\\Software]\n"
                                               "\n[HKEY_CURRENT_USER\\Software\\Kiv Clock]\n"
                                               "\n[HKEY_CURRENT_USER\\Software\\Kiv Clock\\Default]\n"
                                               "\"ClockRadius\"=dword:0000002f\n"
                                               "\"Note\"=\"a\\\\b\"\n"));
        QCOMPARE(QFile::permissions(path()),
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser);
    }

    void exportFromElsewhereLoads()
    {
        // A hand-made export: CRLF line ends, comments, a binary value over two lines, a multi-string.
        writeFile("Windows Registry Editor Version 5.00\r\n\r\n; exported\r\n"
                  "[HKEY_CURRENT_USER\\Software\\Kiv Clock\\System]\r\n"
                  "\"Clocks\"=\"{A}{B}\"\r\n"
                  "@=\"default value\"\r\n"
                  "\"Bin\"=hex:01,02,\\\r\n  03\r\n"
                  "\"Wide\"=hex(2):41,00,42,00,00,00\r\n");
        QCOMPARE(storedNames(), u"{A}{B}"_s);
        QCOMPARE(text(SystemKey, QString()), u"default value"_s);
        QCOMPARE(text(SystemKey, u"Wide"_s), u"AB"_s);
        const RegistryDocument document = m_registry->snapshot();
        QCOMPARE(RegistryDocument::findValue(*document.findKey(SystemKey), u"Bin")->data, QByteArray("\x01\x02\x03"));
        QCOMPARE(RegistryDocument::parse(fileBytes(path())).unreadableLines, 0);
    }

    void unreadableLinesAreSetAsideBeforeARewrite()
    {
        const QByteArray damaged = "Windows Registry Editor Version 5.00\n\n"
                                   "[HKEY_CURRENT_USER\\Software\\Kiv Clock\\Default]\n"
                                   "\"ClockRadius\"=dword:00000050\n"
                                   "\"Broken\"=dword:zz\n"
                                   "garbage line\n"
                                   "\"TimeZoneIndex\"=dword:0000004a\n";
        writeFile(damaged);
        const auto setAside = [this] {
            return QDir(QFileInfo(path()).path()).entryList({u"registry.reg.unreadable-*"_s}, QDir::Files);
        };
        // What can be read is read; the first rewrite keeps the damaged file beside the new one.
        QCOMPARE(m_registry->ReadRegistryValue(kKey, u"ClockRadius"_s), RegistryValue(80));
        write(u"Enable"_s, 1);
        QCOMPARE(setAside().size(), 1);
        QCOMPARE(fileBytes(QFileInfo(path()).path() + u'/' + setAside().first()), damaged);
        QCOMPARE(m_registry->ReadRegistryValue(kKey, u"ClockRadius"_s), RegistryValue(80));
        QCOMPARE(m_registry->ReadRegistryValue(kKey, u"TimeZoneIndex"_s), RegistryValue(74));
        // The rewritten file is clean, so later writes set nothing more aside.
        write(u"Top"_s, 0);
        QCOMPARE(setAside().size(), 1);
    }

    void transactionsSeeTheirOwnWritesAndWriteOnlyChanges()
    {
        QVERIFY(m_registry->transaction(
            [](RegistryEditor& editor) { QVERIFY(editor.ReadRegistryValue(kKey, u"Enable"_s).isEmpty()); }));
        QVERIFY(!QFile::exists(path()));
        int seen = 0;
        QVERIFY(m_registry->transaction([&](RegistryEditor& editor) {
            for (int i = 0; i < 24; ++i) {
                editor.WriteRegistryValue(kKey, u"V%1"_s.arg(i), QString::number(i), RegDword);
                seen += editor.ReadRegistryValue(kKey, u"V%1"_s.arg(i)) == RegistryValue(i);
            }
        }));
        QCOMPARE(seen, 24);
        QCOMPARE(m_registry->ReadRegistryValue(kKey, u"V23"_s), RegistryValue(23));
        // The store and its lock file are for this user alone; the lock file stays (the kernel holds the lock).
        QCOMPARE(QFileInfo(path()).permissions() & 0x0077, QFileDevice::Permissions());
        QCOMPARE(QFileInfo(path() + u".lock"_s).permissions() & 0x0077, QFileDevice::Permissions());
    }

    void freshClock_data()
    {
        QTest::addColumn<int>("bias");
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("zone");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("standard");
        QTest::newRow("takes the system's zone") << -480 << 0 << 74 << 480 << 0;
        QTest::newRow("in daylight time chooses daylight time") << 0 << 2 << 33 << 0 << 1;
        QTest::newRow("takes the first of the zones of an offset") << 180 << 0 << 24 << -180 << 0;
        QTest::newRow("on an offset the table lacks keeps zone 0") << -525 << 2 << 0 << 0 << 0;
    }

    void freshClock()
    {
        QFETCH(int, bias);
        QFETCH(int, state);
        QFETCH(int, zone);
        QFETCH(int, offset);
        QFETCH(int, standard);
        ClockSettings settings;
        QCOMPARE(m_store->LoadClockSettings(settings, SystemZoneInfo{bias, state}), 0);
        applyRangeRules(settings);
        ClockSettings expected;
        ResetClockSettings(expected, true);
        ResetClockSettings(expected, false);
        expected.TimeZoneIndex = zone;
        expected.ZoneOffset = offset;
        expected.TimeStandard = standard;
        QCOMPARE(settings, expected);
    }

    void rangeRules_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("loaded");
        QTest::newRow("radius 128 stays") << u"ClockRadius"_s << 128 << 128;
        QTest::newRow("radius 48 stays") << u"ClockRadius"_s << 48 << 48;
        QTest::newRow("radius 129 becomes 48") << u"ClockRadius"_s << 129 << 48;
        QTest::newRow("radius 47 becomes 48") << u"ClockRadius"_s << 47 << 48;
        QTest::newRow("hour width 50 stays") << u"HourCircleWidth"_s << 50 << 50;
        QTest::newRow("hour width 51 becomes 18") << u"HourCircleWidth"_s << 51 << 18;
        QTest::newRow("minute width 10 stays") << u"MinuteCircleWidth"_s << 10 << 10;
        QTest::newRow("minute width 9 becomes 18") << u"MinuteCircleWidth"_s << 9 << 18;
        QTest::newRow("second width -3 becomes 18") << u"SecondCircleWidth"_s << -3 << 18;
        QTest::newRow("opacity 6 survives") << u"BackgroundOpacity"_s << 6 << 6;
        QTest::newRow("opacity 7 becomes 0") << u"BackgroundOpacity"_s << 7 << 0;
        QTest::newRow("opacity -1 becomes 0") << u"BackgroundOpacity"_s << -1 << 0;
        QTest::newRow("monitor is not checked here") << u"MonitorID"_s << 9 << 9;
        QTest::newRow("24-hour flag keeps any value") << u"12/24Hour"_s << 5 << 5;
        QTest::newRow("theme keeps any value") << u"ClockTheme"_s << 7 << 7;
        QTest::newRow("colour 0 becomes the default") << u"AM/24HourCircleColor"_s << 0 << qint32(0xFFDB5C1C);
        QTest::newRow("scale colour 0 becomes the default") << u"ClockScaleColor"_s << 0 << 0x77777777;
        QTest::newRow("transparent white stays") << u"TimeFontColor"_s << 0x00FFFFFF << 0x00FFFFFF;
    }

    void rangeRules()
    {
        QFETCH(QString, name);
        QFETCH(int, stored);
        QFETCH(int, loaded);
        write(u"Enable"_s, 1);
        write(name, stored);
        const ClockSettings settings = reload();
        const auto fields = settingFields();
        const auto field =
            std::find_if(fields.begin(), fields.end(), [&](const auto& f) { return f.valueName() == name; });
        QVERIFY(field != fields.end());
        QCOMPARE(settings.*field->field, loaded);
    }

    void storedRecordsLoadAsTheyCan()
    {
        // A zone index outside the table is kept, with no offset.
        write(u"Enable"_s, 1);
        for (const int index : {97, -1}) {
            write(u"TimeZoneIndex"_s, index);
            QCOMPARE(reload().TimeZoneIndex, index);
            QCOMPARE(reload().ZoneOffset, 0);
        }
        // Text that is not a number leaves the field as it was; text that is one is read.
        write(u"ClockRadius"_s, u"big"_s, RegSz);
        write(u"HourCircleWidth"_s, u"30"_s, RegSz);
        ClockSettings settings;
        settings.ClockRadius = 100;
        m_store->LoadClockSettings(settings, kBeijing);
        QCOMPARE(settings.ClockRadius, 100);
        QCOMPARE(settings.HourCircleWidth, 30);
        // Enable 2 loads everything but the time standard.
        write(u"Enable"_s, 2);
        write(u"TimeZoneIndex"_s, 81);
        write(u"TimeStandard"_s, 1);
        QCOMPARE(m_store->LoadClockSettings(settings, kBeijing), 2);
        QCOMPARE(settings.TimeZoneIndex, 81);
        QCOMPARE(settings.ZoneOffset, 540);
        QCOMPARE(settings.TimeStandard, 0);
    }

    void saveWritesEveryValueAndReloadsTheSame()
    {
        ClockSettings settings = reload();
        settings.TimeZoneIndex = 81;
        settings.TimeStandard = settings.TwelveOr24Hour = settings.AlwaysOnTop = 1;
        settings.ClockRadius = 128;
        settings.HourCircleWidth = 50;
        settings.ClockTheme = 2;
        settings.Left = -1500;
        settings.MinuteCircleColor = 0x7700B0E4;
        QVERIFY(m_store->SaveClockSettings(settings));
        const RegistryDocument document = m_registry->snapshot();
        QVERIFY(document.findKey(kKey));
        const QList<RegistryEntry>& values = document.findKey(kKey)->values;
        QCOMPARE(values.size(), 23);
        QVERIFY(std::all_of(values.begin(), values.end(), [](const RegistryEntry& e) { return e.type == RegDword; }));
        QCOMPARE(m_registry->ReadRegistryValue(kKey, u"Left"_s), RegistryValue(-1500));
        settings.ZoneOffset = 540;
        QCOMPARE(reload(SystemZoneInfo{0, 0}), settings);
    }

    void resetButtonsNeverMoveTheClock()
    {
        ClockSettings settings;
        settings.TimeZoneIndex = settings.MonitorID = settings.Left = settings.Top = 7;
        ResetClockSettings(settings, true);
        ResetClockSettings(settings, false);
        QCOMPARE(QList({settings.TimeZoneIndex, settings.MonitorID, settings.Left, settings.Top}), QList({7, 7, 7, 7}));
    }

    void validateMonitorPosition_data()
    {
        QTest::addColumn<int>("monitorId");
        QTest::addColumn<int>("monitorCount");
        QTest::addColumn<QPoint>("twips");
        QTest::addColumn<int>("monitorAfter");
        // The first monitor's work area starts at (0, 32): a panel at the top.
        QTest::newRow("existing monitor keeps the position") << 1 << 2 << QPoint(30000, 1500) << 1;
        QTest::newRow("unplugged monitor moves to the first work area") << 1 << 1 << QPoint(0, 480) << 0;
        QTest::newRow("negative monitor moves to the first work area") << -1 << 2 << QPoint(0, 480) << 0;
        QTest::newRow("no monitor at all goes to the origin") << 0 << 0 << QPoint(0, 0) << 0;
    }

    void validateMonitorPosition()
    {
        QFETCH(int, monitorId);
        QFETCH(int, monitorCount);
        QFETCH(QPoint, twips);
        QFETCH(int, monitorAfter);
        const QList<MonitorInfo> all{{QRect(0, 0, 1920, 1080), QRect(0, 32, 1920, 1048)},
                                     {QRect(1920, 0, 1280, 1024), QRect(1920, 0, 1280, 1024)}};
        ClockSettings settings;
        settings.MonitorID = monitorId;
        settings.Left = 30000;
        settings.Top = 1500;
        ValidateMonitorPosition(settings, all.mid(0, monitorCount), 15, 15);
        QCOMPARE(QPoint(settings.Left, settings.Top), twips);
        QCOMPARE(settings.MonitorID, monitorAfter);
    }

    void parseClockNames_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("empty") << QString() << QStringList();
        QTest::newRow("two clocks") << u"{A}{B}"_s << QStringList{u"A"_s, u"B"_s};
        QTest::newRow("missing closing brace ends parsing") << u"{A}{B"_s << QStringList{u"A"_s};
        QTest::newRow("names are cleaned") << u"{ Office }"_s << QStringList{u"Office"_s};
        QTest::newRow("text between lists is skipped") << u"junk{A}x{B}"_s << QStringList{u"A"_s, u"B"_s};
        QTest::newRow("closing brace before opening yields no name") << u"}{A}"_s << QStringList{u"A"_s};
        QTest::newRow("Chinese names") << u"{北京}{东京}"_s << QStringList{u"北京"_s, u"东京"_s};
    }

    void parseClockNames()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, names);
        QCOMPARE(ParseClockNames(text), names);
    }

    void loadListsDefaultFirstAndAtMost127Others()
    {
        setClocks(u"{A}{B}"_s);
        m_instances.running = {u"Default"_s, u"B"_s};
        ClockList clocks = list();
        clocks.LoadClockList();
        QCOMPARE(clocks.ClockCount(), 3);
        QCOMPARE(clocks.RunningClockCount(), 2);
        QCOMPARE(clocks.entries()[0].Name, u"Default"_s);
        QVERIFY(!clocks.entries()[1].Window);
        QVERIFY(clocks.entries()[2].Window);
        // Finding the running clocks raises none of them: the dialog that lists them keeps the keyboard.
        QVERIFY(m_instances.raised.isEmpty());
        setClocks(clockNames(130, u"Clock "_s));
        clocks.LoadClockList();
        QCOMPARE(clocks.ClockCount(), 128);
        QCOMPARE(clocks.entries().last().Name, u"Clock 126"_s);
    }

    void addClockRecordsACleanedNameAndSeesOtherProcesses()
    {
        setClocks(u"{Office}"_s);
        ClockList clocks = list();
        clocks.LoadClockList();
        QVERIFY(clocks.AddClock(u"  Tokyo  "_s, 81));
        QCOMPARE(m_registry->ReadRegistryValue(clockKeyPath(u"Tokyo"_s), u"Enable"_s), RegistryValue(1));
        QCOMPARE(m_instances.started, QStringList{u"Tokyo"_s});
        // A clock another process added after this list was loaded counts too.
        setClocks(storedNames() + u"{Paris}"_s);
        QVERIFY(!clocks.AddClock(u"Paris"_s, 37));
        QCOMPARE(m_messages.shown.last().text, ClockMessages::NameExists);
        QVERIFY(clocks.AddClock(u"Rome"_s, 37));
        QCOMPARE(storedNames(), u"{Office}{Tokyo}{Paris}{Rome}"_s);
    }

    void addClockRefuses_data()
    {
        QTest::addColumn<QString>("listed");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        const QString office = u"{Office}"_s;
        QTest::newRow("empty name") << office << u"   "_s << ClockMessages::EnterName;
        QTest::newRow("NUL first") << office << QString::fromUtf16(u"\0Tokyo", 6) << ClockMessages::EnterName;
        QTest::newRow("the default clock") << office << u"Default"_s << ClockMessages::NameExists;
        QTest::newRow("a listed clock") << office << u"Office"_s << ClockMessages::NameExists;
        // Names that differ only in case are one key of the store: deleting one would delete the other.
        QTest::newRow("the default clock in lower case") << office << u"default"_s << ClockMessages::NameExists;
        QTest::newRow("a listed clock in another case") << office << u"OFFICE"_s << ClockMessages::NameExists;
        QTest::newRow("a clock another process added, in another case") << u"{Office}{Paris}"_s << u"pARIS"_s
                                                                        << ClockMessages::NameExists;
        // Deleting a clock named "System" would delete the clock list and the program's path.
        QTest::newRow("the key of the clock list") << office << u"system"_s
                                                   << ClockMessages::AddFailed + clockNameProblem(u"System"_s);
        const QString longName(126, QChar(0x6F22)); // 378 bytes in UTF-8: "<name>.cfg" would not fit a file name
        QTest::newRow("a name too long for its alarm file") << office << longName
                                                            << ClockMessages::AddFailed + clockNameProblem(longName);
        QTest::newRow("opening brace") << office << u"a{b"_s << ClockMessages::BadName;
        QTest::newRow("closing brace") << office << u"a}b"_s << ClockMessages::BadName;
        QTest::newRow("slash") << office << u"../etc"_s << ClockMessages::BadName;
        QTest::newRow("backslash") << office << u"a\\b"_s << ClockMessages::BadName;
        QTest::newRow("parent folder") << office << u".."_s << ClockMessages::BadName;
        QTest::newRow("line break") << office << u"a\nb"_s << ClockMessages::BadName;
        QTest::newRow("127 clocks leave no room") << clockNames(127, u"C"_s) << u"One more"_s << ClockMessages::TooMany;
    }

    void addClockRefuses()
    {
        QFETCH(QString, listed);
        QFETCH(QString, name);
        QFETCH(QString, message);
        setClocks(listed);
        ClockList clocks = list();
        clocks.LoadClockList();
        const QByteArray before = m_registry->snapshot().serialize();
        QVERIFY(!clocks.AddClock(name, 3));
        QCOMPARE(m_messages.shown.size(), 1);
        QCOMPARE(m_messages.shown.first().text, message);
        QCOMPARE(m_registry->snapshot().serialize(), before);
        QVERIFY(m_instances.started.isEmpty());
    }

    void deleteClockRemovesEveryTrace()
    {
        setClocks(u"{A}{B}{A}"_s);
        const QString key = clockKeyPath(u"A"_s);
        write(u"ClockTheme"_s, u"2"_s, RegDword, key);
        write(u"Extra"_s, u"x"_s, RegSz, key);
        write(u"Enable"_s, u"1"_s, RegDword, clockKeyPath(u"B"_s));
        m_autorun.entries.insert(u"Kiv Clock - A"_s, kProgram + u" A"_s);
        m_autorun.entries.insert(u"Kiv Clock - B"_s, kProgram + u" B"_s);
        ClockList clocks = list();
        clocks.DeleteClock(u" A "_s);
        QCOMPARE(storedNames(), u"{B}"_s);
        QVERIFY(!m_registry->snapshot().findKey(key));
        QVERIFY(m_registry->snapshot().findKey(clockKeyPath(u"B"_s)));
        QCOMPARE(m_autorun.entries.keys(), QStringList{u"Kiv Clock - B"_s});
        // An empty name touches nothing.
        const QByteArray before = m_registry->snapshot().serialize();
        clocks.DeleteClock(u"  "_s);
        QCOMPARE(m_registry->snapshot().serialize(), before);
        // A running clock is closed before it is deleted; a clock that does not run is not asked.
        m_instances.running = {u"B"_s};
        clocks.StopAndDeleteClock(u"B"_s);
        clocks.StopAndDeleteClock(u"Gone"_s);
        QCOMPARE(m_instances.closed, QStringList{u"B"_s});
        QCOMPARE(storedNames(), QString());
        // A store that cannot be changed keeps the clock listed, and the user is told why.
        setClocks(u"{C}"_s);
        QFile::remove(path() + u".lock"_s);
        QVERIFY(QDir().mkpath(path() + u".lock"_s));
        QVERIFY(!clocks.DeleteClock(u"C"_s));
        QCOMPARE(storedNames(), u"{C}"_s);
        QVERIFY(m_messages.shown.last().text.startsWith(ClockMessages::DeleteFailed));
        QVERIFY(m_messages.shown.last().text.size() > ClockMessages::DeleteFailed.size());
    }

    void setAutorun_data()
    {
        QTest::addColumn<QString>("before"); // "" = no entry
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("after");
        const QString own = kProgram + u" Tokyo"_s;
        const QString other = u"/old/place/kivclock Tokyo"_s;
        QTest::newRow("mode 0 writes a missing entry") << QString() << 0 << 1 << own;
        QTest::newRow("mode 0 keeps its own entry") << own << 0 << 1 << own;
        QTest::newRow("mode 0 repairs a stale entry") << other << 0 << 1 << own;
        QTest::newRow("mode 1 removes its own entry") << own << 1 << 0 << QString();
        QTest::newRow("mode 1 leaves another program's entry") << other << 1 << 0 << other;
        QTest::newRow("mode 2 removes any entry") << other << 2 << 0 << QString();
    }

    void setAutorun()
    {
        QFETCH(QString, before);
        QFETCH(int, mode);
        QFETCH(int, result);
        QFETCH(QString, after);
        if (!before.isEmpty())
            m_autorun.entries.insert(u"Kiv Clock - Tokyo"_s, before);
        QCOMPARE(list(u"Tokyo"_s).SetAutorun(mode), result);
        QCOMPARE(m_autorun.read(u"Kiv Clock - Tokyo"_s), after);
    }

    void autorunStateIgnoresTrailingSpacesOnly()
    {
        ClockList clocks = list(u"Tokyo"_s);
        QCOMPARE(clocks.GetAutorunState(), 1);
        m_autorun.entries.insert(u"Kiv Clock - Tokyo"_s, kProgram + u" Tokyo  "_s);
        QCOMPARE(clocks.GetAutorunState(), 0);
        m_autorun.entries.insert(u"Kiv Clock - Tokyo"_s, kProgram + u" tokyo"_s);
        QCOMPARE(clocks.GetAutorunState(), 1);
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
