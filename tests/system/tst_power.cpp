#include "FakePlatform.h"
#include "platform/linux/LogindPowerActions.h"

#include <QDBusConnection>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace kiv;

// The power actions against a stand-in for logind on a private bus: which call each action makes, and the
// messages of the forced actions when the user may not shut down.
class TestPower final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
    void actionsCallLogind_data();
    void actionsCallLogind();
    void sessionManagerEndsTheSessionFirst();
    void forcedActionsReportAMissingRight_data();
    void forcedActionsReportAMissingRight();
    void nobodyAnsweringIsSilentExceptForForcedActions();

private:
    QStringList run(const QStringList& fakeOptions, const std::function<void(PowerActions&)>& action,
                    test::RecordingMessages& messages);

    QTemporaryDir m_dir;
    QProcess m_bus;
    QString m_address;
    std::unique_ptr<QProcess> m_fake;
};

void TestPower::initTestCase()
{
    m_bus.start(QStringLiteral("dbus-daemon"),
                {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                 QStringLiteral("--address=unix:path=") + m_dir.filePath(QStringLiteral("bus")),
                 QStringLiteral("--print-address=1")});
    QVERIFY(m_bus.waitForStarted(5000));
    QVERIFY(m_bus.waitForReadyRead(5000));
    m_address = QString::fromUtf8(m_bus.readLine()).trimmed();
    QVERIFY(!m_address.isEmpty());
    // Whatever the code under test reaches through the default buses lands on the private one too.
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", m_address.toUtf8());
    qputenv("DBUS_SESSION_BUS_ADDRESS", m_address.toUtf8());
}

void TestPower::cleanupTestCase()
{
    m_bus.kill();
    m_bus.waitForFinished(5000);
}

void TestPower::cleanup()
{
    if (m_fake) {
        m_fake->kill();
        m_fake->waitForFinished(5000);
        m_fake.reset();
    }
    QDBusConnection::disconnectFromBus(QStringLiteral("system"));
    QDBusConnection::disconnectFromBus(QStringLiteral("session"));
}

QStringList TestPower::run(const QStringList& fakeOptions, const std::function<void(PowerActions&)>& action,
                           test::RecordingMessages& messages)
{
    if (!fakeOptions.contains(QStringLiteral("--none"))) {
        m_fake = std::make_unique<QProcess>();
        m_fake->start(QStringLiteral(KIV_FAKE_LOGIN1), QStringList{m_address} + fakeOptions);
        if (!m_fake->waitForReadyRead(5000) || m_fake->readLine().trimmed() != "ready")
            return {QStringLiteral("fake did not start")};
    }
    LogindPowerActions power(messages, QDBusConnection::connectToBus(m_address, QStringLiteral("system")),
                             QDBusConnection::connectToBus(m_address, QStringLiteral("session")));
    action(power);
    QStringList calls;
    if (m_fake) {
        QTest::qWait(200);
        for (const QByteArray& line : m_fake->readAllStandardOutput().split('\n')) {
            if (!line.isEmpty())
                calls.append(QString::fromUtf8(line));
        }
    }
    return calls;
}

void TestPower::actionsCallLogind_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("shut down lets the user confirm") << 1 << QStringList{QStringLiteral("PowerOff 1")};
    QTest::newRow("restart") << 2 << QStringList{QStringLiteral("Reboot 1")};
    QTest::newRow("lock locks this session") << 3 << QStringList{QStringLiteral("Session.Lock")};
    QTest::newRow("forced shut down checks the right first")
        << 4 << QStringList{QStringLiteral("CanPowerOff"), QStringLiteral("PowerOff 0")};
    QTest::newRow("forced restart checks the right first")
        << 5 << QStringList{QStringLiteral("CanReboot"), QStringLiteral("Reboot 0")};
}

void TestPower::actionsCallLogind()
{
    QFETCH(int, action);
    QFETCH(QStringList, calls);
    test::RecordingMessages messages;
    const auto act = [action](PowerActions& power) {
        switch (action) {
        case 1:
            power.ShutdownComputer();
            break;
        case 2:
            power.RestartComputer();
            break;
        case 3:
            power.LockComputer();
            break;
        case 4:
            power.ForceShutdown();
            break;
        case 5:
            power.ForceRestart();
            break;
        }
    };
    QCOMPARE(run({}, act, messages), calls);
    QVERIFY(messages.shown.isEmpty());
}

void TestPower::sessionManagerEndsTheSessionFirst()
{
    test::RecordingMessages messages;
    QCOMPARE(run(
                 {QStringLiteral("--gnome")}, [](PowerActions& p) { p.ShutdownComputer(); }, messages),
             QStringList{QStringLiteral("GnomeSession.Shutdown")});
    cleanup();
    QCOMPARE(run(
                 {QStringLiteral("--gnome")}, [](PowerActions& p) { p.RestartComputer(); }, messages),
             QStringList{QStringLiteral("GnomeSession.Reboot")});
}

void TestPower::forcedActionsReportAMissingRight_data()
{
    QTest::addColumn<bool>("restart");
    QTest::addColumn<QString>("can");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QString>("message");
    QTest::newRow("shut down refused") << false << QStringLiteral("no") << QStringList{QStringLiteral("CanPowerOff")}
                                       << QStringLiteral("关闭电脑错误");
    QTest::newRow("restart refused") << true << QStringLiteral("na") << QStringList{QStringLiteral("CanReboot")}
                                     << QStringLiteral("重启电脑错误");
    QTest::newRow("shut down after asking for a password")
        << false << QStringLiteral("challenge")
        << QStringList{QStringLiteral("CanPowerOff"), QStringLiteral("PowerOff 1")} << QString();
}

void TestPower::forcedActionsReportAMissingRight()
{
    QFETCH(bool, restart);
    QFETCH(QString, can);
    QFETCH(QStringList, calls);
    QFETCH(QString, message);
    test::RecordingMessages messages;
    const auto act = [restart](PowerActions& power) { restart ? power.ForceRestart() : power.ForceShutdown(); };
    QCOMPARE(run({QStringLiteral("--can"), can}, act, messages), calls);
    if (message.isEmpty()) {
        QVERIFY(messages.shown.isEmpty());
        return;
    }
    QCOMPARE(messages.shown.size(), 1);
    QCOMPARE(messages.shown.first().text, message);
    QCOMPARE(messages.shown.first().title, QStringLiteral("Kiv Clock"));
    QCOMPARE(messages.shown.first().icon, MessageIcon::Exclamation);
}

void TestPower::nobodyAnsweringIsSilentExceptForForcedActions()
{
    test::RecordingMessages messages;
    run(
        {QStringLiteral("--none")},
        [](PowerActions& p) {
            p.ShutdownComputer();
            p.RestartComputer();
            p.LockComputer();
        },
        messages);
    QVERIFY(messages.shown.isEmpty());
    run(
        {QStringLiteral("--none")}, [](PowerActions& p) { p.ForceShutdown(); }, messages);
    QCOMPARE(messages.shown.size(), 1);
    QCOMPARE(messages.shown.first().text, QStringLiteral("关闭电脑错误"));
}

QTEST_GUILESS_MAIN(TestPower)
#include "tst_power.moc"
