#include "AlarmRecords.h"
#include "DesktopClock.h"
#include "KivTest.h"
#include "alarms/AlarmFile.h"
#include "platform/linux/DetachedClockLauncher.h"
#include "platform/linux/InstanceChannel.h"
#include "settings/Registry.h"
#include "settings/RegistryKeys.h"

#include <QElapsedTimer>
#include <QMap>
#include <QMouseEvent>
#include <QScreen>
#include <QWidget>

using test::xdotool;

namespace {

constexpr QRgb kDeskColour = 0xFFFF00FF;

// A window that fills the screen below everything else and counts the clicks that reach it.
class Desk final : public QWidget
{
public:
    Desk() : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnBottomHint)
    {
        setAutoFillBackground(true);
        QPalette palette;
        palette.setColor(QPalette::Window, QColor::fromRgb(kDeskColour));
        setPalette(palette);
        setGeometry(0, 0, 1280, 1024);
    }
    QList<QPoint> presses;

protected:
    void mousePressEvent(QMouseEvent* event) override { presses.append(event->globalPosition().toPoint()); }
};

void moveMouse(QPoint to, const QStringList& then = {})
{
    xdotool(QStringList{u"mousemove"_s, QString::number(to.x()), QString::number(to.y())} + then);
}

QRgb screenPixel(QPoint at)
{
    return QGuiApplication::primaryScreen()->grabWindow(0, at.x(), at.y(), 1, 1).toImage().pixel(0, 0);
}

bool near(QRgb actual, QRgb expected)
{
    return std::abs(qRed(actual) - qRed(expected)) <= 8 && std::abs(qGreen(actual) - qGreen(expected)) <= 8 &&
           std::abs(qBlue(actual) - qBlue(expected)) <= 8;
}

} // namespace

// The real program on a private X server with a window manager and a compositor.
class TestClockWindow final : public QObject
{
    Q_OBJECT

    Desk m_desk;
    std::unique_ptr<test::ClockHome> m_home;
    std::unique_ptr<QProcess> m_clock;
    QString m_window;

    // Starts the default clock and waits for its window.
    bool startClock()
    {
        m_clock = std::make_unique<QProcess>();
        m_clock->setProcessChannelMode(QProcess::ForwardedChannels);
        m_home->start(*m_clock, u"Default"_s);
        m_window = test::waitForWindow(u"^Kiv Clock \\{Default\\}$"_s, 10000);
        return !m_window.isEmpty();
    }

    static QRect geometryOf(const QString& windowId)
    {
        QMap<QString, int> shell; // X=, Y=, WIDTH=, HEIGHT= lines
        for (const QString& line : xdotool({u"getwindowgeometry"_s, u"--shell"_s, windowId}).split(u'\n'))
            shell.insert(line.section(u'=', 0, 0), line.section(u'=', 1).toInt());
        return QRect(shell[u"X"_s], shell[u"Y"_s], shell[u"WIDTH"_s], shell[u"HEIGHT"_s]);
    }

    // Writes the values of a clock's settings record into the store at `registryPath`.
    static bool store(const QString& registryPath, const QString& clock, const QList<std::pair<QString, int>>& values)
    {
        Registry settings(registryPath);
        return settings.transaction([&](RegistryEditor& editor) {
            for (const auto& [name, value] : values)
                editor.WriteRegistryValue(clockKeyPath(clock), name, QString::number(value), RegDword);
        });
    }

