#include "FakePlatform.h"
#include "core/TextUtils.h"
#include "settings/ClockList.h"
#include "settings/Registry.h"
#include "settings/RegistryKeys.h"

#include <QTemporaryDir>
#include <QTest>

using namespace kiv;
using namespace kiv::test;

namespace {
const QString kProgram = QStringLiteral("/opt/Kiv Clock/bin/kivclock");
}

class TestClockList final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void parseClockNames_data();
    void parseClockNames();
    void loadListsDefaultFirstAndFindsRunningClocks();
    void loadKeepsAtMost127NamedClocks();
    void addClockRecordsAndStartsIt();
    void addClockRefuses_data();
    void addClockRefuses();
    void addClockRefusesAName127ClocksDoNotLeaveRoomFor();
    void addClockSeesClocksAddedByAnotherProcess();
    void deleteClockRemovesEveryTrace();
    void stopAndDeleteClosesARunningClockFirst();
    void deleteWithEmptyNameTouchesNothing();
    void setAutorun_data();
    void setAutorun();
    void getAutorunStateComparesExactly();
    void writeAppInfo();

private:
    QString clocks() const
    {
        return CleanString(m_registry->ReadRegistryValue(SystemKey, QStringLiteral("Clocks")).toString());
    }
    void setClocks(const QString& text)
    {
        m_registry->WriteRegistryValue(SystemKey, QStringLiteral("Clocks"), text, RegSz);
    }
    ClockList makeList(const QString& current = QStringLiteral("Default"))
    {
        return ClockList({*m_registry, m_instances, m_instances, m_autorun, m_messages}, current, kProgram);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Registry> m_registry;
    FakeInstances m_instances;
    MemoryAutorun m_autorun;
    RecordingMessages m_messages;
};

void TestClockList::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_registry = std::make_unique<Registry>(m_dir->filePath(QStringLiteral("registry.reg")));
    m_instances = {};
    m_autorun = {};
    m_messages = {};
}

void TestClockList::parseClockNames_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("empty") << QString() << QStringList();
    QTest::newRow("two clocks") << QStringLiteral("{A}{B}") << QStringList{QStringLiteral("A"), QStringLiteral("B")};
    QTest::newRow("missing closing brace ends parsing") << QStringLiteral("{A}{B") << QStringList{QStringLiteral("A")};
    QTest::newRow("names are cleaned") << QStringLiteral("{ Office }") << QStringList{QStringLiteral("Office")};
    QTest::newRow("text between lists is skipped")
        << QStringLiteral("junk{A}x{B}") << QStringList{QStringLiteral("A"), QStringLiteral("B")};
    QTest::newRow("closing brace before opening yields no name")
        << QStringLiteral("}{A}") << QStringList{QStringLiteral("A")};
    QTest::newRow("Chinese names") << QStringLiteral("{北京}{东京}")
                                   << QStringList{QStringLiteral("北京"), QStringLiteral("东京")};
}

void TestClockList::parseClockNames()
{
    QFETCH(QString, text);
    QFETCH(QStringList, names);
    QCOMPARE(ParseClockNames(text), names);
}

void TestClockList::loadListsDefaultFirstAndFindsRunningClocks()
{
    setClocks(QStringLiteral("{A}{B}"));
    m_instances.running = {QStringLiteral("Default"), QStringLiteral("B")};
    ClockList list = makeList();
    list.LoadClockList();
    QCOMPARE(list.ClockCount(), 3);
    QCOMPARE(list.RunningClockCount(), 2);
    QCOMPARE(list.entries()[0].Name, QStringLiteral("Default"));
    QCOMPARE(list.entries()[1].Name, QStringLiteral("A"));
    QVERIFY(!list.entries()[1].Window);
    QVERIFY(list.entries()[2].Window);
    // Every running clock found on the way is brought to the front.
    QCOMPARE(m_instances.raised, QStringList({QStringLiteral("Default"), QStringLiteral("B")}));
}

void TestClockList::loadKeepsAtMost127NamedClocks()
{
    QString text;
    for (int i = 0; i < 130; ++i)
        text += QStringLiteral("{Clock %1}").arg(i);
    setClocks(text);
    ClockList list = makeList();
    list.LoadClockList();
    QCOMPARE(list.ClockCount(), 128);
    QCOMPARE(list.entries().last().Name, QStringLiteral("Clock 126"));
}

