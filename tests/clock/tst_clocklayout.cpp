#include "clock/ClockLayout.h"
#include "clock/WindowPlacement.h"
#include "settings/ClockSettings.h"

#include <QTest>

using namespace kiv;

namespace {
ClockSettings sized(int radius, int hour, int minute, int second, bool twentyFourHour = false)
{
    ClockSettings settings;
    settings.ClockRadius = radius;
    settings.HourCircleWidth = hour;
    settings.MinuteCircleWidth = minute;
    settings.SecondCircleWidth = second;
    settings.TwelveOr24Hour = twentyFourHour ? 1 : 0;
    return settings;
}
} // namespace

class TestClockLayout final : public QObject
{
    Q_OBJECT

private slots:
    void geometry_data();
    void geometry();
    void ticksCrossTheirRings();
    void buttonStateAt_data();
    void buttonStateAt();
    void clampToWorkArea_data();
    void clampToWorkArea();
    void monitorUnderTheCursor();
    void twipsPerPixelOfCommonScreens();
};

void TestClockLayout::geometry_data()
{
    QTest::addColumn<int>("radius");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("centre");
    QTest::addColumn<QRectF>("secondArc");
    QTest::addColumn<QRectF>("minuteArc");
    QTest::addColumn<QRectF>("hourArc");
    QTest::addColumn<QRectF>("inner");
    QTest::newRow("defaults: 246 x 246") << 48 << 18 << 123 << QRectF(30, 30, 186, 186) << QRectF(48, 48, 150, 150)
                                         << QRectF(66, 66, 114, 114) << QRectF(75, 75, 96, 96);
    QTest::newRow("smallest: 198 x 198") << 48 << 10 << 99 << QRectF(26, 26, 146, 146) << QRectF(36, 36, 126, 126)
                                         << QRectF(46, 46, 106, 106) << QRectF(51, 51, 96, 96);
    QTest::newRow("largest: 598 x 598") << 128 << 50 << 299 << QRectF(46, 46, 506, 506) << QRectF(96, 96, 406, 406)
                                        << QRectF(146, 146, 306, 306) << QRectF(171, 171, 256, 256);
    QTest::newRow("odd widths sit on half pixels")
        << 48 << 15 << 114 << QRectF(28.5, 28.5, 171, 171) << QRectF(43.5, 43.5, 141, 141)
        << QRectF(58.5, 58.5, 111, 111) << QRectF(66, 66, 96, 96);
}

void TestClockLayout::geometry()
{
    QFETCH(int, radius);
    QFETCH(int, width);
    QFETCH(int, centre);
    QFETCH(QRectF, secondArc);
    QFETCH(QRectF, minuteArc);
    QFETCH(QRectF, hourArc);
    QFETCH(QRectF, inner);
    const ClockLayout layout = ComputeClockLayout(sized(radius, width, width, width));
    QCOMPARE(layout.centreX, centre);
    QCOMPARE(layout.centreY, centre);
    QCOMPARE(layout.width(), 2 * centre);
    QCOMPARE(layout.innerDiameter, 2 * radius);
    QCOMPARE(layout.face, QRectF(21, 21, 2 * (centre - 21), 2 * (centre - 21)));
    QCOMPARE(layout.secondArc, secondArc);
    QCOMPARE(layout.minuteArc, minuteArc);
    QCOMPARE(layout.hourArc, hourArc);
    QCOMPARE(layout.inner, inner);
    QCOMPARE(layout.hourOuter, QRectF(21 + 2 * width, 21 + 2 * width, 2 * (radius + width), 2 * (radius + width)));
    QCOMPARE(layout.minuteOuter, QRectF(21 + width, 21 + width, 2 * (radius + 2 * width), 2 * (radius + 2 * width)));
}

void TestClockLayout::ticksCrossTheirRings()
{
    const ClockLayout twelve = ComputeClockLayout(sized(48, 18, 18, 18));
    const ClockLayout twentyFour = ComputeClockLayout(sized(48, 18, 18, 18, true));
    QCOMPARE(twelve.hourTickCount, 12);
    QCOMPARE(twentyFour.hourTickCount, 24);
    // Tick 0 lies at three o'clock, from the inner disc to the hour ring's outer edge.
    QCOMPARE(twelve.hourTicks[0].p1(), QPointF(123 + 48, 123));
    QCOMPARE(twelve.hourTicks[0].p2(), QPointF(123 + 66, 123));
    // Twelve-hour tick 3 and twenty-four-hour tick 6 both point down (90 degrees, y grows downwards).
    QVERIFY(qAbs(twelve.hourTicks[3].p2().x() - 123) < 1e-3);
    QVERIFY(qAbs(twelve.hourTicks[3].p2().y() - (123 + 66)) < 1e-3);
    QVERIFY(qAbs(twentyFour.hourTicks[6].p2().y() - (123 + 66)) < 1e-3);
    // Minute ticks run across the minute and second rings.
    QCOMPARE(twelve.minuteTicks[0].p1(), QPointF(123 + 66, 123));
    QCOMPARE(twelve.minuteTicks[0].p2(), QPointF(123 + 102, 123));
    QVERIFY(qAbs(twelve.minuteTicks[45].p2().y() - (123 - 102)) < 1e-3);
}