    // Drags the clock by its move button until the pointer is at `target` and `arrived` holds for the window.
    bool dragByMoveButton(QPoint target, const std::function<bool(QRect)>& arrived)
    {
        const QRect clock = geometryOf(m_window);
        QPoint pointer = clock.topLeft() + QPoint(clock.width() - 10, 73); // the move button
        // Once the pointer is over the face, the button strip shows (its close button covers the desk) and the
        // window takes the pointer there too, so the press on the move button reaches the clock. A clock that
        // has just started may not see the pointer yet: it keeps stirring over the face, as a hand would,
        // until the strip shows. (The button lies outside the face, where the pointer reaches the desk until
        // then.)
        const QPoint closeButton = clock.topLeft() + QPoint(clock.width() - 11, 31);
        int stir = 0;
        if (!QTest::qWaitFor(
                [&] {
                    moveMouse(clock.center() - QPoint(++stir % 2, 0));
                    return !near(screenPixel(closeButton), kDeskColour);
                },
                5000))
            return false;
        moveMouse(pointer);
        xdotool({u"mousedown"_s, u"1"_s});
        // The window manager may take the move over late on a busy machine: the pointer keeps moving, as a hand
        // would, until the window has followed it to the target, and only then lets go.
        int step = 0;
        const bool there = QTest::qWaitFor(
            [&] {
                pointer += (target - pointer) / 4;
                if ((target - pointer).manhattanLength() < 8)
                    pointer = target;
                moveMouse(pointer - QPoint(++step % 2, 0));
                return arrived(geometryOf(m_window));
            },
            10000);
        xdotool({u"mouseup"_s, u"1"_s});
        return there;
    }

private slots:
    void initTestCase()
    {
        // On a busy machine the window manager may still be starting and miss the first map: map it again.
        for (int attempt = 0; attempt < 3 && !m_desk.isVisible(); ++attempt) {
            m_desk.show();
            if (!QTest::qWaitForWindowExposed(&m_desk, 10000))
                m_desk.hide();
        }
        QVERIFY(m_desk.isVisible());
    }

    void init()
    {
        m_home = std::make_unique<test::ClockHome>();
        m_desk.presses.clear();
    }

    void cleanup()
    {
        LocalSocketInstances().close(u"Tokyo"_s); // a clock the launcher started, if a failed case left it
        xdotool({u"mouseup"_s, u"1"_s});          // a drag that failed half-way must not hold the button
        if (m_clock)
            test::stop(*m_clock);
        m_clock.reset();
    }

    void clickThroughTheCornersAndEscapeKeepsOnTop()
    {
        // (tst_session starts a clock twice, and sees a change made with Escape outlive a kill.)
        QVERIFY(startClock());
        const QRect clock = geometryOf(m_window);
        QCOMPARE(clock.size(), QSize(246, 246));
        // The clock shows on every workspace and in no taskbar or pager. Escape puts it above other windows
        // and back, where it is, and it stays on every workspace and out of the taskbar and the pager.
        const auto state = [this] {
            QProcess xprop;
            xprop.start(u"xprop"_s, {u"-id"_s, m_window, u"_NET_WM_DESKTOP"_s, u"_NET_WM_STATE"_s});
            xprop.waitForFinished(5000);
            return QString::fromLatin1(xprop.readAllStandardOutput());
        };
        const auto onEveryWorkspace = [&state] {
            const QString now = state();
            return now.contains(u"= 4294967295"_s) && now.contains(u"_NET_WM_STATE_SKIP_TASKBAR"_s) &&
                   now.contains(u"_NET_WM_STATE_SKIP_PAGER"_s);
        };
        QTRY_VERIFY(onEveryWorkspace());
        QVERIFY(!state().contains(u"_NET_WM_STATE_ABOVE"_s));
        for (bool above : {true, false}) {
            xdotool({u"windowactivate"_s, u"--sync"_s, m_window, u"key"_s, u"Escape"_s});
            QTRY_COMPARE(state().contains(u"_NET_WM_STATE_ABOVE"_s), above);
            QVERIFY2(onEveryWorkspace(), qPrintable(state()));
        }
        QCOMPARE(geometryOf(m_window), clock);
        // The face is drawn; the corners show what lies beneath.
        QTRY_VERIFY(!near(screenPixel(clock.center()), kDeskColour));
        const QPoint corner = clock.topLeft() + QPoint(4, 4);
        QVERIFY2(near(screenPixel(corner), kDeskColour), qPrintable(QString::number(screenPixel(corner), 16)));
        // A click on the face stays with the clock; one at the transparent corner reaches the desk. (In that
        // order: the window manager raises the desk when it is clicked.) The desk sees the clicks in order, so
        // the first press it sees is the corner's only if the face's never came.
        moveMouse(clock.center() + QPoint(0, 30), {u"click"_s, u"1"_s});
        moveMouse(corner, {u"click"_s, u"1"_s});
        QTRY_COMPARE(m_desk.presses.size(), 1);
        QCOMPARE(m_desk.presses.first(), corner);
    }

