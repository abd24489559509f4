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

// The default settings with the given radius, ring widths and hour format.
ClockSettings sized(int radius = 48, int width = 18, bool twentyFourHour = false)
{
    ClockSettings settings;
    ResetClockSettings(settings, true);
    ResetClockSettings(settings, false);
    settings.ClockRadius = radius;
    settings.HourCircleWidth = settings.MinuteCircleWidth = settings.SecondCircleWidth = width;
    settings.TwelveOr24Hour = twentyFourHour ? 1 : 0;
    return settings;
}

FaceFrame frameAt(const QTime& time, const ClockSettings& settings, const QString& name = u"Office"_s,
                  const DateTimeTexts& texts = {}, bool active = false, int button = ButtonOutside)
{
    return ComputeFaceFrame(QDateTime(QDate(2026, 12, 6), time, Qt::UTC), settings, name, texts, active, button);
}

QImage render(const ClockSettings& settings, const QTime& time, bool active = false, int button = ButtonOutside)
{
    const ClockLayout layout = ComputeClockLayout(settings);
    QImage image(layout.width(), layout.height(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    DrawClock(painter, layout, CreateDrawingTools(settings), frameAt(time, settings, u"Office"_s, {}, active, button),
              makeButtonStrip());
    return image;
}

// The colour at `degrees` clockwise from three o'clock, in the middle of the ring of `arc`.
QRgb ringPixel(const QImage& image, const QRectF& arc, double degrees)
{
    const QPointF at =
        arc.center() + QPointF(std::cos(degrees * M_PI / 180), std::sin(degrees * M_PI / 180)) * arc.width() / 2;
    return image.pixel(int(std::floor(at.x())), int(std::floor(at.y())));
}

bool near(QRgb actual, QRgb expected, int tolerance = 6)
{
    return std::abs(qRed(actual) - qRed(expected)) <= tolerance &&
           std::abs(qGreen(actual) - qGreen(expected)) <= tolerance &&
           std::abs(qBlue(actual) - qBlue(expected)) <= tolerance &&
           std::abs(qAlpha(actual) - qAlpha(expected)) <= tolerance;
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
        m_settings = sized();
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
        QTest::addColumn<QRectF>("hourArc");
        QTest::addColumn<QRectF>("inner");
        QTest::newRow("defaults: 246 x 246")
            << 48 << 18 << 123 << QRectF(30, 30, 186, 186) << QRectF(66, 66, 114, 114) << QRectF(75, 75, 96, 96);
        QTest::newRow("largest: 598 x 598")
            << 128 << 50 << 299 << QRectF(46, 46, 506, 506) << QRectF(146, 146, 306, 306) << QRectF(171, 171, 256, 256);
        QTest::newRow("odd widths sit on half pixels") << 48 << 15 << 114 << QRectF(28.5, 28.5, 171, 171)
                                                       << QRectF(58.5, 58.5, 111, 111) << QRectF(66, 66, 96, 96);
    }

    void geometry()
    {
        QFETCH(int, radius);
        QFETCH(int, width);
        QFETCH(int, centre);
        QFETCH(QRectF, secondArc);
        QFETCH(QRectF, hourArc);
        QFETCH(QRectF, inner);
        const ClockLayout layout = ComputeClockLayout(sized(radius, width));
        QCOMPARE(QPoint(layout.centreX, layout.centreY), QPoint(centre, centre));
        QCOMPARE(layout.width(), 2 * centre);
        QCOMPARE(layout.face, QRectF(21, 21, 2 * (centre - 21), 2 * (centre - 21)));
        QCOMPARE(layout.secondArc, secondArc);
        // The minute ring lies halfway between the second and hour rings.
        QCOMPARE(layout.minuteArc.topLeft(), (secondArc.topLeft() + hourArc.topLeft()) / 2);
        QCOMPARE(layout.hourArc, hourArc);
        QCOMPARE(layout.inner, inner);
    }

    void ticksCrossTheirRings()
    {
        const ClockLayout twelve = ComputeClockLayout(sized());
        const ClockLayout twentyFour = ComputeClockLayout(sized(48, 18, true));
        QCOMPARE(twelve.hourTickCount, 12);
        QCOMPARE(twentyFour.hourTickCount, 24);
        // Tick 0 lies at three o'clock, from the inner disc to the hour ring's outer edge; minute ticks run
        // across the minute and second rings.
        QCOMPARE(twelve.hourTicks[0], QLineF(123 + 48, 123, 123 + 66, 123));
        QCOMPARE(twelve.minuteTicks[0], QLineF(123 + 66, 123, 123 + 102, 123));
        // Twelve-hour tick 3 and twenty-four-hour tick 6 point down, minute tick 45 up (y grows downwards).
        QVERIFY((twelve.hourTicks[3].p2() - QPointF(123, 123 + 66)).manhattanLength() < 1e-3);
        QVERIFY((twentyFour.hourTicks[6].p2() - QPointF(123, 123 + 66)).manhattanLength() < 1e-3);
        QVERIFY((twelve.minuteTicks[45].p2() - QPointF(123, 123 - 102)).manhattanLength() < 1e-3);
    }

    void buttonStripEdgesBelongToNoButton_data()
    {
        QTest::addColumn<QPoint>("position");
        QTest::addColumn<int>("state");
        QTest::newRow("move") << QPoint(240, 70) << 3;
        QTest::newRow("left edge") << QPoint(225, 30) << 0;
        QTest::newRow("top edge") << QPoint(240, 21) << 0;
        QTest::newRow("between close and settings") << QPoint(240, 42) << 0;
        QTest::newRow("between settings and move") << QPoint(240, 63) << 0;
        QTest::newRow("bottom edge") << QPoint(240, 84) << 0;
    }

    void buttonStripEdgesBelongToNoButton()
    {
        QFETCH(QPoint, position);
        QFETCH(int, state);
        QCOMPARE(buttonStateAt(position, 246), state);
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
        // A shared edge belongs to the first monitor; below the second there is none, and the old one is kept.
        QCOMPARE(QList({monitorAt(monitors, QPoint(10, 10), 5), monitorAt(monitors, QPoint(1500, 10), 0),
                        monitorAt(monitors, QPoint(1280, 10), 1), monitorAt(monitors, QPoint(1500, 900), 1)}),
                 QList({0, 1, 0, 1}));
        // An index that names no monitor keeps to the first one's work area.
        QCOMPARE(workAreaOf(monitors, 1), QRect(1280, 0, 1024, 768));
        QCOMPARE(workAreaOf(monitors, 7), QRect(0, 0, 1280, 994));
        QCOMPARE(QList({twipsPerPixel(120), twipsPerPixel(0)}), QList({12, 15}));
    }

    void frameTextsAndSweeps_data()
    {
        QTest::addColumn<QDateTime>("time");
        QTest::addColumn<bool>("twentyFourHour");
        QTest::addColumn<QString>("timeText");
        QTest::addColumn<QString>("dateText");
        QTest::addColumn<QList<float>>("sweeps"); // hour, minute, second
        QTest::addColumn<bool>("pm");
        const auto at = [](int h, int m, int s) { return QDateTime(QDate(2026, 12, 6), QTime(h, m, s), Qt::UTC); };
        const QString date = u"12/06/2026"_s;
        QTest::newRow("midnight is 12 A with three full circles")
            << at(0, 0, 0) << false << u"12:00:00 A"_s << date << QList{360.f, 360.f, 360.f} << false;
        QTest::newRow("one second past midnight")
            << at(0, 0, 1) << false << u"12:00:01 A"_s << date << QList{360.f, 360.f, 6.f} << false;
        QTest::newRow("afternoon in 12-hour mode ends in P and takes the PM colour")
            << at(15, 4, 5) << false << u"03:04:05 P"_s << date << QList{90.f, 24.f, 30.f} << true;
        QTest::newRow("afternoon in 24-hour mode")
            << at(15, 4, 5) << true << u"15:04:05"_s << date << QList{225.f, 24.f, 30.f} << false;
        QTest::newRow("noon in 12-hour mode is 12 P with a full hour ring")
            << at(12, 0, 30) << false << u"12:00:30 P"_s << date << QList{360.f, 360.f, 180.f} << true;
        QTest::newRow("23:59:59 in 24-hour mode")
            << at(23, 59, 59) << true << u"23:59:59"_s << date << QList{345.f, 354.f, 354.f} << false;
        QTest::newRow("an early year pads the date")
            << QDateTime(QDate(987, 3, 4), QTime(9, 8, 7), Qt::UTC) << true << u"09:08:07"_s << u"03/04/0987"_s
            << QList{135.f, 48.f, 42.f} << false;
    }

    void frameTextsAndSweeps()
    {
        QFETCH(QDateTime, time);
        QFETCH(bool, twentyFourHour);
        QFETCH(QString, timeText);
        QFETCH(QString, dateText);
        QFETCH(QList<float>, sweeps);
        QFETCH(bool, pm);
        const FaceFrame frame = ComputeFaceFrame(time, sized(48, 18, twentyFourHour), u"x"_s, {}, false, -1);
        QCOMPARE(frame.TimeText, timeText);
        QCOMPARE(frame.DateText, dateText);
        QCOMPARE(QList({frame.HourSweep, frame.MinuteSweep, frame.SecondSweep}), sweeps);
        QCOMPARE(frame.pmColour, pm);
    }

    void fontSizes_data()
    {
        QTest::addColumn<int>("radius");
        QTest::addColumn<bool>("twentyFourHour");
        QTest::addColumn<int>("timeSize");
        QTest::addColumn<int>("dateSize");
        QTest::newRow("smallest, 12-hour") << 48 << false << 16 << 12;
        QTest::newRow("largest, 24-hour") << 128 << true << 48 << 32;
        QTest::newRow("odd rounding is made even") << 75 << true << 28 << 18;
    }

    void fontSizes()
    {
        QFETCH(int, radius);
        QFETCH(bool, twentyFourHour);
        QFETCH(int, timeSize);
        QFETCH(int, dateSize);
        const FaceFrame frame = frameAt(QTime(1, 2, 3), sized(radius, 18, twentyFourHour));
        QCOMPARE(frame.TimeFontSize, timeSize);
        QCOMPARE(frame.DateFontSize, dateSize);
        QCOMPARE(evenFontSize(2.5), 2); // halves round to even
        QCOMPARE(evenFontSize(3.5), 4);
    }

    void nameLineAndSeparators()
    {
        // The default clock shows the day in the system's language, the others their names, cut to 8.
        const DateTimeTexts chinese = DateTimeTexts::fromLocale(QLocale(QLocale::Chinese, QLocale::China));
        const auto name = [&](const QString& clock, const DateTimeTexts& texts) {
            return frameAt(QTime(1, 0, 0), sized(), clock, texts).NameText;
        };
        QCOMPARE(QStringList({name(u"Default"_s, {}), name(u"Default"_s, chinese), name(u"Shanghai1"_s, chinese),
                              name(u"default"_s, chinese)}),
                 QStringList({u"Sunday"_s, u"星期日"_s, u"Shanghai"_s, u"default"_s}));
        const DateTimeTexts german = DateTimeTexts::fromLocale(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(frameAt(QTime(15, 4, 5), sized(48, 18, true), u"x"_s, german).TimeText, u"15:04:05"_s);
        QCOMPARE(frameAt(QTime(15, 4, 5), sized(), u"x"_s, german).DateText, u"12.06.2026"_s);
    }

    void nothingOutsideTheFace()
    {
        const ClockLayout layout = ComputeClockLayout(sized());
        const QImage image = render(sized(), QTime(0, 0, 0), true);
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
        QTest::addColumn<QRgb>("colour");
        const QTime midnight(0, 0, 0), quarterPastThree(3, 15, 45), fivePastOne(13, 5, 0);
        const QRgb black = 0xFF000000;
        QTest::newRow("midnight: full hour ring") << midnight << false << 0 << 265.0 << 0xFFDB5C1Cu;
        QTest::newRow("midnight: full second ring") << midnight << false << 2 << 265.0 << 0xFF71A713u;
        QTest::newRow("03:15: hour ring from twelve") << quarterPastThree << false << 0 << 350.0 << 0xFFDB5C1Cu;
        QTest::newRow("03:15: minute ring stops at three") << quarterPastThree << false << 1 << 20.0 << black;
        QTest::newRow("03:15:45: second ring reaches nine") << quarterPastThree << false << 2 << 170.0 << 0xFF71A713u;
        QTest::newRow("03:15:45: second ring stops at nine") << quarterPastThree << false << 2 << 190.0 << black;
        QTest::newRow("13:05, 12-hour: PM colour") << fivePastOne << false << 0 << 285.0 << 0xFFFFC90Eu;
        QTest::newRow("13:05, 12-hour: hour ring stops at one") << fivePastOne << false << 0 << 310.0 << black;
        QTest::newRow("13:05, 24-hour: hour colour") << fivePastOne << true << 0 << 285.0 << 0xFFDB5C1Cu;
    }

    void ringsGrowClockwiseFromTwelve()
    {
        QFETCH(QTime, time);
        QFETCH(bool, twentyFourHour);
        QFETCH(int, ring);
        QFETCH(double, degrees);
        QFETCH(QRgb, colour);
        ClockSettings settings = sized(48, 18, twentyFourHour);
        settings.DisplayScale = 1;
        const ClockLayout layout = ComputeClockLayout(settings);
        const QRectF arc = std::array{layout.hourArc, layout.minuteArc, layout.secondArc}[ring];
        const QRgb pixel = ringPixel(render(settings, time), arc, degrees);
        QVERIFY2(near(pixel, colour), qPrintable(QString::number(pixel, 16)));
    }

    void scaleOpacityAndFocus()
    {
        ClockSettings settings = sized();
        settings.ClockScaleColor = qint32(0xFFFF00FF);
        settings.BackgroundOpacity = 6; // drawn like 80%
        // At 01:00 the hour ring covers only twelve to one o'clock: at nine o'clock the scale's inner
        // circle lies on the bare disc.
        const QPoint onInnerCircle(123 - 48, 123);
        const QRgb shown = render(settings, QTime(1, 0, 30)).pixel(onInnerCircle);
        QVERIFY2(qRed(shown) > 100 && qBlue(shown) > 100, qPrintable(QString::number(shown, 16)));
        settings.DisplayScale = 1;
        const QImage hidden = render(settings, QTime(1, 0, 30));
        QVERIFY(near(hidden.pixel(onInnerCircle), 0xDD000000, 2));
        QCOMPARE(qAlpha(ringPixel(hidden, ComputeClockLayout(settings).hourArc, 90)), 0xDD);
        // The focus ring shows while the window is active.
        const QPoint onFocusRing(123, 20);
        QCOMPARE(qAlpha(hidden.pixel(onFocusRing)), 0);
        const QRgb focus = render(settings, QTime(1, 0, 0), true).pixel(onFocusRing);
        QVERIFY2(qBlue(focus) > qRed(focus) && qAlpha(focus) > 0, qPrintable(QString::number(focus, 16)));
    }

    void buttonStripOnlyWhileTheMouseIsInside()
    {
        const QPoint closeButton(246 - 11, 21 + 10);
        QCOMPARE(qAlpha(render(sized(), QTime(1, 0, 0), false, ButtonOutside).pixel(closeButton)), 0);
        QVERIFY(qAlpha(render(sized(), QTime(1, 0, 0), false, ButtonNone).pixel(closeButton)) > 0);
        const QRgb lit = render(sized(), QTime(1, 0, 0), false, ButtonClose).pixel(closeButton - QPoint(5, 5));
        QVERIFY2(qRed(lit) > 150 && qGreen(lit) < 100, qPrintable(QString::number(lit, 16)));
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

    void secondByPiecesDrawsTheSamePixelsAsWholeFrames_data()
    {
        QTest::addColumn<int>("radius");
        QTest::addColumn<int>("width");
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<bool>("blueNight");
        for (const bool blueNight : {false, true}) {
            const char* look = blueNight ? "blue night" : "default";
            QTest::addRow("246 px, %s", look) << 48 << 18 << 1.0 << blueNight;
            QTest::addRow("598 px, %s", look) << 128 << 50 << 1.0 << blueNight;
        }
        QTest::newRow("246 px on a screen scaled 1.5 times") << 48 << 18 << 1.5 << false;
    }

    void secondByPiecesDrawsTheSamePixelsAsWholeFrames()
    {
        // Every second of a minute, and the change into the next minute, drawn as the window draws them
        // (only what changed) must show exactly what a whole new frame shows.
        QFETCH(int, radius);
        QFETCH(int, width);
        QFETCH(qreal, ratio);
        QFETCH(bool, blueNight);
        ClockSettings settings = sized(radius, width);
        if (blueNight) {
            settings.TimeFontColor = qint32(0xFF0099FF);
            settings.DateFontColor = settings.ClockScaleColor = qint32(0xCC00B0E4);
            settings.BackgroundOpacity = 3;
        }
        const ClockLayout layout = ComputeClockLayout(settings);
        const DrawingTools tools = CreateDrawingTools(settings);
        const QImage strip = makeButtonStrip();
        const auto blank = [&] {
            QImage image(QSize(layout.width(), layout.height()) * ratio, QImage::Format_ARGB32_Premultiplied);
            image.setDevicePixelRatio(ratio);
            image.fill(Qt::transparent);
            return image;
        };
        QImage byPieces = blank();
        FaceFrame shown;
        for (int second = 0; second <= 61; ++second) {
            const FaceFrame frame = frameAt(QTime(10, 20, 0).addSecs(second), settings);
            DrawClockChange(byPieces, layout, tools, shown, frame, strip);
            shown = frame;
            QImage whole = blank();
            QPainter painter(&whole);
            DrawClock(painter, layout, tools, frame, strip);
            painter.end();
            QVERIFY2(byPieces == whole, qPrintable(frame.TimeText));
        }
    }

    void shapeCoversTheFaceInDevicePixels_data()
    {
        QTest::addColumn<qreal>("ratio");
        QTest::newRow("unscaled") << 1.0;
        QTest::newRow("scaled 1.5 times") << 1.5;
        QTest::newRow("scaled twice") << 2.0;
    }

    void shapeCoversTheFaceInDevicePixels()
    {
        // On a scaled screen the window has more device pixels than logical ones; a shape cut in logical
        // pixels would show a fragment of the face and take clicks in the wrong places.
        QFETCH(qreal, ratio);
        const ClockLayout layout = ComputeClockLayout(sized());
        const QRect face = QRectF(layout.face.topLeft() * ratio, layout.face.size() * ratio).toAlignedRect();
        const QRegion shape = windowShape(layout, false, ratio);
        QVERIFY(shape.boundingRect().contains(face.adjusted(2, 2, -2, -2)));
        QVERIFY(qAbs(shape.boundingRect().width() - face.width()) <= 8 * ratio);
        QVERIFY(shape.contains(face.center()) && shape.contains(QPoint(face.center().x(), face.bottom() - 2)));
        QVERIFY(!shape.contains(face.topLeft())); // the corners stay out, and pass clicks through
        const QRegion withStrip = windowShape(layout, true, ratio);
        QVERIFY(withStrip.contains(QPointF(QPointF(layout.width() - 10, 40) * ratio).toPoint()));
    }

    void idleWindowWakesOnlyOnTheSecond()
    {
        // Nothing but the tick runs while the mouse is away, and it is armed for the next second boundary.
        openWindow();
        m_time.now = m_time.now.addMSecs(250);
        m_window->rebuild();
        QTest::keyClick(m_window.get(), Qt::Key_PageDown); // a key changes nothing in this
        QList<QTimer*> running;
        for (QTimer* timer : m_window->findChildren<QTimer*>())
            if (timer->isActive())
                running.append(timer);
        QCOMPARE(running.size(), 1);
        QVERIFY(running.first()->isSingleShot());
        QVERIFY(qAbs(running.first()->remainingTime() - 753) <= 3 || running.first()->interval() >= 750);
    }
};

QTEST_MAIN(TestClock)
#include "tst_clock.moc"