void TestClockList::addClockRecordsAndStartsIt()
{
    setClocks(QStringLiteral("{Office}"));
    ClockList list = makeList();
    list.LoadClockList();
    QVERIFY(list.AddClock(QStringLiteral("  Tokyo  "), 81));
    QCOMPARE(clocks(), QStringLiteral("{Office}{Tokyo}"));
    const QString key = clockKeyPath(QStringLiteral("Tokyo"));
    QCOMPARE(m_registry->ReadRegistryValue(key, QStringLiteral("Enable")), RegistryValue(1));
    QCOMPARE(m_registry->ReadRegistryValue(key, QStringLiteral("TimeZoneIndex")), RegistryValue(81));
    QCOMPARE(m_registry->ReadRegistryValue(key, QStringLiteral("ClockTheme")), RegistryValue(1));
    QCOMPARE(m_instances.started, QStringList{QStringLiteral("Tokyo")});
    QVERIFY(m_messages.shown.isEmpty());
}

void TestClockList::addClockRefuses_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty name") << QStringLiteral("   ") << ClockMessages::EnterName;
    QTest::newRow("NUL first") << QString::fromUtf16(u"\0Tokyo", 6) << ClockMessages::EnterName;
    QTest::newRow("the default clock") << QStringLiteral("Default") << ClockMessages::NameExists;
    QTest::newRow("a listed clock") << QStringLiteral("Office") << ClockMessages::NameExists;
    QTest::newRow("the default clock in lower case") << QStringLiteral("default") << ClockMessages::NameExists;
    QTest::newRow("a listed clock in another case") << QStringLiteral("OFFICE") << ClockMessages::NameExists;
    QTest::newRow("the key of the clock list") << QStringLiteral("system") << ClockMessages::AddFailed + clockNameProblem(QStringLiteral("System"));
    QTest::newRow("a name too long for its alarm file") << QString(126, QChar(0x6F22)) << ClockMessages::AddFailed + clockNameProblem(QString(126, QChar(0x6F22)));
    QTest::newRow("opening brace") << QStringLiteral("a{b") << ClockMessages::BadName;
    QTest::newRow("closing brace") << QStringLiteral("a}b") << ClockMessages::BadName;
    QTest::newRow("slash") << QStringLiteral("../etc") << ClockMessages::BadName;
    QTest::newRow("backslash") << QStringLiteral("a\\b") << ClockMessages::BadName;
    QTest::newRow("parent folder") << QStringLiteral("..") << ClockMessages::BadName;
    QTest::newRow("line break") << QStringLiteral("a\nb") << ClockMessages::BadName;
}

void TestClockList::addClockRefuses()
{
    QFETCH(QString, name);
    QFETCH(QString, message);
    setClocks(QStringLiteral("{Office}"));
    ClockList list = makeList();
    list.LoadClockList();
    const QByteArray before = m_registry->snapshot().serialize();
    QVERIFY(!list.AddClock(name, 3));
    QCOMPARE(m_messages.shown.size(), 1);
    QCOMPARE(m_messages.shown.first().text, message);
    QCOMPARE(m_messages.shown.first().title, QStringLiteral("Kiv Clock 错误"));
    QCOMPARE(m_messages.shown.first().icon, MessageIcon::Exclamation);
    QCOMPARE(m_registry->snapshot().serialize(), before);
    QVERIFY(m_instances.started.isEmpty());
}

void TestClockList::addClockRefusesAName127ClocksDoNotLeaveRoomFor()
{
    QString text;
    for (int i = 0; i < 127; ++i)
        text += QStringLiteral("{C%1}").arg(i);
    setClocks(text);
    ClockList list = makeList();
    list.LoadClockList();
    QVERIFY(!list.AddClock(QStringLiteral("One more"), 0));
    QCOMPARE(m_messages.shown.first().text, ClockMessages::TooMany);
    QCOMPARE(clocks(), text);
}

void TestClockList::addClockSeesClocksAddedByAnotherProcess()
{
    ClockList list = makeList();
    list.LoadClockList();
    setClocks(QStringLiteral("{Paris}")); // another process adds Paris after this list was loaded
    QVERIFY(list.AddClock(QStringLiteral("Rome"), 37));
    QCOMPARE(clocks(), QStringLiteral("{Paris}{Rome}"));
    QVERIFY(!list.AddClock(QStringLiteral("Paris"), 37));
    QCOMPARE(m_messages.shown.last().text, ClockMessages::NameExists);
}

