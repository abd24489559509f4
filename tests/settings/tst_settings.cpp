#include "FakePlatform.h"
#include "KivTest.h"
#include "core/TextUtils.h"
#include "settings/ClockList.h"
#include "settings/ClockSettings.h"
#include "settings/Registry.h"
#include "settings/RegistryKeys.h"
#include "timezone/TimeZoneTable.h"
#include "timezone/ZoneTime.h"

namespace {

const QString kKey = clockKeyPath(u"Default"_s);
const QString kProgram = u"/opt/Kiv Clock/bin/kivclock"_s;
const SystemZoneInfo kBeijing{-480, 0};

QString clockNames(int count, const QString& prefix)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += u'{' + prefix + QString::number(i) + u'}';
    return text;
}

// Rows of the tables.
using RangeRow = std::tuple<QString, int, int>;
using RefusalRow = std::tuple<QString, QString, QString>;
using AutorunRow = std::tuple<QString, int, int, QString>;

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

    void namesIgnoreCaseAndDeletesAreGuarded()
    {
        // An unknown root reads empty and writes nothing.
        QCOMPARE(write(u"x"_s, u"1"_s, RegDword, u"HKCU\\Software"_s), 0);
        QVERIFY(!QFile::exists(path()));
        QVERIFY(m_registry->ReadRegistryValue(u"HKCU\\Software"_s, u"x"_s).isEmpty());
        QCOMPARE(write(u"APP_VER"_s, u"1.0.0"_s, RegSz, u"hkey_current_user\\SOFTWARE\\Kiv Clock\\System"_s), 0);
        QCOMPARE(text(u"HKEY_CURRENT_USER\\Software\\kiv clock\\system"_s, u"app_ver"_s), u"1.0.0"_s);
        write(u"app_ver"_s, u"2.0.0"_s, RegSz, SystemKey);
        const RegistryDocument doc = m_registry->snapshot();
        const RegistryKey* key = doc.findKey(SystemKey);
        QVERIFY(key && key->values.size() == 1);
        QCOMPARE(key->path, u"HKEY_CURRENT_USER\\SOFTWARE\\Kiv Clock\\System"_s);
        QCOMPARE(key->values.first().name, u"APP_VER"_s);
        // A missing value or key reads as nothing.
        QVERIFY(m_registry->ReadRegistryValue(SystemKey, u"Missing"_s).isEmpty());
        QVERIFY(m_registry->ReadRegistryValue(SystemKey + u"\\Nope"_s, u"APP_VER"_s).isEmpty());
        // Deleting never takes a parent, nor a key with subkeys.
        write(u"A"_s, 1);
        write(u"B"_s, 2);
        QCOMPARE(m_registry->DeleteRegistryValue(kKey, u"a"_s), 0);
        QVERIFY(m_registry->ReadRegistryValue(kKey, u"A"_s).isEmpty());
        QCOMPARE(m_registry->DeleteRegistryKey(kKey, u"  "_s), RegInvalidParameter);
        QCOMPARE(m_registry->DeleteRegistryKey(u"HKEY_CURRENT_USER\\Software"_s, u"Kiv Clock"_s), RegAccessDenied);
        QCOMPARE(m_registry->ReadRegistryValue(kKey, u"B"_s), RegistryValue(2));
        QCOMPARE(m_registry->DeleteRegistryKey(SoftwareKey, u"default"_s), 0);
        QVERIFY(!m_registry->snapshot().findKey(kKey) && m_registry->snapshot().findKey(SoftwareKey));
    }

    void dwordsAndTextsThatNeedEscapingRoundTrip()
    {
        // Negative, all bits, positive, the leading number of a text, too many bits. (tst_core reads the
        // numbers of texts.)
        const std::tuple<QString, QByteArray, int> rows[] = {{u"-2401252"_s, "dword:ffdb5c1c", -2401252},
                                                             {u"-1"_s, "dword:ffffffff", -1},
                                                             {u"2004318071"_s, "dword:77777777", 2004318071},
                                                             {u"48px"_s, "dword:00000030", 48},
                                                             {u"99999999999"_s, {}, 0}};
        for (const auto& [text, stored, readBack] : rows) {
            QCOMPARE(write(u"V"_s, text), stored.isEmpty() ? RegInvalidParameter : 0);
            QCOMPARE(test::readFile(path()).contains(QByteArray("\"V\"=" + stored + "\n")), !stored.isEmpty());
            QCOMPARE(m_registry->ReadRegistryValue(kKey, u"V"_s),
                     stored.isEmpty() ? RegistryValue() : RegistryValue(readBack));
            m_registry->DeleteRegistryValue(kKey, u"V"_s);
        }
        const QString key = kKey + u"\\odd ] name"_s;
        for (const QString& text : {u"C:\\Program Files\\\"x\"\\"_s, u"北京时间"_s, u"one\ntwo\r\nthree"_s, QString(),
                                    u"[x]=\"y\"@"_s, u"=hex:01,\\"_s}) { // the last looks like continued hex data
            QCOMPARE(write(u"a \"quoted\" name"_s, text, RegSz, key), 0);
            QCOMPARE(write(u"next"_s, u"7"_s, RegDword, key), 0);
            QCOMPARE(m_registry->ReadRegistryValue(key, u"a \"quoted\" name"_s).toString(), text + QChar(u'\0'));
            QCOMPARE(m_registry->ReadRegistryValue(key, u"next"_s), RegistryValue(7));
            QCOMPARE(RegistryDocument::parse(test::readFile(path())).unreadableLines, 0);
        }
    }

    void fileIsInExportFormatPrivateAndKeptWhenDamaged()
    {
        write(u"ClockRadius"_s, 47);
        write(u"Note"_s, u"a\\b"_s, RegSz);
        QCOMPARE(test::readFile(path()), QByteArray("Windows Registry Editor Version 5.00\n"
                                                    "\n[HKEY_CURRENT_USER\\Software]\n"
                                                    "\n[HKEY_CURRENT_USER\\Software\\Kiv Clock]\n"
                                                    "\n[HKEY_CURRENT_USER\\Software\\Kiv Clock\\Default]\n"
                                                    "\"ClockRadius\"=dword:0000002f\n"
                                                    "\"Note\"=\"a\\\\b\"\n"));
        // The store and its lock file are for this user alone; the lock file stays (the kernel holds the lock).
        QCOMPARE(QFile::permissions(path()),
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser);
        QCOMPARE(QFileInfo(path() + u".lock"_s).permissions() & 0x0077, QFileDevice::Permissions());
        const QByteArray damaged = "Windows Registry Editor Version 5.00\n\n"
                                   "[HKEY_CURRENT_USER\\Software\\Kiv Clock\\Default]\n"
                                   "\"ClockRadius\"=dword:00000050\n"
                                   "\"Broken\"=dword:zz\n"
                                   "garbage line\n"
                                   "\"TimeZoneIndex\"=dword:0000004a\n";
        QVERIFY(test::writeFile(path(), damaged)); // over the file written above
        const auto setAside = [this] {
            return QDir(QFileInfo(path()).path()).entryList({u"registry.reg.unreadable-*"_s}, QDir::Files);
        };
        // What can be read is read; the first rewrite keeps the damaged file beside the new one.
        QCOMPARE(m_registry->ReadRegistryValue(kKey, u"ClockRadius"_s), RegistryValue(80));
        write(u"Enable"_s, 1);
        QCOMPARE(setAside().size(), 1);
        QCOMPARE(test::readFile(QFileInfo(path()).path() + u'/' + setAside().first()), damaged);
        QCOMPARE(std::pair(m_registry->ReadRegistryValue(kKey, u"ClockRadius"_s),
                           m_registry->ReadRegistryValue(kKey, u"TimeZoneIndex"_s)),
                 std::pair(RegistryValue(80), RegistryValue(74)));
        // (tst_application saves twice more and finds one copy kept, and the user told of it once.)
    }

    void freshClockAndRangeRules()
    {
        // The system's zone; daylight time in daylight time; the first zone of an offset; zone 0 on an offset
        // the table lacks.
        const std::tuple<SystemZoneInfo, int, int, int> rows[] = {
            {{-480, 0}, 74, 480, 0}, {{0, 2}, 33, 0, 1}, {{180, 0}, 24, -180, 0}, {{-525, 2}, 0, 0, 0}};
        for (const auto& [system, zone, offset, standard] : rows) {
            ClockSettings settings;
            QCOMPARE(m_store->LoadClockSettings(settings, system), 0);
            applyRangeRules(settings);
            ClockSettings expected;
            ResetClockSettings(expected, true);
            ResetClockSettings(expected, false);
            expected.TimeZoneIndex = zone;
            expected.ZoneOffset = offset;
            expected.TimeStandard = standard;
            QCOMPARE(settings, expected);
        }
        // A stored value out of its range loads as the default: the value's name, what is stored, what loads.
        const RangeRow ranges[] = {{u"ClockRadius"_s, 128, 128},                       // radius 128 stays
                                   {u"ClockRadius"_s, 48, 48},                         // radius 48 stays
                                   {u"ClockRadius"_s, 129, 48},                        // radius 129 becomes 48
                                   {u"ClockRadius"_s, 47, 48},                         // radius 47 becomes 48
                                   {u"HourCircleWidth"_s, 50, 50},                     // hour width 50 stays
                                   {u"HourCircleWidth"_s, 51, 18},                     // hour width 51 becomes 18
                                   {u"MinuteCircleWidth"_s, 10, 10},                   // minute width 10 stays
                                   {u"MinuteCircleWidth"_s, 9, 18},                    // minute width 9 becomes 18
                                   {u"SecondCircleWidth"_s, -3, 18},                   // second width -3 becomes 18
                                   {u"BackgroundOpacity"_s, 6, 6},                     // opacity 6 survives
                                   {u"BackgroundOpacity"_s, 7, 0},                     // opacity 7 becomes 0
                                   {u"BackgroundOpacity"_s, -1, 0},                    // opacity -1 becomes 0
                                   {u"MonitorID"_s, 9, 9},                             // monitor is not checked here
                                   {u"12/24Hour"_s, 5, 5},                             // 24-hour flag keeps any value
                                   {u"ClockTheme"_s, 7, 7},                            // theme keeps any value
                                   {u"AM/24HourCircleColor"_s, 0, qint32(0xFFDB5C1C)}, // colour 0 becomes the default
                                   {u"ClockScaleColor"_s, 0, 0x77777777},         // scale colour 0 becomes the default
                                   {u"TimeFontColor"_s, 0x00FFFFFF, 0x00FFFFFF}}; // transparent white stays
        for (const auto& [name, stored, loaded] : ranges) {
            write(u"Enable"_s, 1);
            write(name, stored);
            const ClockSettings settings = reload();
            const auto fields = settingFields();
            const QString valueName = name; // a lambda cannot capture a structured binding in clang 14
            const auto field = std::find_if(fields.begin(), fields.end(),
                                            [&](const auto& f) { return f.valueName() == valueName; });
            QVERIFY(field != fields.end());
            QVERIFY2(settings.*field->field == loaded, qPrintable(name + u' ' + QString::number(stored)));
        }
    }

    void storedRecordsLoadAsTheyCanOnAMonitorThatIsThere()
    {
        // A zone index outside the table is kept, with no offset.
        write(u"Enable"_s, 1);
        for (const int index : {97, -1}) {
            write(u"TimeZoneIndex"_s, index);
            QCOMPARE(std::pair(reload().TimeZoneIndex, reload().ZoneOffset), std::pair(index, 0));
        }
        // Text that is not a number leaves the field as it was; text that is one is read.
        write(u"ClockRadius"_s, u"big"_s, RegSz);
        write(u"HourCircleWidth"_s, u"30"_s, RegSz);
        ClockSettings settings;
        settings.ClockRadius = 100;
        m_store->LoadClockSettings(settings, kBeijing);
        QCOMPARE(QList({settings.ClockRadius, settings.HourCircleWidth}), QList({100, 30}));
        // Enable 2 loads everything but the time standard.
        write(u"Enable"_s, 2);
        write(u"TimeZoneIndex"_s, 81);
        write(u"TimeStandard"_s, 1);
        QCOMPARE(m_store->LoadClockSettings(settings, kBeijing), 2);
        QCOMPARE(QList({settings.TimeZoneIndex, settings.ZoneOffset, settings.TimeStandard}), QList({81, 540, 0}));
        // A tz database zone this system lacks keeps to the fixed index (Tokyo) or UTC and stays stored.
        // (tst_configdialog stores a zone that exists, and a fixed one again, through the dialog.)
        write(u"Enable"_s, 1);
        const std::tuple<QString, int, bool, int> zones[] = {{u"Nowhere/Atlantis"_s, 81, false, 540},
                                                             {u"Nowhere/Atlantis"_s, -1, false, 0}};
        for (const auto& [id, index, valid, offset] : zones) {
            ClockSettings zoned = reload();
            std::tie(zoned.ZoneId, zoned.TimeZoneIndex) = std::pair(id, index);
            QVERIFY(m_store->SaveClockSettings(zoned));
            const ClockSettings back = reload();
            QCOMPARE(std::tuple(back.ZoneId, back.Zone.isValid(), back.ZoneOffset, back.TimeZoneIndex),
                     std::tuple(id, valid, offset, index));
            QCOMPARE(m_registry->ReadRegistryValue(kKey, u"ZoneId"_s).isText(), !id.isEmpty());
        }
        // The first monitor's work area starts at (0, 32): a panel at the top. An existing monitor keeps the
        // position; an unplugged or negative one moves to the first work area; with no monitor at all the
        // clock goes to the origin.
        const QList<MonitorInfo> all{{QRect(0, 0, 1920, 1080), QRect(0, 32, 1920, 1048)},
                                     {QRect(1920, 0, 1280, 1024), QRect(1920, 0, 1280, 1024)}};
        const std::tuple<int, int, QPoint, int> rows[] = {
            {1, 2, {30000, 1500}, 1}, {1, 1, {0, 480}, 0}, {-1, 2, {0, 480}, 0}, {0, 0, {0, 0}, 0}};
        for (const auto& [monitorId, monitorCount, twips, monitorAfter] : rows) {
            ClockSettings placed;
            placed.MonitorID = monitorId;
            placed.Left = 30000;
            placed.Top = 1500;
            ValidateMonitorPosition(placed, all.mid(0, monitorCount), 15, 15);
            QCOMPARE(std::pair(QPoint(placed.Left, placed.Top), placed.MonitorID), std::pair(twips, monitorAfter));
        }
    }

    void clockNamesParsedAndListedDefaultFirst()
    {
        // A missing closing brace ends parsing; names are cleaned; text between names and a closing brace
        // before an opening one are skipped. (A plain list is loaded below.)
        const std::pair<QString, QStringList> rows[] = {{QString(), {}},
                                                        {u"{A}{B"_s, {u"A"_s}},
                                                        {u"{ Office }"_s, {u"Office"_s}},
                                                        {u"junk{A}x{B}"_s, {u"A"_s, u"B"_s}},
                                                        {u"}{A}"_s, {u"A"_s}},
                                                        {u"{北京}{东京}"_s, {u"北京"_s, u"东京"_s}}};
        for (const auto& [text, names] : rows)
            QCOMPARE(ParseClockNames(text), names);
        setClocks(u"{A}{B}"_s);
        m_instances.running = {u"Default"_s, u"B"_s};
        ClockList clocks = list();
        clocks.LoadClockList();
        QCOMPARE(std::pair(clocks.ClockCount(), clocks.RunningClockCount()), std::pair(3, 2));
        QCOMPARE(clocks.entries()[0].Name, u"Default"_s);
        QVERIFY(!clocks.entries()[1].Window && clocks.entries()[2].Window);
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
        // A clock another process added after this list was loaded counts too, in any case.
        setClocks(storedNames() + u"{Paris}"_s);
        QVERIFY(!clocks.AddClock(u"pARIS"_s, 37));
        QCOMPARE(m_messages.shown.last().text, ClockMessages::NameExists());
        QVERIFY(clocks.AddClock(u"Rome"_s, 37, u"Europe/Rome"_s));
        QCOMPARE(std::pair(m_registry->ReadRegistryValue(clockKeyPath(u"Rome"_s), u"TimeZoneIndex"_s),
                           text(clockKeyPath(u"Rome"_s), u"ZoneId"_s)),
                 std::pair(RegistryValue(-1), u"Europe/Rome"_s));
        QCOMPARE(storedNames(), u"{Office}{Tokyo}{Paris}{Rome}"_s);
    }

    void addClockRefuses()
    {
        // The clocks listed, the name to add, the message. Names that differ only in case are one key of the
        // store: deleting one would delete the other. Deleting a clock named "System" would delete the clock
        // list and the program's path. 126 characters are 378 bytes in UTF-8: "<name>.cfg" would not fit a file
        // name.
        const QString office = u"{Office}"_s, longName(126, QChar(0x6F22));
        const RefusalRow rows[] = {
            {office, u"   "_s, ClockMessages::EnterName()},                                    // empty name
            {office, QString::fromUtf16(u"\0Tokyo", 6), ClockMessages::EnterName()},           // NUL first
            {office, u"Default"_s, ClockMessages::NameExists()},                               // the default clock
            {office, u"Office"_s, ClockMessages::NameExists()},                                // a listed clock
            {office, u"default"_s, ClockMessages::NameExists()},                               // in lower case
            {office, u"OFFICE"_s, ClockMessages::NameExists()},                                // in another case
            {office, u"system"_s, ClockMessages::AddFailed() + clockNameProblem(u"System"_s)}, // the clock list's key
            {office, longName, ClockMessages::AddFailed() + clockNameProblem(longName)},       // too long a name
            {office, u"a{b"_s, ClockMessages::BadName()},                                      // opening brace
            {office, u"a}b"_s, ClockMessages::BadName()},                                      // closing brace
            {office, u"../etc"_s, ClockMessages::BadName()},                                   // slash
            {office, u"a\\b"_s, ClockMessages::BadName()},                                     // backslash
            {office, u".."_s, ClockMessages::BadName()},                                       // parent folder
            {office, u"a\nb"_s, ClockMessages::BadName()},                                     // line break
            {clockNames(127, u"C"_s), u"One more"_s, ClockMessages::TooMany()}};               // no room left
        for (const auto& [listed, name, message] : rows) {
            init();
            setClocks(listed);
            ClockList clocks = list();
            clocks.LoadClockList();
            const QByteArray before = m_registry->snapshot().serialize();
            QVERIFY2(!clocks.AddClock(name, 3), qPrintable(name));
            QCOMPARE(m_messages.shown.size(), 1);
            QCOMPARE(m_messages.shown.first().text, message);
            QCOMPARE(m_registry->snapshot().serialize(), before);
            QVERIFY(m_instances.started.isEmpty());
        }
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
        QVERIFY(!m_registry->snapshot().findKey(key) && m_registry->snapshot().findKey(clockKeyPath(u"B"_s)));
        QCOMPARE(m_autorun.entries.keys(), QStringList{u"Kiv Clock - B"_s});
        // A running clock is closed before it is deleted; a clock that does not run is not asked.
        m_instances.running = {u"B"_s};
        clocks.StopAndDeleteClock(u"B"_s);
        clocks.StopAndDeleteClock(u"Gone"_s);
        QCOMPARE(m_instances.closed, QStringList{u"B"_s});
        QCOMPARE(storedNames(), QString());
        // (tst_configdialog sees a delete the store refuses say why and leave the clock listed.)
    }

    void setAutorun()
    {
        // The entry before ("": none), the mode, the result, the entry after.
        const QString own = kProgram + u" Tokyo"_s;
        const QString other = u"/old/place/kivclock Tokyo"_s;
        const AutorunRow rows[] = {
            {QString(), 0, 1, own},           // mode 0 writes a missing entry
            {own, 0, 1, own},                 // mode 0 keeps its own entry
            {other, 0, 1, own},               // mode 0 repairs a stale entry
            {own, 1, 0, QString()},           // mode 1 removes its own entry
            {other, 1, 0, other},             // mode 1 leaves another program's entry
            {other, 2, 0, QString()},         // mode 2 removes any entry
            {own + u"  "_s, 1, 0, QString()}, // mode 1 removes its own entry, trailing spaces too
            {kProgram + u" tokyo"_s, 1, 0, kProgram + u" tokyo"_s}}; // mode 1 leaves a name in another case
        for (const auto& [before, mode, result, after] : rows) {
            init();
            if (!before.isEmpty())
                m_autorun.entries.insert(u"Kiv Clock - Tokyo"_s, before);
            ClockList clocks = list(u"Tokyo"_s);
            // The state (0: this program starts the clock) ignores trailing spaces only, before and after.
            QCOMPARE(clocks.GetAutorunState(), before.trimmed() == kProgram + u" Tokyo"_s ? 0 : 1);
            QCOMPARE(clocks.SetAutorun(mode), result);
            QCOMPARE(m_autorun.read(u"Kiv Clock - Tokyo"_s), after);
            QCOMPARE(clocks.GetAutorunState(), result == 1 ? 0 : 1);
        }
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