void TestClockLayout::buttonStateAt_data()
{
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<int>("state");
    QTest::newRow("close") << QPoint(240, 30) << 1;
    QTest::newRow("settings") << QPoint(240, 50) << 2;
    QTest::newRow("move") << QPoint(240, 70) << 3;
    QTest::newRow("on the face") << QPoint(120, 120) << 0;
    QTest::newRow("left boundary belongs to no button") << QPoint(225, 30) << 0;
    QTest::newRow("y 42 belongs to no button") << QPoint(240, 42) << 0;
    QTest::newRow("y 63 belongs to no button") << QPoint(240, 63) << 0;
    QTest::newRow("above the strip") << QPoint(240, 21) << 0;
    QTest::newRow("below the strip") << QPoint(240, 84) << 0;
}

void TestClockLayout::buttonStateAt()
{
    QFETCH(QPoint, position);
    QFETCH(int, state);
    QCOMPARE(kiv::buttonStateAt(position, 246), state);
}

void TestClockLayout::clampToWorkArea_data()
{
    QTest::addColumn<QPoint>("pixels");
    QTest::addColumn<QRect>("workArea");
    QTest::addColumn<QPoint>("expected");
    const QRect screen(0, 0, 1280, 1024);
    const QRect panelOnTop(0, 30, 1280, 994);
    QTest::newRow("inside stays") << QPoint(100, 100) << screen << QPoint(100, 100);
    QTest::newRow("past the right edge") << QPoint(1100, 100) << screen << QPoint(1034, 100);
    QTest::newRow("past the left edge") << QPoint(-40, 100) << screen << QPoint(0, 100);
    QTest::newRow("past the bottom edge") << QPoint(100, 900) << screen << QPoint(100, 778);
    QTest::newRow("above a work area at 0 stays above") << QPoint(100, -50) << screen << QPoint(100, -50);
    QTest::newRow("above a panel on top comes back") << QPoint(100, 10) << panelOnTop << QPoint(100, 30);
    QTest::newRow("second monitor") << QPoint(1270, 0) << QRect(1280, 0, 1024, 768) << QPoint(1280, 0);
}

void TestClockLayout::clampToWorkArea()
{
    QFETCH(QPoint, pixels);
    QFETCH(QRect, workArea);
    QFETCH(QPoint, expected);
    const QPoint twips = kiv::clampToWorkArea(pixels * 15, QSize(246, 246), workArea, 15, 15);
    QCOMPARE(twips, expected * 15);
}

void TestClockLayout::monitorUnderTheCursor()
{
    const QList<MonitorInfo> monitors{{QRect(0, 0, 1280, 1024), QRect(0, 0, 1280, 994)},
                                      {QRect(1280, 0, 1024, 768), QRect(1280, 0, 1024, 768)}};
    QCOMPARE(monitorAt(monitors, QPoint(10, 10), 5), 0);
    QCOMPARE(monitorAt(monitors, QPoint(1500, 10), 0), 1);
    QCOMPARE(monitorAt(monitors, QPoint(1280, 10), 1), 0);  // a shared edge belongs to the first
    QCOMPARE(monitorAt(monitors, QPoint(1500, 900), 1), 1); // below the second: no monitor, kept
    QCOMPARE(workAreaOf(monitors, 1), QRect(1280, 0, 1024, 768));
    QCOMPARE(workAreaOf(monitors, 7), QRect(0, 0, 1280, 994));
}

void TestClockLayout::twipsPerPixelOfCommonScreens()
{
    QCOMPARE(twipsPerPixel(96), 15);
    QCOMPARE(twipsPerPixel(120), 12);
    QCOMPARE(twipsPerPixel(144), 10);
    QCOMPARE(twipsPerPixel(0), 15);
}

QTEST_GUILESS_MAIN(TestClockLayout)
#include "tst_clocklayout.moc"
