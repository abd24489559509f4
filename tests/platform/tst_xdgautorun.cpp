#include "FakePlatform.h"
#include "platform/linux/XdgAutorunEntries.h"
#include "settings/ClockList.h"
#include "settings/Registry.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kiv;

class TestXdgAutorun final : public QObject
{
    Q_OBJECT

private slots:
    void execLineRoundTrips_data();
    void execLineRoundTrips();
    void execLineQuotesEachArgument();
    void writeReadRemove();
    void entryFileIsAValidDesktopEntry();
    void clockAutorunThroughDesktopEntries();
};

void TestXdgAutorun::execLineRoundTrips_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << QStringLiteral("/usr/bin/kivclock") << QStringLiteral("Default");
    QTest::newRow("spaces in the path and the name")
        << QStringLiteral("/opt/Kiv Clock/kivclock") << QStringLiteral("New York");
    QTest::newRow("two spaces in the name stay two") << QStringLiteral("/usr/bin/kivclock") << QStringLiteral("A  B");
    QTest::newRow("shell characters") << QStringLiteral("/home/u/$HOME/`x`/kivclock") << QStringLiteral("\"Q\" $1");
    QTest::newRow("percent is no field code") << QStringLiteral("/usr/bin/kivclock") << QStringLiteral("100% %f");
    QTest::newRow("backslashes") << QStringLiteral("/odd\\dir/kivclock") << QStringLiteral("a\\b");
    QTest::newRow("Chinese name") << QStringLiteral("/usr/bin/kivclock") << QStringLiteral("北京 时间");
}

void TestXdgAutorun::execLineRoundTrips()
{
    QFETCH(QString, program);
    QFETCH(QString, name);
    QCOMPARE(commandOfExecLine(desktopExecLine(program, name)), program + u' ' + name);
}

void TestXdgAutorun::execLineQuotesEachArgument()
{
    QCOMPARE(desktopExecLine(QStringLiteral("/opt/Kiv Clock/kivclock"), QStringLiteral("A \"B\" 5%")),
             QStringLiteral("\"/opt/Kiv Clock/kivclock\" \"A \\\\\"B\\\\\" 5%%\""));
    QCOMPARE(commandOfExecLine(QStringLiteral("/usr/bin/kivclock   Tokyo")), QStringLiteral("/usr/bin/kivclock Tokyo"));
}

void TestXdgAutorun::writeReadRemove()
{
    QTemporaryDir dir;
    const QString program = QStringLiteral("/opt/Kiv Clock/kivclock");
    XdgAutorunEntries entries(dir.filePath(QStringLiteral("autostart")), program);
    const QString value = QStringLiteral("Kiv Clock - Tokyo");
    QCOMPARE(entries.read(value), QString());
    QVERIFY(entries.write(value, program + QStringLiteral(" Tokyo")));
    QCOMPARE(entries.read(value), program + QStringLiteral(" Tokyo"));
    QVERIFY(entries.entryPath(value).endsWith(QStringLiteral(".desktop")));
    QVERIFY(QFileInfo(entries.entryPath(value)).fileName().startsWith(QStringLiteral("kivclock-")));
    // One entry per clock, whatever the case of its name.
    QCOMPARE(entries.entryPath(QStringLiteral("Kiv Clock - tokyo")), entries.entryPath(value));
    QVERIFY(entries.remove(value));
    QVERIFY(!QFile::exists(entries.entryPath(value)));
    QVERIFY(entries.remove(value));
    // A command of another program is stored as it is.
    QVERIFY(entries.write(value, QStringLiteral("/elsewhere/kivclock Tokyo")));
    QCOMPARE(entries.read(value), QStringLiteral("/elsewhere/kivclock Tokyo"));
}

void TestXdgAutorun::entryFileIsAValidDesktopEntry()
{
    QTemporaryDir dir;
    XdgAutorunEntries entries(dir.path(), QStringLiteral("/usr/bin/kivclock"));
    QVERIFY(entries.write(QStringLiteral("Kiv Clock - Office"), QStringLiteral("/usr/bin/kivclock Office")));
    QFile file(entries.entryPath(QStringLiteral("Kiv Clock - Office")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.first(), QStringLiteral("[Desktop Entry]"));
    QVERIFY(lines.contains(QStringLiteral("Type=Application")));
    QVERIFY(lines.contains(QStringLiteral("Name=Kiv Clock - Office")));
    QVERIFY(lines.contains(QStringLiteral("Exec=\"/usr/bin/kivclock\" \"Office\"")));
}

void TestXdgAutorun::clockAutorunThroughDesktopEntries()
{
    QTemporaryDir dir;
    const QString program = QStringLiteral("/opt/Kiv Clock/kivclock");
    Registry registry(dir.filePath(QStringLiteral("registry.reg")));
    XdgAutorunEntries entries(dir.filePath(QStringLiteral("autostart")), program);
    test::FakeInstances instances;
    test::RecordingMessages messages;
    ClockList list({registry, instances, instances, entries, messages}, QStringLiteral("New York"), program);
    QCOMPARE(list.GetAutorunState(), 1);
    QCOMPARE(list.SetAutorun(0), 1);
    QCOMPARE(list.GetAutorunState(), 0);
    QCOMPARE(list.SetAutorun(1), 0);
    QCOMPARE(list.GetAutorunState(), 1);
    QCOMPARE(list.SetAutorun(0), 1);
    list.DeleteClock(QStringLiteral("New York"));
    QCOMPARE(list.GetAutorunState(), 1);
}

QTEST_GUILESS_MAIN(TestXdgAutorun)
#include "tst_xdgautorun.moc"
