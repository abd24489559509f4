#include "FakePlatform.h"
#include "clock/ClockLayout.h"
#include "clock/ClockWindow.h"
#include "platform/WindowSystem.h"
#include "settings/ClockSettings.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

using namespace kiv;

// The clock window's own handling of the mouse and the keys, on the offscreen platform.
class TestClockWidget final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startsAtItsSizeAndPlaceWithItsCaption();
    void buttonStripFollowsTheMouse();
    void closeButtonExitsWithSaving();
    void settingsButtonOpensTheSettingsOwnedByTheClock();
    void doubleClickOnTheFaceOpensTheAboutBox();
    void rightButtonReleaseOpensTheMenu();
    void keysToggleOnTopAndScaleAndOpenTheSettings();
    void unchangedFramesAreNotDrawnAgain();
    void closingTheWindowEndsTheClock();

private:
    ClockSettings m_settings;
    ClockLayout m_layout;
    test::FixedTimeSource m_time;
    std::unique_ptr<WindowSystem> m_windowSystem;
    QList<MonitorInfo> m_monitors{{QRect(0, 0, 1280, 1024), QRect(0, 0, 1280, 1024)}};
    std::unique_ptr<ClockWindow> m_window;
    QStringList m_calls;
};

void TestClockWidget::init()
{
    m_settings = ClockSettings();
    ResetClockSettings(m_settings, true);
    ResetClockSettings(m_settings, false);
    m_settings.Left = 300 * 15;
    m_settings.Top = 200 * 15;
    m_layout = ComputeClockLayout(m_settings);
    m_time.now = QDateTime(QDate(2026, 12, 6), QTime(9, 30, 0), Qt::LocalTime);
    m_windowSystem = createWindowSystem();
    m_calls.clear();
    ClockWindowActions actions;
    actions.exitClock = [this](bool save) {
        m_calls.append(save ? QStringLiteral("exit save") : QStringLiteral("exit"));
    };
    actions.openSettings = [this](QWidget* owner) {
        m_calls.append(owner ? QStringLiteral("settings owned") : QStringLiteral("settings"));
    };
    actions.openAbout = [this] { m_calls.append(QStringLiteral("about")); };
    actions.openMenu = [this](QPoint) { m_calls.append(QStringLiteral("menu")); };
    m_window = std::make_unique<ClockWindow>(
        ClockWindowContext{QStringLiteral("Office"), m_settings, m_layout, m_time, *m_windowSystem, m_monitors, 15, 15},
        actions);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestClockWidget::cleanup()
{
    m_window.reset();
}

void TestClockWidget::startsAtItsSizeAndPlaceWithItsCaption()
{
    QCOMPARE(m_window->size(), QSize(246, 246));
    QCOMPARE(m_window->pos(), QPoint(300, 200));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Kiv Clock {Office}"));
    QVERIFY(m_window->testAttribute(Qt::WA_TranslucentBackground));
    QVERIFY(m_window->windowFlags() & Qt::FramelessWindowHint);
}

void TestClockWidget::buttonStripFollowsTheMouse()
{
    QCOMPARE(m_window->buttonState(), int(ButtonOutside));
    QTest::mouseMove(m_window.get(), QPoint(120, 120));
    QCOMPARE(m_window->buttonState(), int(ButtonNone));
    QTest::mouseMove(m_window.get(), QPoint(236, 30));
    QCOMPARE(m_window->buttonState(), int(ButtonClose));
    QTest::mouseMove(m_window.get(), QPoint(236, 52));
    QCOMPARE(m_window->buttonState(), int(ButtonSettings));
    QTest::mouseMove(m_window.get(), QPoint(236, 73));
    QCOMPARE(m_window->buttonState(), int(ButtonMove));
}

void TestClockWidget::closeButtonExitsWithSaving()
{
    QTest::mouseMove(m_window.get(), QPoint(236, 30));
    QTest::mouseClick(m_window.get(), Qt::LeftButton, {}, QPoint(236, 30));
    QCOMPARE(m_calls, QStringList{QStringLiteral("exit save")});
}

void TestClockWidget::settingsButtonOpensTheSettingsOwnedByTheClock()
{
    QTest::mouseMove(m_window.get(), QPoint(236, 52));
    QTest::mouseClick(m_window.get(), Qt::LeftButton, {}, QPoint(236, 52));
    QCOMPARE(m_calls, QStringList{QStringLiteral("settings owned")});
    // The move button does nothing on a click.
    QTest::mouseMove(m_window.get(), QPoint(236, 73));
    m_calls.clear();
    const QPointF moveButton(236, 73);
    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, moveButton, m_window->mapToGlobal(moveButton), Qt::LeftButton,
                            Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_window.get(), &doubleClick);
    QVERIFY(m_calls.isEmpty());
}

void TestClockWidget::doubleClickOnTheFaceOpensTheAboutBox()
{
    QTest::mouseMove(m_window.get(), QPoint(120, 120));
    const QPointF face(120, 120);
    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, face, m_window->mapToGlobal(face), Qt::LeftButton,
                            Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_window.get(), &doubleClick);
    QCOMPARE(m_calls, QStringList{QStringLiteral("about")});
}

void TestClockWidget::rightButtonReleaseOpensTheMenu()
{
    QTest::mouseMove(m_window.get(), QPoint(120, 120));
    QTest::mousePress(m_window.get(), Qt::RightButton, {}, QPoint(120, 120));
    QVERIFY(m_calls.isEmpty());
    QTest::mouseRelease(m_window.get(), Qt::RightButton, {}, QPoint(120, 120));
    QCOMPARE(m_calls, QStringList{QStringLiteral("menu")});
    QTest::mouseClick(m_window.get(), Qt::LeftButton, {}, QPoint(120, 120));
    QCOMPARE(m_calls, QStringList{QStringLiteral("menu")});
}

void TestClockWidget::keysToggleOnTopAndScaleAndOpenTheSettings()
{
    QTest::keyClick(m_window.get(), Qt::Key_Escape);
    QCOMPARE(m_settings.AlwaysOnTop, 1);
    QVERIFY(m_window->onTop());
    QTest::keyClick(m_window.get(), Qt::Key_Escape);
    QCOMPARE(m_settings.AlwaysOnTop, 0);
    QVERIFY(!m_window->onTop());
    QTest::keyClick(m_window.get(), Qt::Key_PageDown);
    QCOMPARE(m_settings.DisplayScale, 1);
    QTest::keyClick(m_window.get(), Qt::Key_PageDown);
    QCOMPARE(m_settings.DisplayScale, 0);
    QTest::keyClick(m_window.get(), Qt::Key_PageUp);
    QCOMPARE(m_calls, QStringList{QStringLiteral("settings")});
    QCOMPARE(m_window->pos(), QPoint(300, 200));
}

void TestClockWidget::unchangedFramesAreNotDrawnAgain()
{
    m_window->redraw();
    QVERIFY(!m_window->redraw());
    m_time.now = m_time.now.addSecs(1);
    QVERIFY(m_window->redraw());
    QVERIFY(!m_window->redraw());
    m_settings.DisplayScale = 1;
    QVERIFY(m_window->redraw());
}

void TestClockWidget::closingTheWindowEndsTheClock()
{
    m_window->close();
    QCOMPARE(m_calls, QStringList{QStringLiteral("exit save")});
}

QTEST_MAIN(TestClockWidget)
#include "tst_clockwidget.moc"
