#include "FakePlatform.h"
#include "alarms/AlarmFile.h"
#include "core/TextUtils.h"
#include "platform/linux/InstanceChannel.h"
#include "settings/Registry.h"
#include "settings/RegistryKeys.h"

#include <QDir>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

using namespace kiv;

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

QString run(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    process.waitForFinished(10000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

bool near(QRgb actual, QRgb expected, int tolerance = 8)
{
    return std::abs(qRed(actual) - qRed(expected)) <= tolerance &&
           std::abs(qGreen(actual) - qGreen(expected)) <= tolerance &&
           std::abs(qBlue(actual) - qBlue(expected)) <= tolerance;
}

} // namespace

class TestClockWindow final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void startsAtItsDefaultSizeAndCaption();
    void cornersShowAndPassClicksToTheWindowBeneath();
    void secondStartOfTheSameClockExits();
    void clockWithoutItsChannelSaysSoAndFails();
    void closeRequestEndsTheClockAndSavesItsPosition();
    void dragPastTheRightEdgeIsClampedBack();
    void escapeTogglesAlwaysOnTop();
    void storedSettingsChangeTheFace();
    void alarmOfTheCurrentMinuteOpensTheTipWindow();
    void stoppingTheCurrentClockFromItsOwnDialogEndsIt();

private:
    QProcessEnvironment environment() const;
    bool startClock(const QString& name = QStringLiteral("Default"));
    // Waits for the window captioned "Kiv Clock {name}", or for one whose caption matches `captionPattern`.
    QString waitForWindow(const QString& name, const QString& captionPattern = {});
    QRect geometryOf(const QString& windowId);
    QImage grabScreen();
    bool closeClock(const QString& name = QStringLiteral("Default"));
    Registry registry() const;
    void screenshot(const QString& name);
    // Drags the clock by its move button until the pointer is at `target` and `arrived` holds for the window.
    bool dragByMoveButton(QPoint target, const std::function<bool(QRect)>& arrived);

    Desk m_desk;
    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<QProcess> m_clock;
    QString m_window;
};

void TestClockWindow::initTestCase()
{
    // On a busy machine the window manager may still be starting and miss the first map: map it again.
    for (int attempt = 0; attempt < 3 && !m_desk.isVisible(); ++attempt) {
        m_desk.show();
        if (!QTest::qWaitForWindowExposed(&m_desk, 10000))
            m_desk.hide();
    }
    QVERIFY(m_desk.isVisible());
}