void TestClockList::deleteClockRemovesEveryTrace()
{
    setClocks(QStringLiteral("{A}{B}{A}"));
    const QString key = clockKeyPath(QStringLiteral("A"));
    m_registry->WriteRegistryValue(key, QStringLiteral("ClockTheme"), QStringLiteral("2"), RegDword);
    m_registry->WriteRegistryValue(key, QStringLiteral("Extra"), QStringLiteral("x"), RegSz);
    m_registry->WriteRegistryValue(clockKeyPath(QStringLiteral("B")), QStringLiteral("Enable"), QStringLiteral("1"),
                                   RegDword);
    m_autorun.entries.insert(QStringLiteral("Kiv Clock - A"), kProgram + QStringLiteral(" A"));
    m_autorun.entries.insert(QStringLiteral("Kiv Clock - B"), kProgram + QStringLiteral(" B"));
    ClockList list = makeList();
    list.DeleteClock(QStringLiteral(" A "));
    QCOMPARE(clocks(), QStringLiteral("{B}"));
    QVERIFY(!m_registry->snapshot().findKey(key));
    QVERIFY(m_registry->snapshot().findKey(clockKeyPath(QStringLiteral("B"))));
    QVERIFY(!m_autorun.entries.contains(QStringLiteral("Kiv Clock - A")));
    QVERIFY(m_autorun.entries.contains(QStringLiteral("Kiv Clock - B")));
    list.DeleteClock(QStringLiteral("B"));
    QCOMPARE(clocks(), QString());
}

void TestClockList::stopAndDeleteClosesARunningClockFirst()
{
    setClocks(QStringLiteral("{A}"));
    m_instances.running = {QStringLiteral("A")};
    ClockList list = makeList();
    list.StopAndDeleteClock(QStringLiteral("A"));
    QCOMPARE(m_instances.closed, QStringList{QStringLiteral("A")});
    QCOMPARE(clocks(), QString());
    list.StopAndDeleteClock(QStringLiteral("Gone"));
    QCOMPARE(m_instances.closed.size(), 1);
}

void TestClockList::deleteWithEmptyNameTouchesNothing()
{
    setClocks(QStringLiteral("{A}"));
    m_registry->WriteRegistryValue(SoftwareKey, QStringLiteral("Enable"), QStringLiteral("1"), RegDword);
    const QByteArray before = m_registry->snapshot().serialize();
    makeList().DeleteClock(QStringLiteral("  "));
    QCOMPARE(m_registry->snapshot().serialize(), before);
}

void TestClockList::setAutorun_data()
{
    QTest::addColumn<QString>("before"); // "" = no entry
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("after");
    const QString own = kProgram + QStringLiteral(" Tokyo");
    const QString other = QStringLiteral("/old/place/kivclock Tokyo");
    QTest::newRow("mode 0 writes a missing entry") << QString() << 0 << 1 << own;
    QTest::newRow("mode 0 keeps its own entry") << own << 0 << 1 << own;
    QTest::newRow("mode 0 repairs a stale entry") << other << 0 << 1 << own;
    QTest::newRow("mode 1 removes its own entry") << own << 1 << 0 << QString();
    QTest::newRow("mode 1 leaves another program's entry") << other << 1 << 0 << other;
    QTest::newRow("mode 2 removes any entry") << other << 2 << 0 << QString();
}

void TestClockList::setAutorun()
{
    QFETCH(QString, before);
    QFETCH(int, mode);
    QFETCH(int, result);
    QFETCH(QString, after);
    if (!before.isEmpty())
        m_autorun.entries.insert(QStringLiteral("Kiv Clock - Tokyo"), before);
    ClockList list = makeList(QStringLiteral("Tokyo"));
    QCOMPARE(list.SetAutorun(mode), result);
    QCOMPARE(m_autorun.read(QStringLiteral("Kiv Clock - Tokyo")), after);
}

void TestClockList::getAutorunStateComparesExactly()
{
    ClockList list = makeList(QStringLiteral("Tokyo"));
    QCOMPARE(list.AutorunCommand(), kProgram + QStringLiteral(" Tokyo"));
    QCOMPARE(list.GetAutorunState(), 1);
    m_autorun.entries.insert(QStringLiteral("Kiv Clock - Tokyo"), kProgram + QStringLiteral(" Tokyo  "));
    QCOMPARE(list.GetAutorunState(), 0);
    m_autorun.entries.insert(QStringLiteral("Kiv Clock - Tokyo"), kProgram + QStringLiteral(" tokyo"));
    QCOMPARE(list.GetAutorunState(), 1);
}

void TestClockList::writeAppInfo()
{
    ClockList list = makeList();
    QCOMPARE(list.WriteAppInfo(1, 0, 61), 1);
    const QString key = QStringLiteral("HKEY_CURRENT_USER\\SOFTWARE\\Kiv Clock\\System");
    QCOMPARE(CleanString(m_registry->ReadRegistryValue(key, QStringLiteral("APP_PATH")).toString()), kProgram);
    QCOMPARE(CleanString(m_registry->ReadRegistryValue(key, QStringLiteral("APP_BUILD")).toString()),
             QStringLiteral("61"));
    QCOMPARE(CleanString(m_registry->ReadRegistryValue(key, QStringLiteral("APP_VER")).toString()),
             QStringLiteral("1.0.61"));
}

QTEST_GUILESS_MAIN(TestClockList)
#include "tst_clocklist.moc"
