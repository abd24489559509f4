#include "AlarmRecords.h"
#include "FakePlatform.h"
#include "KivTest.h"
#include "alarms/AlarmDispatch.h"
#include "alarms/AlarmTip.h"
#include "platform/linux/LogindPowerActions.h"
#include "settings/ClockSettings.h"

#include <QDBusConnection>

// The power actions against a stand-in for logind on a private bus: which calls each action makes, and the
// messages of the forced actions when the user may not shut down. On the same bus, the notification the
// clock sends when it finds no display.
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

    void cleanupTestCase() { test::stop(m_bus); }

    void cleanup()
    {
        if (m_fake)
            test::stop(*m_fake);
        m_fake.reset();
        QDBusConnection::disconnectFromBus(u"system"_s);
        QDBusConnection::disconnectFromBus(u"session"_s);
    }

    void startFake(const QStringList& options)
    {
        m_fake = std::make_unique<QProcess>();
        m_fake->start(QStringLiteral(KIV_FAKE_LOGIN1), QStringList{m_address} + options);
        QVERIFY(m_fake->waitForReadyRead(5000));
        QCOMPARE(m_fake->readLine().trimmed(), "ready");
    }

    void suspendCancelsTheCountdown()
    {
        // A shut-down countdown is running when logind announces a suspend, and the wake after it.
        startFake({});
        test::RecordingMessages messages;
        test::RecordingAlarmServices sound;
        LogindPowerActions power(messages, QDBusConnection::connectToBus(m_address, u"system"_s),
                                 QDBusConnection::connectToBus(m_address, u"session"_s));
        AlarmState state;
        QVERIFY(state.table.append(test::alarmAt(0, 0, ActionShutdown)));
        state.CurrentAlarm = 0;
        const ClockSettings settings;
        AlarmTip tip(state, settings, u"Test"_s, {}, sound, power);
        tip.ShowTip();
        QVERIFY(tip.countdownActive());
        m_fake->write("sleep\n");
        QTRY_VERIFY(!tip.countdownActive());
        QCOMPARE(tip.view().labelText, TipTexts::CancelledBySleep());
        while (m_fake->waitForReadyRead(200)) {
        }
        QCOMPARE(QString::fromUtf8(m_fake->readAllStandardOutput()).trimmed(), u"slept"_s);
    }

    void actions()
    {
        // The stand-in's options ("--none": nobody answers), the alarm action's number (1 shut down, 2 restart,
        // 3 lock, 4 forced shut down, 5 forced restart), the calls it made, the message shown. Shutting down lets
        // the user confirm; lock locks this session; the forced actions check the right first, and tell when it is
        // refused, but ask for a password when it takes one; a session manager ends the session before; nobody
        // answering is silent, except to a forced action.
        const QStringList plain, gnome{u"--gnome"_s}, none{u"--none"_s};
        const std::tuple<QStringList, int, QStringList, QString> rows[] = {
            {plain, 1, {u"PowerOff 1"_s}, {}},
            {plain, 2, {u"Reboot 1"_s}, {}},
            {plain, 3, {u"Session.Lock"_s}, {}},
            {plain, 4, {u"CanPowerOff"_s, u"PowerOff 0"_s}, {}},
            {plain, 5, {u"CanReboot"_s, u"Reboot 0"_s}, {}},
            {gnome, 1, {u"GnomeSession.Shutdown"_s}, {}},
            {gnome, 2, {u"GnomeSession.Reboot"_s}, {}},
            {{u"--can"_s, u"no"_s}, 4, {u"CanPowerOff"_s}, u"关闭电脑错误"_s},
            {{u"--can"_s, u"na"_s}, 5, {u"CanReboot"_s}, u"重启电脑错误"_s},
            {{u"--can"_s, u"challenge"_s}, 4, {u"CanPowerOff"_s, u"PowerOff 1"_s}, {}},
            {none, 1, {}, {}},
            {none, 2, {}, {}},
            {none, 3, {}, {}},
            {none, 4, {}, u"关闭电脑错误"_s}};
        const std::array actions{&PowerActions::ShutdownComputer, &PowerActions::RestartComputer,
                                 &PowerActions::LockComputer, &PowerActions::ForceShutdown,
                                 &PowerActions::ForceRestart};
        for (const auto& [fakeOptions, action, calls, message] : rows) {
            cleanup();
            if (fakeOptions != none)
                startFake(fakeOptions);
            test::RecordingMessages messages;
            LogindPowerActions power(messages, QDBusConnection::connectToBus(m_address, u"system"_s),
                                     QDBusConnection::connectToBus(m_address, u"session"_s));
            (power.*actions[action - 1])();
            // The fake prints each call before it answers it: what it printed is read until it falls quiet.
            while (m_fake && m_fake->waitForReadyRead(200)) {
            }
            const QString made = m_fake ? QString::fromUtf8(m_fake->readAllStandardOutput()) : QString();
            QVERIFY2(made.split(u'\n', Qt::SkipEmptyParts) == calls, qPrintable(fakeOptions.join(u' ') + made));
            QCOMPARE(messages.shown.size(), message.isEmpty() ? 0 : 1);
            if (!message.isEmpty())
                QCOMPARE(messages.shown.first().text, message);
        }
    }

    void withoutADisplayTheClockSaysWhichInOneLineAndEnds()
    {
        // Without a display the clock says in one line which display it could not open, shows that through the
        // desktop's notification service, and ends with status 1 rather than an abort.
        startFake({u"--notifications"_s});
        // A Wayland session without XWayland (DISPLAY empty), and a display where no X server listens: a number
        // far above those X servers take, whose socket does not exist.
        int unused = 700 + int(QCoreApplication::applicationPid() % 200);
        while (QFileInfo::exists(u"/tmp/.X11-unix/X%1"_s.arg(unused)) ||
               QFileInfo::exists(u"/tmp/.X%1-lock"_s.arg(unused)))
            ++unused;
        qputenv("QT_QPA_PLATFORM", "");
        qputenv("XDG_SESSION_TYPE", "wayland");
        for (const QString& display : {QString(), u":%1"_s.arg(unused)}) {
            qputenv("DISPLAY", display.toUtf8());
            QProcess clock;
            clock.start(QStringLiteral(KIVCLOCK), {});
            QVERIFY(clock.waitForFinished(20000));
            QCOMPARE(std::pair(clock.exitStatus(), clock.exitCode()), std::pair(QProcess::NormalExit, 1));
            const QStringList lines = QString::fromUtf8(clock.readAllStandardError()).split(u'\n', Qt::SkipEmptyParts);
            QCOMPARE(lines.size(), 1);
            QVERIFY2(lines[0].contains(u"DISPLAY=\""_s + display + u"\"。"_s), qPrintable(lines[0]));
            QVERIFY(m_fake->waitForReadyRead(5000));
            const QString notified = QString::fromUtf8(m_fake->readLine()).trimmed();
            QVERIFY2(notified.startsWith(u"Notify kivclock "_s) && lines[0].endsWith(notified.section(u" | "_s, 1)),
                     qPrintable(notified));
        }
    }
};

QTEST_GUILESS_MAIN(TestPower)
#include "tst_power.moc"