    void clockWithoutItsChannelSaysSoAndFails()
    {
        // A file where the sockets' folder belongs: the clock cannot be found by others, so it does not run.
        QFile blocker(m_home->filePath(u"runtime/kivclock"_s));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        m_clock = std::make_unique<QProcess>();
        m_home->start(*m_clock, u"Default"_s);
        const QString message = test::waitForWindow(u"^Kiv Clock 错误$"_s, 10000);
        QVERIFY(!message.isEmpty());
        xdotool({u"windowactivate"_s, u"--sync"_s, message, u"key"_s, u"Return"_s});
        QVERIFY(m_clock->waitForFinished(10000));
        QCOMPARE(m_clock->exitCode(), 1);
        QVERIFY(m_clock->readAllStandardError().contains("Kiv Clock 错误"));
        QVERIFY(xdotool({u"search"_s, u"--name"_s, u"^Kiv Clock \\{"_s}).isEmpty());
    }

    void dragPastTheRightEdgeIsClampedBack()
    {
        QVERIFY(startClock());
        // Dropped with its right part off the screen (unless the window manager holds it at the edge).
        QVERIFY(dragByMoveButton(QPoint(1279, 500), [](QRect clock) { return clock.left() >= 1280 - 246; }));
        QTRY_COMPARE(geometryOf(m_window).left(), 1280 - 246);
        // A close request ends the clock, which saves where it is.
        QVERIFY(LocalSocketInstances(m_home->filePath(u"runtime/kivclock"_s)).close(u"Default"_s));
        QVERIFY(m_clock->waitForFinished(10000) && m_clock->exitCode() == 0);
        QCOMPARE(QList({m_home->stored(u"Enable"_s), m_home->stored(u"Left"_s), m_home->stored(u"MonitorID"_s)}),
                 QList({RegistryValue(1), RegistryValue((1280 - 246) * 15), RegistryValue(0)}));
    }

    void launcherStartsANamedClockOfTheStoredSizeAndPlace()
    {
        // (tst_clockspage adds, runs, stops and deletes real clocks from the settings dialog; tst_settings loads
        // stored colours, tst_clock draws them.)
        QFile::remove(Registry::defaultFilePath()); // the test's own store, which a former run wrote
        QVERIFY(store(Registry::defaultFilePath(), u"Tokyo"_s,
                      {{u"Enable"_s, 1},
                       {u"ClockRadius"_s, 128},
                       {u"HourCircleWidth"_s, 50},
                       {u"MinuteCircleWidth"_s, 50},
                       {u"SecondCircleWidth"_s, 50},
                       {u"Left"_s, 3000},
                       {u"Top"_s, 1500}}));
        QVERIFY(DetachedClockLauncher(QStringLiteral(KIVCLOCK)).startClock(u"Tokyo"_s));
        QCOMPARE(geometryOf(test::waitForWindow(u"^Kiv Clock \\{Tokyo\\}$"_s, 10000)), QRect(200, 100, 598, 598));
        QVERIFY(LocalSocketInstances().close(u"Tokyo"_s));
    }

    void alarmOfTheCurrentMinuteOpensTheTipWindow()
    {
        // A clock on UTC with alarms for this minute and the next, in case the minute turns meanwhile.
        QVERIFY(store(m_home->registryPath(), u"Default"_s, {{u"Enable"_s, 1}, {u"TimeZoneIndex"_s, 34}}));
        const QTime now = QDateTime::currentDateTimeUtc().time();
        QByteArray records;
        for (const QTime& time : {now, now.addSecs(60)}) {
            AlarmRecord alarm = test::alarmAt(time.hour(), time.minute(), ActionTip, u"该喝水了! 起来走一走."_s);
            alarm.PlayTime = 4;
            records += encodeAlarmRecord(alarm);
        }
        const QString folder = m_home->filePath(u"data/KivSoft/Kiv Clock"_s);
        QVERIFY(QDir().mkpath(folder) && test::writeFile(folder + u"/Default.cfg"_s, records));

        QVERIFY(startClock());
        const QString prefix = u"时钟: Default  -  警报: "_s;
        const QString tip = test::waitForWindow(u'^' + prefix, 10000);
        QVERIFY(!tip.isEmpty());
        const QString caption = xdotool({u"getwindowname"_s, tip});
        QVERIFY2(caption == prefix + now.toString(u"hh:mm AP"_s) ||
                     caption == prefix + now.addSecs(60).toString(u"hh:mm AP"_s),
                 qPrintable(caption));
        QCOMPARE(geometryOf(tip).size(), QSize(435, 279));
    }
};

QTEST_MAIN(TestClockWindow)
#include "tst_clockwindow.moc"
