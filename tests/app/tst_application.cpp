#include "FakeClockServices.h"
#include "alarms/AlarmFile.h"
#include "app/ClockApplication.h"
#include "settings/Registry.h"
#include "settings/RegistryKeys.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace kiv;

// The clock application over fakes of the desktop's services.
class TestApplication final : public QObject
{
    Q_OBJECT

private slots:
    void closeRequestDuringAStartupMessageEndsTheStart();
};

void TestApplication::closeRequestDuringAStartupMessageEndsTheStart()
{
    // An alarm file with more records than a table holds makes start-up show a message; a close request
    // arrives while it is open. The clock must end (not run on deaf to every later request) and write nothing.
    QFile::remove(Registry::defaultFilePath());
    const QString dataFolder = userDataHome() + QStringLiteral("/KivSoft/Kiv Clock/");
    QVERIFY(QDir().mkpath(dataFolder));
    QFile alarms(dataFolder + QStringLiteral("Default.cfg"));
    QVERIFY(alarms.open(QIODevice::WriteOnly));
    alarms.write(QByteArray(qsizetype(MaxAlarms + 1) * AlarmRecordSize, ' '));
    alarms.close();
    test::FakeClockServices fakes;
    fakes.autorun.entries.insert(QStringLiteral("Kiv Clock - Default"), QStringLiteral("/usr/bin/kivclock Default"));
    fakes.messages.whileShown = [&fakes] { fakes.instances.requestClose(); };
    ClockApplication app(QStringLiteral("Default"), fakes.services());
    QVERIFY(!app.start());
    QCOMPARE(app.exitCode(), 0);
    QCOMPARE(fakes.messages.shown.size(), 1);
    QVERIFY(!app.window());
    QVERIFY(!Registry(Registry::defaultFilePath()).snapshot().findKey(clockKeyPath(QStringLiteral("Default"))));
    QCOMPARE(fakes.autorun.entries.size(), 1); // the clock's autostart entry is left as it was
}

QTEST_MAIN(TestApplication)
#include "tst_application.moc"
