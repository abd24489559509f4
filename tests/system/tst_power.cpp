#include "FakePlatform.h"
#include "KivTest.h"
#include "platform/linux/LogindPowerActions.h"

#include <QDBusConnection>

namespace {
// The power actions by the numbers of the alarm actions.
constexpr void (PowerActions::*kActions[])() = {nullptr,
                                                &PowerActions::ShutdownComputer,
                                                &PowerActions::RestartComputer,
                                                &PowerActions::LockComputer,
                                                &PowerActions::ForceShutdown,
                                                &PowerActions::ForceRestart};
struct PowerRow
{
    QStringList fakeOptions;
    int action;
    QStringList calls;
    QString message;
};

} // namespace

// The power actions against a stand-in for logind on a private bus: which calls each action makes, and the
// messages of the forced actions when the user may not shut down.
class TestPower final : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QProcess m_bus;
    QString m_address;
    std::unique_ptr<QProcess> m_fake;

private slots:
    void initTestCase()
    {
        m_bus.start(u"dbus-daemon"_s, {u"--session"_s, u"--nofork"_s, u"--nopidfile"_s,
                                       u"--address=unix:path="_s + m_dir.filePath(u"bus"_s), u"--print-address=1"_s});
        QVERIFY(m_bus.waitForStarted(5000) && m_bus.waitForReadyRead(5000));
        m_address = QString::fromUtf8(m_bus.readLine()).trimmed();
        QVERIFY(!m_address.isEmpty());
        // Whatever the code under test reaches through the default buses lands on the private one too.
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", m_address.toUtf8());
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_address.toUtf8());
    }

    void cleanupTestCase()
    {
        m_bus.kill();
        m_bus.waitForFinished(5000);
    }

    void cleanup()
    {
        if (m_fake)
            test::stop(*m_fake);
        m_fake.reset();
        QDBusConnection::disconnectFromBus(u"system"_s);
        QDBusConnection::disconnectFromBus(u"session"_s);
    }

    void actions_data()
    {
        // The stand-in's options ("--none": nobody answers), the action, the calls it made, the message shown.
        QTest::addColumn<PowerRow>("row");
        const QStringList plain, gnome{u"--gnome"_s}, none{u"--none"_s};
        QTest::newRow("shut down lets the user confirm") << PowerRow{plain, 1, {u"PowerOff 1"_s}};
        QTest::newRow("restart") << PowerRow{plain, 2, {u"Reboot 1"_s}};
        QTest::newRow("lock locks this session") << PowerRow{plain, 3, {u"Session.Lock"_s}};
        QTest::newRow("forced shut down checks the right first")
            << PowerRow{plain, 4, {u"CanPowerOff"_s, u"PowerOff 0"_s}};
        QTest::newRow("forced restart checks the right first") << PowerRow{plain, 5, {u"CanReboot"_s, u"Reboot 0"_s}};
        QTest::newRow("a session manager ends the session before shutting down")
            << PowerRow{gnome, 1, {u"GnomeSession.Shutdown"_s}};
        QTest::newRow("a session manager ends the session before restarting")
            << PowerRow{gnome, 2, {u"GnomeSession.Reboot"_s}};
        QTest::newRow("forced shut down refused")
            << PowerRow{{u"--can"_s, u"no"_s}, 4, {u"CanPowerOff"_s}, u"关闭电脑错误"_s};
        QTest::newRow("forced restart refused")
            << PowerRow{{u"--can"_s, u"na"_s}, 5, {u"CanReboot"_s}, u"重启电脑错误"_s};
        QTest::newRow("forced shut down after asking for a password")
            << PowerRow{{u"--can"_s, u"challenge"_s}, 4, {u"CanPowerOff"_s, u"PowerOff 1"_s}};
        QTest::newRow("nobody answering a shut down is silent") << PowerRow{none, 1};
        QTest::newRow("nobody answering a restart is silent") << PowerRow{none, 2};
        QTest::newRow("nobody answering a lock is silent") << PowerRow{none, 3};
        QTest::newRow("nobody answering a forced shut down is reported")
            << PowerRow{none, 4, QStringList(), u"关闭电脑错误"_s};
    }

    void actions()
    {
        QFETCH(PowerRow, row);
        const auto& [fakeOptions, action, calls, message] = row;
        if (fakeOptions != QStringList{u"--none"_s}) {
            m_fake = std::make_unique<QProcess>();
            m_fake->start(QStringLiteral(KIV_FAKE_LOGIN1), QStringList{m_address} + fakeOptions);
            QVERIFY(m_fake->waitForReadyRead(5000));
            QCOMPARE(m_fake->readLine().trimmed(), "ready");
        }
        test::RecordingMessages messages;
        LogindPowerActions power(messages, QDBusConnection::connectToBus(m_address, u"system"_s),
                                 QDBusConnection::connectToBus(m_address, u"session"_s));
        (power.*kActions[action])();
        // The fake prints each call before it answers it: what it printed is read until it falls quiet.
        while (m_fake && m_fake->waitForReadyRead(200)) {
        }
        const QString made = m_fake ? QString::fromUtf8(m_fake->readAllStandardOutput()) : QString();
        QCOMPARE(made.split(u'\n', Qt::SkipEmptyParts), calls);
        QCOMPARE(messages.shown.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QCOMPARE(messages.shown.first().text, message);
    }
};

QTEST_GUILESS_MAIN(TestPower)
#include "tst_power.moc"
