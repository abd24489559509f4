#include "KivTest.h"

#include <QScopeGuard>

// Without a display the clock says in one line which display it could not open, shows that through the
// desktop's notification service, and ends with status 1 rather than an abort.
class TestNoDisplay final : public QObject
{
    Q_OBJECT

private slots:
    void oneLineNamesTheDisplayAndTheClockEnds()
    {
        QTemporaryDir dir;
        QProcess bus, notifications;
        const auto stopAll = qScopeGuard([&] { test::stop(notifications), test::stop(bus); });
        bus.start(u"dbus-daemon"_s, {u"--session"_s, u"--nofork"_s, u"--nopidfile"_s,
                                     u"--address=unix:path="_s + dir.filePath(u"bus"_s), u"--print-address=1"_s});
        QVERIFY(bus.waitForReadyRead(5000));
        const QString address = QString::fromUtf8(bus.readLine()).trimmed();
        notifications.start(QStringLiteral(KIV_FAKE_LOGIN1), {address, u"--notifications"_s});
        QVERIFY(notifications.waitForReadyRead(5000) && notifications.readLine() == "ready\n");
        // A Wayland session without XWayland (DISPLAY empty), and a display where no X server listens: a number
        // far above those X servers take, whose socket does not exist.
        int unused = 700 + int(QCoreApplication::applicationPid() % 200);
        while (QFileInfo::exists(u"/tmp/.X11-unix/X%1"_s.arg(unused)) ||
               QFileInfo::exists(u"/tmp/.X%1-lock"_s.arg(unused)))
            ++unused;
        qputenv("QT_QPA_PLATFORM", "");
        qputenv("XDG_SESSION_TYPE", "wayland");
        qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());
        for (const QString& display : {QString(), u":%1"_s.arg(unused)}) {
            qputenv("DISPLAY", display.toUtf8());
            QProcess clock;
            clock.start(QStringLiteral(KIVCLOCK), {});
            QVERIFY(clock.waitForFinished(20000));
            QCOMPARE(std::pair(clock.exitStatus(), clock.exitCode()), std::pair(QProcess::NormalExit, 1));
            const QStringList lines = QString::fromUtf8(clock.readAllStandardError()).split(u'\n', Qt::SkipEmptyParts);
            QCOMPARE(lines.size(), 1);
            QVERIFY2(lines[0].contains(u"DISPLAY=\""_s + display + u"\"。"_s), qPrintable(lines[0]));
            QVERIFY(notifications.waitForReadyRead(5000));
            const QString notified = QString::fromUtf8(notifications.readLine()).trimmed();
            QVERIFY2(notified.startsWith(u"Notify kivclock "_s) && lines[0].endsWith(notified.section(u" | "_s, 1)),
                     qPrintable(notified));
        }
    }
};

QTEST_GUILESS_MAIN(TestNoDisplay)
#include "tst_nodisplay.moc"
