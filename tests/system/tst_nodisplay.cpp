#include "KivTest.h"

#include <QDir>

// Without a display the clock says in one line which display it could not open, shows that through the
// desktop's notification service, and ends with status 1 rather than an abort.
class TestNoDisplay final : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QProcess m_bus, m_notifications;

private slots:
    void initTestCase()
    {
        m_bus.start(u"dbus-daemon"_s, {u"--session"_s, u"--nofork"_s, u"--nopidfile"_s,
                                       u"--address=unix:path="_s + m_dir.filePath(u"bus"_s), u"--print-address=1"_s});
        QVERIFY(m_bus.waitForStarted(5000) && m_bus.waitForReadyRead(5000));
        const QString address = QString::fromUtf8(m_bus.readLine()).trimmed();
        m_notifications.start(QStringLiteral(KIV_FAKE_LOGIN1), {address, u"--notifications"_s});
        QVERIFY(m_notifications.waitForReadyRead(5000));
        QCOMPARE(m_notifications.readLine().trimmed(), "ready");
        qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());
    }

    void cleanupTestCase()
    {
        test::stop(m_notifications);
        test::stop(m_bus);
    }

    void oneLineNamesTheDisplayAndTheClockEnds()
    {
        // No DISPLAY at all (a Wayland session without XWayland), and a display where no X server listens:
        // a number far above those X servers take whose socket does not exist.
        int unused = 700 + int(QCoreApplication::applicationPid() % 200);
        while (QFileInfo::exists(u"/tmp/.X11-unix/X%1"_s.arg(unused)) ||
               QFileInfo::exists(u"/tmp/.X%1-lock"_s.arg(unused)))
            ++unused;
        for (const QString& display : {QString(), u":%1"_s.arg(unused)}) {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            for (const QString& name : {u"QT_QPA_PLATFORM"_s, u"WAYLAND_DISPLAY"_s, u"DISPLAY"_s})
                env.remove(name);
            env.insert(u"XDG_SESSION_TYPE"_s, u"wayland"_s);
            if (!display.isEmpty())
                env.insert(u"DISPLAY"_s, display);
            QProcess clock;
            clock.setProcessEnvironment(env);
            clock.start(QStringLiteral(KIVCLOCK), {});
            QVERIFY(clock.waitForFinished(20000));
            QCOMPARE(std::pair(clock.exitStatus(), clock.exitCode()), std::pair(QProcess::NormalExit, 1));
            const QStringList lines = QString::fromUtf8(clock.readAllStandardError()).split(u'\n', Qt::SkipEmptyParts);
            QCOMPARE(lines.size(), 1);
            QVERIFY2(lines[0].contains(u"DISPLAY=\""_s + display + u'"') && lines[0].contains(u"QT_QPA_PLATFORM"_s),
                     qPrintable(lines[0]));
            QVERIFY(m_notifications.waitForReadyRead(5000));
            const QString notified = QString::fromUtf8(m_notifications.readLine()).trimmed();
            QVERIFY2(notified.startsWith(u"Notify kivclock "_s) && lines[0].endsWith(notified.section(u" | "_s, 1)),
                     qPrintable(notified));
        }
    }
};

QTEST_GUILESS_MAIN(TestNoDisplay)
#include "tst_nodisplay.moc"
