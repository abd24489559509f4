#include "FakePlatform.h"
#include "clock/ClockLayout.h"
#include "clock/ClockWindow.h"
#include "clock/FaceFrame.h"
#include "clock/FaceRenderer.h"
#include "clock/WindowPlacement.h"
#include "platform/WindowSystem.h"
#include "settings/ClockSettings.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>

#include <cmath>

using namespace kiv;
using namespace Qt::StringLiterals;

namespace {

ClockSettings defaults()
{
    ClockSettings settings;
    ResetClockSettings(settings, true);
    ResetClockSettings(settings, false);
    return settings;
}

ClockSettings sized(int radius, int width, bool twentyFourHour = false)
{
    ClockSettings settings = defaults();
    settings.ClockRadius = radius;
    settings.HourCircleWidth = settings.MinuteCircleWidth = settings.SecondCircleWidth = width;
    settings.TwelveOr24Hour = twentyFourHour ? 1 : 0;
    return settings;
}

QDateTime at(int hour, int minute, int second)
{
    return QDateTime(QDate(2026, 12, 6), QTime(hour, minute, second), Qt::UTC);
}

FaceFrame frameAt(const QDateTime& time, const ClockSettings& settings, const QString& name = u"Office"_s,
                  const DateTimeTexts& texts = {}, bool active = false, int button = ButtonOutside)
{
    return ComputeFaceFrame(time, settings, name, texts, active, button);
}

QImage render(const ClockSettings& settings, const QTime& time, bool active = false, int button = ButtonOutside)
{
    const ClockLayout layout = ComputeClockLayout(settings);
    QImage image(layout.width(), layout.height(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    DrawClock(painter, layout, CreateDrawingTools(settings),
              frameAt(QDateTime(QDate(2026, 12, 6), time, Qt::UTC), settings, u"Office"_s, {}, active, button),
              makeButtonStrip());
    return image;
}

// The colour at `degrees` clockwise from three o'clock, in the middle of the ring of `arc`.
QRgb ringPixel(const QImage& image, const QRectF& arc, double degrees)
{
    const double radians = degrees * M_PI / 180;
    const QPointF c = arc.center();
    return image.pixel(int(std::floor(c.x() + std::cos(radians) * arc.width() / 2)),
                       int(std::floor(c.y() + std::sin(radians) * arc.width() / 2)));
}

bool near(QRgb actual, quint32 argb, int tolerance = 6)
{
    return std::abs(qRed(actual) - int((argb >> 16) & 0xFF)) <= tolerance &&
           std::abs(qGreen(actual) - int((argb >> 8) & 0xFF)) <= tolerance &&
           std::abs(qBlue(actual) - int(argb & 0xFF)) <= tolerance &&
           std::abs(qAlpha(actual) - int(argb >> 24)) <= tolerance;
}

QString describe(QRgb pixel)
{
    return QString::number(pixel, 16);
}

} // namespace

// The face's geometry, what each frame shows, how it is drawn, and what the window does with the mouse
// and the keys (on the offscreen platform; tst_clockwindow runs the real program).
class TestClock final : public QObject
{
    Q_OBJECT

    ClockSettings m_settings;
    ClockLayout m_layout;
    test::FixedTimeSource m_time;
    std::unique_ptr<WindowSystem> m_windowSystem = createWindowSystem();
    QList<MonitorInfo> m_monitors{{QRect(0, 0, 1280, 1024), QRect(0, 0, 1280, 1024)}};
    std::unique_ptr<ClockWindow> m_window;
    QStringList m_calls;

    void openWindow()
    {
        m_settings = defaults();
        m_layout = ComputeClockLayout(m_settings);
        m_time.now = QDateTime(QDate(2026, 12, 6), QTime(9, 30, 0), Qt::LocalTime);
        ClockWindowActions actions;
        actions.exitClock = [this](bool save) { m_calls.append(save ? u"exit save"_s : u"exit"_s); };
        actions.openSettings = [this](QWidget* owner) { m_calls.append(owner ? u"settings owned"_s : u"settings"_s); };
        actions.openAbout = [this] { m_calls.append(u"about"_s); };
        actions.openMenu = [this](QPoint) { m_calls.append(u"menu"_s); };
        m_window = std::make_unique<ClockWindow>(
            ClockWindowContext{u"Office"_s, m_settings, m_layout, m_time, *m_windowSystem, m_monitors, 15, 15},
            actions);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

private slots:
    void cleanup()
    {
        m_window.reset();
        m_calls.clear();
    }

    void geometry_data()
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

    void geometry()
    {
        QFETCH(int, radius);
        QFETCH(int, width);
        QFETCH(int, centre);
        QFETCH(QRectF, secondArc);
        QFETCH(QRectF, minuteArc);
        QFETCH(QRectF, hourArc);
        QFETCH(QRectF, inner);
        const ClockLayout layout = ComputeClockLayout(sized(radius, width));
        QCOMPARE(QPoint(layout.centreX, layout.centreY), QPoint(centre, centre));
        QCOMPARE(layout.width(), 2 * centre);
        QCOMPARE(layout.innerDiameter, 2 * radius);
        QCOMPARE(layout.face, QRectF(21, 21, 2 * (centre - 21), 2 * (centre - 21)));
        QCOMPARE(layout.secondArc, secondArc);
        QCOMPARE(layout.minuteArc, minuteArc);
        QCOMPARE(layout.hourArc, hourArc);
        QCOMPARE(layout.inner, inner);
        QCOMPARE(layout.hourOuter, QRectF(21 + 2 * width, 21 + 2 * width, 2 * (radius + width), 2 * (radius + width)));
        QCOMPARE(layout.minuteOuter,
                 QRectF(21 + width, 21 + width, 2 * (radius + 2 * width), 2 * (radius + 2 * width)));
    }

    void ticksCrossTheirRings()
    {
        const ClockLayout twelve = ComputeClockLayout(sized(48, 18));
        const ClockLayout twentyFour = ComputeClockLayout(sized(48, 18, true));
        QCOMPARE(twelve.hourTickCount, 12);
        QCOMPARE(twentyFour.hourTickCount, 24);
        // Tick 0 lies at three o'clock, from the inner disc to the hour ring's outer edge.
        QCOMPARE(twelve.hourTicks[0], QLineF(123 + 48, 123, 123 + 66, 123));
        // Twelve-hour tick 3 and twenty-four-hour tick 6 both point down (y grows downwards).
        QVERIFY((twelve.hourTicks[3].p2() - QPointF(123, 123 + 66)).manhattanLength() < 1e-3);
        QVERIFY((twentyFour.hourTicks[6].p2() - QPointF(123, 123 + 66)).manhattanLength() < 1e-3);
        // Minute ticks run across the minute and second rings.
        QCOMPARE(twelve.minuteTicks[0], QLineF(123 + 66, 123, 123 + 102, 123));
        QVERIFY(qAbs(twelve.minuteTicks[45].p2().y() - (123 - 102)) < 1e-3);
    }

    void buttonStateAt_data()
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

    void buttonStateAt()
    {
        QFETCH(QPoint, position);
        QFETCH(int, state);
        QCOMPARE(kiv::buttonStateAt(position, 246), state);
    }

    void clampToWorkArea_data()
    {
        QTest::addColumn<QPoint>("pixels");
        QTest::addColumn<QRect>("workArea");
        QTest::addColumn<QPoint>("expected");
        const QRect screen(0, 0, 1280, 1024);
        QTest::newRow("inside stays") << QPoint(100, 100) << screen << QPoint(100, 100);
        QTest::newRow("past the right edge") << QPoint(1100, 100) << screen << QPoint(1034, 100);
        QTest::newRow("past the left edge") << QPoint(-40, 100) << screen << QPoint(0, 100);
        QTest::newRow("past the bottom edge") << QPoint(100, 900) << screen << QPoint(100, 778);
        QTest::newRow("above a work area at 0 stays above") << QPoint(100, -50) << screen << QPoint(100, -50);
        QTest::newRow("above a panel on top comes back")
            << QPoint(100, 10) << QRect(0, 30, 1280, 994) << QPoint(100, 30);
        QTest::newRow("second monitor") << QPoint(1270, 0) << QRect(1280, 0, 1024, 768) << QPoint(1280, 0);
    }

    void clampToWorkArea()
    {
        QFETCH(QPoint, pixels);
        QFETCH(QRect, workArea);
        QFETCH(QPoint, expected);
        QCOMPARE(kiv::clampToWorkArea(pixels * 15, QSize(246, 246), workArea, 15, 15), expected * 15);
    }

    void monitorUnderTheCursor()
    {
        const QList<MonitorInfo> monitors{{QRect(0, 0, 1280, 1024), QRect(0, 0, 1280, 994)},
                                          {QRect(1280, 0, 1024, 768), QRect(1280, 0, 1024, 768)}};
        QCOMPARE(monitorAt(monitors, QPoint(10, 10), 5), 0);
        QCOMPARE(monitorAt(monitors, QPoint(1500, 10), 0), 1);
        QCOMPARE(monitorAt(monitors, QPoint(1280, 10), 1), 0);  // a shared edge belongs to the first
        QCOMPARE(monitorAt(monitors, QPoint(1500, 900), 1), 1); // below the second: no monitor, kept
        QCOMPARE(workAreaOf(monitors, 1), QRect(1280, 0, 1024, 768));
        QCOMPARE(workAreaOf(monitors, 7), QRect(0, 0, 1280, 994));
        QCOMPARE(twipsPerPixel(96), 15);
        QCOMPARE(twipsPerPixel(120), 12);
        QCOMPARE(twipsPerPixel(0), 15);
    }

    void frameTextsAndSweeps_data()
    {
        QTest::addColumn<QDateTime>("time");
        QTest::addColumn<bool>("twentyFourHour");
        QTest::addColumn<QString>("timeText");
        QTest::addColumn<QString>("dateText");
        QTest::addColumn<float>("hour");
        QTest::addColumn<float>("minute");
        QTest::addColumn<float>("second");
        QTest::addColumn<bool>("pm");
        const QString date = u"12/06/2026"_s;
        QTest::newRow("midnight is 12 A with three full circles")
            << at(0, 0, 0) << false << u"12:00:00 A"_s << date << 360.f << 360.f << 360.f << false;
        QTest::newRow("one second past midnight")
            << at(0, 0, 1) << false << u"12:00:01 A"_s << date << 360.f << 360.f << 6.f << false;
        QTest::newRow("afternoon in 12-hour mode ends in P and takes the PM colour")
            << at(15, 4, 5) << false << u"03:04:05 P"_s << date << 90.f << 24.f << 30.f << true;
        QTest::newRow("afternoon in 24-hour mode")
            << at(15, 4, 5) << true << u"15:04:05"_s << date << 225.f << 24.f << 30.f << false;
        QTest::newRow("noon in 12-hour mode is 12 P with a full hour ring")
            << at(12, 0, 30) << false << u"12:00:30 P"_s << date << 360.f << 360.f << 180.f << true;
        QTest::newRow("23:59:59 in 24-hour mode")
            << at(23, 59, 59) << true << u"23:59:59"_s << date << 345.f << 354.f << 354.f << false;
        QTest::newRow("an early year pads the date")
            << QDateTime(QDate(987, 3, 4), QTime(9, 8, 7), Qt::UTC) << true << u"09:08:07"_s << u"03/04/0987"_s << 135.f
            << 48.f << 42.f << false;
    }

    void frameTextsAndSweeps()
    {
        QFETCH(QDateTime, time);
        QFETCH(bool, twentyFourHour);
        QFETCH(QString, timeText);
        QFETCH(QString, dateText);
        QFETCH(float, hour);
        QFETCH(float, minute);
        QFETCH(float, second);
        QFETCH(bool, pm);
        const FaceFrame frame = frameAt(time, sized(48, 18, twentyFourHour));
        QCOMPARE(frame.TimeText, timeText);
        QCOMPARE(frame.DateText, dateText);
        QCOMPARE(frame.HourSweep, hour);
        QCOMPARE(frame.MinuteSweep, minute);
        QCOMPARE(frame.SecondSweep, second);
        QCOMPARE(frame.pmColour, pm);
    }

    void fontSizes_data()
    {
        QTest::addColumn<int>("radius");
        QTest::addColumn<bool>("twentyFourHour");
        QTest::addColumn<int>("timeSize");
        QTest::addColumn<int>("dateSize");
        QTest::newRow("smallest, 24-hour") << 48 << true << 18 << 12;
        QTest::newRow("smallest, 12-hour") << 48 << false << 16 << 12;
        QTest::newRow("largest, 24-hour") << 128 << true << 48 << 32;
        QTest::newRow("largest, 12-hour") << 128 << false << 42 << 32;
        QTest::newRow("odd rounding is made even") << 75 << true << 28 << 18;
    }

    void fontSizes()
    {
        QFETCH(int, radius);
        QFETCH(bool, twentyFourHour);
        QFETCH(int, timeSize);
        QFETCH(int, dateSize);
        const FaceFrame frame = frameAt(at(1, 2, 3), sized(radius, 18, twentyFourHour));
        QCOMPARE(frame.TimeFontSize, timeSize);
        QCOMPARE(frame.DateFontSize, dateSize);
        QCOMPARE(evenFontSize(2.5), 2); // halves round to even
        QCOMPARE(evenFontSize(3.5), 4);
    }

    void nameLineAndSeparators()
    {
        const DateTimeTexts chinese = DateTimeTexts::fromLocale(QLocale(QLocale::Chinese, QLocale::China));
        const ClockSettings settings = defaults();
        QCOMPARE(frameAt(at(1, 0, 0), settings, u"Default"_s).NameText, u"Sunday"_s);
        QCOMPARE(frameAt(at(1, 0, 0), settings, u"Default"_s, chinese).NameText, u"星期日"_s);
        QCOMPARE(frameAt(at(1, 0, 0), settings, u"Shanghai1"_s, chinese).NameText, u"Shanghai"_s);
        QCOMPARE(frameAt(at(1, 0, 0), settings, u"default"_s, chinese).NameText, u"default"_s);
        const DateTimeTexts german = DateTimeTexts::fromLocale(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(german.timeSeparator, QChar(u':'));
        QCOMPARE(frameAt(at(15, 4, 5), settings, u"x"_s, german).DateText, u"12.06.2026"_s);
        QCOMPARE(DateTimeTexts::fromLocale(QLocale::c()).dateSeparator, QChar(u'/'));
    }

    void nothingOutsideTheFace()
    {
        const ClockLayout layout = ComputeClockLayout(defaults());
        const QImage image = render(defaults(), QTime(0, 0, 0), true);
        // Every pixel further out than the face and its focus ring stays fully transparent.
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (std::hypot(x + 0.5 - layout.centreX, y + 0.5 - layout.centreY) > layout.faceRadius() + 3)
                    QVERIFY2(qAlpha(image.pixel(x, y)) == 0, qPrintable(u"%1,%2"_s.arg(x).arg(y)));
            }
        }
        QCOMPARE(qAlpha(image.pixel(layout.centreX, layout.centreY - 30)), 255);
    }

    void ringsGrowClockwiseFromTwelve_data()
    {
        QTest::addColumn<QTime>("time");
        QTest::addColumn<bool>("twentyFourHour");
        QTest::addColumn<int>("ring"); // 0 hour, 1 minute, 2 second
        QTest::addColumn<double>("degrees");
        QTest::addColumn<quint32>("colour");
        const QTime midnight(0, 0, 0);
        const QTime quarterPastThree(3, 15, 45);
        const QTime fivePastOne(13, 5, 0);
        QTest::newRow("at midnight the hour ring is full at three o'clock")
            << midnight << false << 0 << 0.0 << 0xFFDB5C1Cu;
        QTest::newRow("at midnight the minute ring is full at nine o'clock")
            << midnight << false << 1 << 180.0 << 0xFF2272CDu;
        QTest::newRow("at midnight the second ring is full just before twelve")
            << midnight << false << 2 << 265.0 << 0xFF71A713u;
        QTest::newRow("at 03:15:45 the hour ring covers twelve to three")
            << quarterPastThree << false << 0 << 350.0 << 0xFFDB5C1Cu;
        QTest::newRow("at 03:15:45 the hour ring stops at three")
            << quarterPastThree << false << 0 << 20.0 << 0xFF000000u;
        QTest::newRow("at 03:15:45 the minute ring stops at three")
            << quarterPastThree << false << 1 << 20.0 << 0xFF000000u;
        QTest::newRow("at 03:15:45 the second ring reaches nine")
            << quarterPastThree << false << 2 << 170.0 << 0xFF71A713u;
        QTest::newRow("at 03:15:45 the second ring stops at nine")
            << quarterPastThree << false << 2 << 190.0 << 0xFF000000u;
        QTest::newRow("at 13:05 in 12-hour mode the hour ring takes the PM colour")
            << fivePastOne << false << 0 << 285.0 << 0xFFFFC90Eu;
        QTest::newRow("at 13:05 in 12-hour mode the hour ring stops at one")
            << fivePastOne << false << 0 << 310.0 << 0xFF000000u;
        QTest::newRow("at 13:05 in 24-hour mode the hour ring keeps its colour")
            << fivePastOne << true << 0 << 285.0 << 0xFFDB5C1Cu;
    }

    void ringsGrowClockwiseFromTwelve()
    {
        QFETCH(QTime, time);
        QFETCH(bool, twentyFourHour);
        QFETCH(int, ring);
        QFETCH(double, degrees);
        QFETCH(quint32, colour);
        ClockSettings settings = sized(48, 18, twentyFourHour);
        settings.DisplayScale = 1;
        const ClockLayout layout = ComputeClockLayout(settings);
        const QRgb pixel = ringPixel(render(settings, time),
                                     std::array{layout.hourArc, layout.minuteArc, layout.secondArc}[ring], degrees);
        QVERIFY2(near(pixel, colour), qPrintable(describe(pixel)));
    }

    void scaleDrawsOnlyWhenShown()
    {
        ClockSettings settings = defaults();
        settings.ClockScaleColor = qint32(0xFFFF00FF);
        const ClockLayout layout = ComputeClockLayout(settings);
        // The inner circle of the scale at nine o'clock, which no ring or text covers at 01:00.
        const QPoint onInnerCircle(layout.centreX - 48, layout.centreY);
        const QRgb shown = render(settings, QTime(1, 0, 30)).pixel(onInnerCircle);
        settings.DisplayScale = 1;
        const QRgb hidden = render(settings, QTime(1, 0, 30)).pixel(onInnerCircle);
        QVERIFY2(qRed(shown) > 100 && qBlue(shown) > 100, qPrintable(describe(shown)));
        QVERIFY2(near(hidden, 0xFF000000, 2), qPrintable(describe(hidden)));
    }

    void focusRingAndButtonStrip()
    {
        ClockSettings settings = defaults();
        settings.DisplayScale = 1; // the scale's outer circle would touch the same pixels
        const QPoint onFocusRing(123, 20);
        QCOMPARE(qAlpha(render(settings, QTime(1, 0, 0), false).pixel(onFocusRing)), 0);
        const QRgb focus = render(settings, QTime(1, 0, 0), true).pixel(onFocusRing);
        QVERIFY2(qBlue(focus) > qRed(focus) && qAlpha(focus) > 0, qPrintable(describe(focus)));
        // The button strip shows only while the mouse is inside, its close button red under the mouse.
        const QPoint closeButton(246 - 11, 21 + 10);
        QCOMPARE(qAlpha(render(settings, QTime(1, 0, 0), false, ButtonOutside).pixel(closeButton)), 0);
        QVERIFY(qAlpha(render(settings, QTime(1, 0, 0), false, ButtonNone).pixel(closeButton)) > 0);
        const QRgb lit = render(settings, QTime(1, 0, 0), false, ButtonClose).pixel(closeButton - QPoint(5, 5));
        QVERIFY2(qRed(lit) > 150 && qGreen(lit) < 100, qPrintable(describe(lit)));
    }

    void opacityStepsSetTheDiscAlpha_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("alpha");
        QTest::newRow("100%") << 0 << 0xFF;
        QTest::newRow("90%") << 1 << 0xEE;
        QTest::newRow("50%") << 5 << 0xAA;
        QTest::newRow("step 6 draws like 80%") << 6 << 0xDD;
    }

    void opacityStepsSetTheDiscAlpha()
    {
        QFETCH(int, step);
        QFETCH(int, alpha);
        ClockSettings settings = defaults();
        settings.BackgroundOpacity = step;
        settings.DisplayScale = 1;
        // In the hour ring's empty part at 01:00 nothing but the disc is drawn.
        const QImage image = render(settings, QTime(1, 0, 30));
        QCOMPARE(qAlpha(ringPixel(image, ComputeClockLayout(settings).hourArc, 90)), alpha);
    }

    void windowInputsAskForTheirActions_data()
    {
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<QPoint>("position");
        QTest::addColumn<QString>("call"); // empty: none
        const QPoint face(120, 120);
        QTest::newRow("a click on the close button exits with saving") << "click" << QPoint(236, 30) << u"exit save"_s;
        QTest::newRow("a click on the settings button opens the settings owned by the clock")
            << "click" << QPoint(236, 52) << u"settings owned"_s;
        QTest::newRow("a click on the face does nothing") << "click" << face << QString();
        QTest::newRow("a double click on the face opens the about box") << "double" << face << u"about"_s;
        QTest::newRow("a double click on the move button does nothing") << "double" << QPoint(236, 73) << QString();
        QTest::newRow("releasing the right button opens the menu") << "right" << face << u"menu"_s;
        QTest::newRow("Page Up opens the settings without an owner") << "Page Up" << face << u"settings"_s;
        QTest::newRow("closing the window exits with saving") << "close" << face << u"exit save"_s;
    }

    void windowInputsAskForTheirActions()
    {
        QFETCH(QString, gesture);
        QFETCH(QPoint, position);
        QFETCH(QString, call);
        openWindow();
        ClockWindow* window = m_window.get();
        QTest::mouseMove(window, QPoint(1, 1)); // the pointer may already be at `position` from the last row
        QTest::mouseMove(window, position);
        if (gesture == u"click") {
            QTest::mouseClick(window, Qt::LeftButton, {}, position);
        } else if (gesture == u"double") {
            QMouseEvent doubleClick(QEvent::MouseButtonDblClick, position, window->mapToGlobal(QPointF(position)),
                                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(window, &doubleClick);
        } else if (gesture == u"right") {
            QTest::mousePress(window, Qt::RightButton, {}, position);
            QVERIFY(m_calls.isEmpty());
            QTest::mouseRelease(window, Qt::RightButton, {}, position);
        } else if (gesture == u"Page Up") {
            QTest::keyClick(window, Qt::Key_PageUp);
        } else {
            window->close();
        }
        QCOMPARE(m_calls.join(u','), call);
    }

    void unchangedFramesAreNotDrawnAgain()
    {
        openWindow();
        m_window->redraw();
        QVERIFY(!m_window->redraw());
        m_time.now = m_time.now.addSecs(1);
        QVERIFY(m_window->redraw());
        QVERIFY(!m_window->redraw());
        // Page Down hides the scale and draws at once.
        const QImage withScale = m_window->faceImage();
        QTest::keyClick(m_window.get(), Qt::Key_PageDown);
        QCOMPARE(m_settings.DisplayScale, 1);
        QVERIFY(m_window->faceImage() != withScale);
        QTest::keyClick(m_window.get(), Qt::Key_PageDown);
        QCOMPARE(m_settings.DisplayScale, 0);
        QCOMPARE(m_window->faceImage(), withScale);
    }
};

QTEST_MAIN(TestClock)
#include "tst_clock.moc"