void TestClockWindow::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    QDir(m_home->path()).mkpath(QStringLiteral("runtime"));
    QFile::setPermissions(m_home->filePath(QStringLiteral("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    m_desk.presses.clear();
}

void TestClockWindow::cleanup()
{
    run({QStringLiteral("mouseup"), QStringLiteral("1")}); // a drag that failed half-way must not hold the button
    if (m_clock && m_clock->state() != QProcess::NotRunning) {
        m_clock->kill();
        m_clock->waitForFinished(5000);
    }
    m_clock.reset();
}

QProcessEnvironment TestClockWindow::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home->filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), m_home->filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_home->filePath(QStringLiteral("runtime")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    return env;
}

bool TestClockWindow::startClock(const QString& name)
{
    m_clock = std::make_unique<QProcess>();
    m_clock->setProcessEnvironment(environment());
    m_clock->setProcessChannelMode(QProcess::ForwardedChannels);
    m_clock->start(QStringLiteral(KIVCLOCK), {name});
    if (!m_clock->waitForStarted(5000))
        return false;
    m_window = waitForWindow(name);
    return !m_window.isEmpty();
}

QString TestClockWindow::waitForWindow(const QString& name, const QString& captionPattern)
{
    const QString caption =
        captionPattern.isEmpty() ? QStringLiteral("^Kiv Clock \\{") + name + QStringLiteral("\\}$") : captionPattern;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString found =
            run({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"), caption});
        if (!found.isEmpty()) {
            QTest::qWait(300); // let the first frames reach the screen
            return found.split(u'\n').first();
        }
        QTest::qWait(100);
    }
    return {};
}

QRect TestClockWindow::geometryOf(const QString& windowId)
{
    QRect rect;
    for (const QString& line :
         run({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), windowId}).split(u'\n')) {
        const QString value = line.section(u'=', 1);
        if (line.startsWith(QStringLiteral("X=")))
            rect.moveLeft(value.toInt());
        else if (line.startsWith(QStringLiteral("Y=")))
            rect.moveTop(value.toInt());
        else if (line.startsWith(QStringLiteral("WIDTH=")))
            rect.setWidth(value.toInt());
        else if (line.startsWith(QStringLiteral("HEIGHT=")))
            rect.setHeight(value.toInt());
    }
    return rect;
}

QImage TestClockWindow::grabScreen()
{
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage();
}

void TestClockWindow::screenshot(const QString& name)
{
    const QString folder = qEnvironmentVariable("KIV_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        grabScreen().save(folder + u'/' + name + QStringLiteral(".png"));
}

bool TestClockWindow::closeClock(const QString& name)
{
    LocalSocketInstances instances(m_home->filePath(QStringLiteral("runtime/kivclock")));
    const bool closed = instances.close(name);
    return closed && m_clock->waitForFinished(10000);
}

Registry TestClockWindow::registry() const
{
    return Registry(m_home->filePath(QStringLiteral("config/KivSoft/Kiv Clock/registry.reg")));
}

void TestClockWindow::startsAtItsDefaultSizeAndCaption()
{
    QVERIFY(startClock());
    QCOMPARE(geometryOf(m_window).size(), QSize(246, 246));
    QCOMPARE(run({QStringLiteral("getwindowname"), m_window}), QStringLiteral("Kiv Clock {Default}"));
    screenshot(QStringLiteral("default-clock"));
}

void TestClockWindow::cornersShowAndPassClicksToTheWindowBeneath()
{
    QVERIFY(startClock());
    const QRect clock = geometryOf(m_window);
    const QImage screen = grabScreen();
    const QPoint corner = clock.topLeft() + QPoint(4, 4);
    QVERIFY2(near(screen.pixel(corner), kDeskColour), qPrintable(QString::number(screen.pixel(corner), 16)));
    QVERIFY(!near(screen.pixel(clock.center()), kDeskColour));
    // A click on the face stays with the clock; one at the transparent corner reaches the desk. (In that
    // order: the window manager raises the desk when it is clicked.)
    const QPoint face = clock.center() + QPoint(0, 30);
    run({QStringLiteral("mousemove"), QString::number(face.x()), QString::number(face.y()), QStringLiteral("click"),
         QStringLiteral("1")});
    QTest::qWait(300);
    QCOMPARE(m_desk.presses.size(), 0);
    run({QStringLiteral("mousemove"), QString::number(corner.x()), QString::number(corner.y()), QStringLiteral("click"),
         QStringLiteral("1")});
    QTRY_COMPARE(m_desk.presses.size(), 1);
    QCOMPARE(m_desk.presses.first(), corner);
}

void TestClockWindow::secondStartOfTheSameClockExits()
{
    QVERIFY(startClock());
    QProcess second;
    second.setProcessEnvironment(environment());
    second.start(QStringLiteral(KIVCLOCK), {QStringLiteral("Default")});
    QVERIFY(second.waitForFinished(10000));
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(run({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                  QStringLiteral("^Kiv Clock")})
                 .split(u'\n', Qt::SkipEmptyParts)
                 .size(),
             1);
    QCOMPARE(m_clock->state(), QProcess::Running);
}

void TestClockWindow::clockWithoutItsChannelSaysSoAndFails()
{
    // A file where the sockets' folder belongs: the clock cannot be found by others, so it does not run.
    QFile blocker(m_home->filePath(QStringLiteral("runtime/kivclock")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    m_clock = std::make_unique<QProcess>();
    m_clock->setProcessEnvironment(environment());
    m_clock->start(QStringLiteral(KIVCLOCK), {QStringLiteral("Default")});
    const QString message = waitForWindow({}, QStringLiteral("^Kiv Clock 错误$"));
    QVERIFY(!message.isEmpty());
    run({QStringLiteral("windowactivate"), QStringLiteral("--sync"), message, QStringLiteral("key"),
         QStringLiteral("Return")});
    QVERIFY(m_clock->waitForFinished(10000));
    QCOMPARE(m_clock->exitCode(), 1);
    QVERIFY(m_clock->readAllStandardError().contains("Kiv Clock 错误"));
    QVERIFY(run({QStringLiteral("search"), QStringLiteral("--name"), QStringLiteral("^Kiv Clock \\{")}).isEmpty());
}

void TestClockWindow::closeRequestEndsTheClockAndSavesItsPosition()
{
    QVERIFY(startClock(QStringLiteral("Tokyo")));
    QVERIFY(closeClock(QStringLiteral("Tokyo")));
    QCOMPARE(m_clock->exitCode(), 0);
    const QString key = clockKeyPath(QStringLiteral("Tokyo"));
    QCOMPARE(registry().ReadRegistryValue(key, QStringLiteral("Enable")), RegistryValue(1));
    QCOMPARE(registry().ReadRegistryValue(key, QStringLiteral("Left")), RegistryValue(0));
    QCOMPARE(registry().ReadRegistryValue(key, QStringLiteral("Top")), RegistryValue(0));
    QCOMPARE(registry().ReadRegistryValue(key, QStringLiteral("ClockRadius")), RegistryValue(48));
}

bool TestClockWindow::dragByMoveButton(QPoint target, const std::function<bool(QRect)>& arrived)
{
    const auto moveTo = [](QPoint p) {
        run({QStringLiteral("mousemove"), QString::number(p.x()), QString::number(p.y())});
    };
    const QRect clock = geometryOf(m_window);
    QPoint pointer = clock.topLeft() + QPoint(clock.width() - 10, 73); // the move button
    moveTo(clock.center());
    QTest::qWait(200);
    moveTo(pointer);
    QTest::qWait(300);
    run({QStringLiteral("mousedown"), QStringLiteral("1")});
    // The window manager may take the move over late on a busy machine: the pointer keeps moving, as a hand
    // would, until the window has followed it to the target, and only then lets go.
    QElapsedTimer sinceDown;
    sinceDown.start();
    bool there = false;
    for (int step = 0; !there && sinceDown.elapsed() < 10000; ++step) {
        pointer += (target - pointer) / 4;
        if ((target - pointer).manhattanLength() < 8)
            pointer = target;
        moveTo(pointer - QPoint(step % 2, 0));
        QTest::qWait(50);
        there = arrived(geometryOf(m_window));
    }
    run({QStringLiteral("mouseup"), QStringLiteral("1")});
    return there;
}

void TestClockWindow::dragPastTheRightEdgeIsClampedBack()
{
    QVERIFY(startClock());
    // Dropped with its right part off the screen (unless the window manager holds it at the edge).
    QVERIFY(dragByMoveButton(QPoint(1279, 500), [](QRect clock) { return clock.left() >= 1280 - 246; }));
    QTRY_COMPARE(geometryOf(m_window).left(), 1280 - 246);
    QTest::qWait(200); // the clock notices the end of the move at its next look at the mouse
    screenshot(QStringLiteral("dragged-clock"));
    QVERIFY(closeClock());
    const QString key = clockKeyPath(QStringLiteral("Default"));
    QCOMPARE(registry().ReadRegistryValue(key, QStringLiteral("Left")), RegistryValue((1280 - 246) * 15));
    QCOMPARE(registry().ReadRegistryValue(key, QStringLiteral("MonitorID")), RegistryValue(0));
}

void TestClockWindow::escapeTogglesAlwaysOnTop()
{
    QVERIFY(startClock());
    const QRect before = geometryOf(m_window);
    const auto state = [this] {
        QProcess xprop;
        xprop.start(QStringLiteral("xprop"), {QStringLiteral("-id"), m_window, QStringLiteral("_NET_WM_STATE")});
        xprop.waitForFinished(5000);
        return QString::fromUtf8(xprop.readAllStandardOutput());
    };
    QVERIFY(!state().contains(QStringLiteral("_NET_WM_STATE_ABOVE")));
    run({QStringLiteral("windowactivate"), QStringLiteral("--sync"), m_window});
    run({QStringLiteral("key"), QStringLiteral("--window"), m_window, QStringLiteral("Escape")});
    QTRY_VERIFY(state().contains(QStringLiteral("_NET_WM_STATE_ABOVE")));
    run({QStringLiteral("key"), QStringLiteral("--window"), m_window, QStringLiteral("Escape")});
    QTRY_VERIFY(!state().contains(QStringLiteral("_NET_WM_STATE_ABOVE")));
    QCOMPARE(geometryOf(m_window), before);
}

void TestClockWindow::storedSettingsChangeTheFace()
{
    const QString key = clockKeyPath(QStringLiteral("Default"));
    Registry store = registry();
    QVERIFY(store.transaction([&](RegistryEditor& editor) {
        for (const auto& [name, value] : {std::pair{"Enable", 1},
                                          {"TimeZoneIndex", 33},
                                          {"ClockRadius", 128},
                                          {"HourCircleWidth", 50},
                                          {"MinuteCircleWidth", 50},
                                          {"SecondCircleWidth", 50},
                                          {"SecondCircleColor", 0},
                                          {"Left", 3000},
                                          {"Top", 1500}})
            editor.WriteRegistryValue(key, QString::fromLatin1(name), QString::number(value), RegDword);
    }));
    QVERIFY(startClock());
    const QRect clock = geometryOf(m_window);
    QCOMPARE(clock, QRect(200, 100, 598, 598));
    // The second ring always covers the few degrees after twelve; a stored colour of 0 draws the default.
    const double radians = 273.0 * M_PI / 180;
    const double radius = 128 + 50 + 50 + 25;
    const QPoint onSecondRing =
        clock.topLeft() + QPoint(int(299 + std::cos(radians) * radius), int(299 + std::sin(radians) * radius));
    const QImage screen = grabScreen();
    QVERIFY2(near(screen.pixel(onSecondRing), 0xFF71A713), qPrintable(QString::number(screen.pixel(onSecondRing), 16)));
    screenshot(QStringLiteral("largest-clock"));
}

void TestClockWindow::alarmOfTheCurrentMinuteOpensTheTipWindow()
{
    // A clock on UTC with alarms for this minute and the next, in case the minute turns meanwhile.
    const QString key = clockKeyPath(QStringLiteral("Default"));
    Registry store = registry();
    QVERIFY(store.transaction([&](RegistryEditor& editor) {
        editor.WriteRegistryValue(key, QStringLiteral("Enable"), QStringLiteral("1"), RegDword);
        editor.WriteRegistryValue(key, QStringLiteral("TimeZoneIndex"), QStringLiteral("34"), RegDword);
    }));
    const QTime now = QDateTime::currentDateTimeUtc().time();
    AlarmTable alarms;
    for (const QTime& time : {now, now.addSecs(60)}) {
        AlarmRecord alarm;
        alarm.Time = alarmTimeOf(time.hour(), time.minute());
        alarm.Enabled = 1;
        alarm.PlayTime = 4;
        alarm.Text = QStringLiteral("该喝水了! 起来走一走.");
        alarm.Sound = DefaultSoundText;
        alarms.append(alarm);
    }
    const QString folder = m_home->filePath(QStringLiteral("data/KivSoft/Kiv Clock"));
    QVERIFY(QDir().mkpath(folder));
    test::RecordingMessages messages;
    QVERIFY(SaveAlarms(folder + QStringLiteral("/Default.cfg"), alarms, messages));

    QElapsedTimer sinceStart;
    sinceStart.start();
    QVERIFY(startClock());
    const QString tip = waitForWindow(QStringLiteral(".*"), QStringLiteral("^时钟: Default  -  警报: "));
    QVERIFY(!tip.isEmpty());
    QVERIFY2(sinceStart.elapsed() < 2000 + 300, qPrintable(QString::number(sinceStart.elapsed())));
    const QString caption = run({QStringLiteral("getwindowname"), tip});
    const QStringList expected{QStringLiteral("时钟: Default  -  警报: ") + now.toString(QStringLiteral("hh:mm AP")),
                               QStringLiteral("时钟: Default  -  警报: ") +
                                   now.addSecs(60).toString(QStringLiteral("hh:mm AP"))};
    QVERIFY2(expected.contains(caption), qPrintable(caption));
    QCOMPARE(geometryOf(tip).size(), QSize(435, 279));
    screenshot(QStringLiteral("alarm-tip"));
}

void TestClockWindow::stoppingTheCurrentClockFromItsOwnDialogEndsIt()
{
    QVERIFY(startClock());
    run({QStringLiteral("windowactivate"), QStringLiteral("--sync"), m_window});
    run({QStringLiteral("key"), QStringLiteral("--window"), m_window, QStringLiteral("Page_Up")});
    const QString dialog = waitForWindow({}, QStringLiteral("^Kiv Clock 配置$"));
    QVERIFY(!dialog.isEmpty());
    run({QStringLiteral("windowactivate"), QStringLiteral("--sync"), dialog});
    // The clocks tab (the third of four across the top), then the keyboard: into the clock list, onto its
    // first line (this clock), and the stop button's access key.
    const QRect geometry = geometryOf(dialog);
    run({QStringLiteral("mousemove"), QStringLiteral("--window"), dialog, QString::number(geometry.width() * 5 / 8),
         QStringLiteral("21"), QStringLiteral("click"), QStringLiteral("1")});
    QTest::qWait(300);
    run({QStringLiteral("key"), QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Tab"),
         QStringLiteral("Tab"), QStringLiteral("Home"), QStringLiteral("space")});
    QTest::qWait(300);
    screenshot(QStringLiteral("clocks-page-stop"));
    run({QStringLiteral("key"), QStringLiteral("alt+s")});
    QVERIFY(m_clock->waitForFinished(10000));
    QCOMPARE(m_clock->exitCode(), 0);
    QCOMPARE(registry().ReadRegistryValue(clockKeyPath(QStringLiteral("Default")), QStringLiteral("Enable")),
             RegistryValue(1));
}

QTEST_MAIN(TestClockWindow)
#include "tst_clockwindow.moc"
