#include "FakePlatform.h"
#include "KivTest.h"
#include "clock/ClockIcon.h"
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

#include <cmath>

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

    void geometryTicksAndFontSizes()
    {
        // The radius, the ring width, 24-hour mode, the centre, the second and hour rings, the inner disc, the
        // time and date font sizes: the defaults (246 x 246, 12 hours); the largest (598 x 598, 24 hours); odd
        // widths on half pixels, and font sizes made even.
        const std::tuple<int, int, bool, int, QRectF, QRectF, QRectF, QList<int>> rows[] = {
            {48, 18, false, 123, {30, 30, 186, 186}, {66, 66, 114, 114}, {75, 75, 96, 96}, {16, 12}},
            {128, 50, true, 299, {46, 46, 506, 506}, {146, 146, 306, 306}, {171, 171, 256, 256}, {48, 32}},
            {75, 15, true, 141, {28.5, 28.5, 225, 225}, {58.5, 58.5, 165, 165}, {66, 66, 150, 150}, {28, 18}}};
        for (const auto& [radius, width, twentyFourHour, c, secondArc, hourArc, inner, fonts] : rows) {
            const ClockSettings settings = sized(radius, width, twentyFourHour);
            const ClockLayout layout = ComputeClockLayout(settings);
            QCOMPARE(QList({layout.centreX, layout.centreY, layout.width()}), QList({c, c, 2 * c}));
            QCOMPARE(QList({layout.face, layout.secondArc, layout.hourArc, layout.inner}),
                     QList({QRectF(21, 21, 2 * (c - 21), 2 * (c - 21)), secondArc, hourArc, inner}));
            // The minute ring lies halfway between the second and hour rings.
            QCOMPARE(layout.minuteArc.topLeft(), (secondArc.topLeft() + hourArc.topLeft()) / 2);
            // One hour tick per hour of the dial, from the inner disc across the hour ring; minute ticks on
            // across the minute and second rings. Tick 0 lies at three o'clock, a quarter on straight down.
            const qreal hourOuter = hourArc.right() + width / 2.0;
            QCOMPARE(layout.hourTickCount, twentyFourHour ? 24 : 12);
            QCOMPARE(layout.hourTicks[0], QLineF(c + radius, c, hourOuter, c));
            QCOMPARE(layout.minuteTicks[0], QLineF(hourOuter, c, layout.face.right(), c));
            QVERIFY((layout.hourTicks[layout.hourTickCount / 4].p2() - QPointF(c, hourOuter)).manhattanLength() < 1e-3);
            const FaceFrame frame = frameAt(QTime(1, 2, 3), settings);
            QCOMPARE(QList({frame.TimeFontSize, frame.DateFontSize}), fonts);
        }
        QCOMPARE(QList({evenFontSize(2.5), evenFontSize(3.5)}), QList({2, 4})); // halves round to even
    }

    void placementOnMonitors()
    {
        // Inside stays; past the right, left and bottom edges comes back; above a work area at 0 stays above,
        // above a panel on top comes back; on a second monitor.
        const QRect screen(0, 0, 1280, 1024);
        const std::tuple<QPoint, QRect, QPoint> rows[] = {{{100, 100}, screen, {100, 100}},
                                                          {{1100, 100}, screen, {1034, 100}},
                                                          {{-40, 100}, screen, {0, 100}},
                                                          {{100, 900}, screen, {100, 778}},
                                                          {{100, -50}, screen, {100, -50}},
                                                          {{100, 10}, {0, 30, 1280, 994}, {100, 30}},
                                                          {{1270, 0}, {1280, 0, 1024, 768}, {1280, 0}}};
        for (const auto& [pixels, workArea, expected] : rows)
            QCOMPARE(kiv::clampToWorkArea(pixels * 15, QSize(246, 246), workArea, 15, 15), expected * 15);
        // The monitor under the cursor, and the work area of a monitor.
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

    void frameTextsSweepsAndNameLine()
    {
        // The time, 24-hour mode, the time and date texts, the hour, minute and second sweeps, the PM colour:
        // midnight is 12 A with three full circles; a second past it; the afternoon in 12-hour mode ends in P
        // and takes the PM colour, in 24-hour mode not; noon is 12 P with a full hour ring; 23:59:59; an early
        // year pads the date.
        const auto at = [](int h, int m, int s) { return QDateTime(QDate(2026, 12, 6), QTime(h, m, s), Qt::UTC); };
        const QString date = u"12/06/2026"_s;
        const std::tuple<QDateTime, bool, QString, QString, QList<float>, bool> rows[] = {
            {at(0, 0, 0), false, u"12:00:00 A"_s, date, {360, 360, 360}, false},
            {at(0, 0, 1), false, u"12:00:01 A"_s, date, {360, 360, 6}, false},
            {at(15, 4, 5), false, u"03:04:05 P"_s, date, {90, 24, 30}, true},
            {at(15, 4, 5), true, u"15:04:05"_s, date, {225, 24, 30}, false},
            {at(12, 0, 30), false, u"12:00:30 P"_s, date, {360, 360, 180}, true},
            {at(23, 59, 59), true, u"23:59:59"_s, date, {345, 354, 354}, false},
            {QDateTime(QDate(987, 3, 4), QTime(9, 8, 7), Qt::UTC),
             true,
             u"09:08:07"_s,
             u"03/04/0987"_s,
             {135, 48, 42},
             false}};
        for (const auto& [time, twentyFourHour, timeText, dateText, sweeps, pm] : rows) {
            const FaceFrame frame = ComputeFaceFrame(time, sized(48, 18, twentyFourHour), u"x"_s, {}, false, -1);
            QCOMPARE(std::pair(frame.TimeText, frame.DateText), std::pair(timeText, dateText));
            QCOMPARE(QList({frame.HourSweep, frame.MinuteSweep, frame.SecondSweep}), sweeps);
            QCOMPARE(frame.pmColour, pm);
        }
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

    void ringsGrowClockwiseFromTwelve()
    {
        // The time, 24-hour mode, the ring (0 hour, 1 minute, 2 second), where on it, the colour there.
        const QTime midnight(0, 0, 0), quarterPastThree(3, 15, 45), fivePastOne(13, 5, 0);
        const QRgb black = 0xFF000000, hour = 0xFFDB5C1C, second = 0xFF71A713;
        const std::tuple<QTime, bool, int, double, QRgb> rows[] = {
            {midnight, false, 0, 265.0, hour},           // a full hour ring
            {midnight, false, 2, 265.0, second},         // a full second ring
            {quarterPastThree, false, 0, 350.0, hour},   // the hour ring from twelve
            {quarterPastThree, false, 1, 20.0, black},   // the minute ring stops at three
            {quarterPastThree, false, 2, 170.0, second}, // the second ring reaches nine
            {quarterPastThree, false, 2, 190.0, black},  // and stops there
            {fivePastOne, false, 0, 285.0, 0xFFFFC90E},  // 12-hour: the PM colour
            {fivePastOne, false, 0, 310.0, black},       // the hour ring stops at one
            {fivePastOne, true, 0, 285.0, hour}};        // 24-hour: the hour colour
        for (const auto& [time, twentyFourHour, ring, degrees, colour] : rows) {
            ClockSettings settings = sized(48, 18, twentyFourHour);
            settings.DisplayScale = 1;
            const ClockLayout layout = ComputeClockLayout(settings);
            const QRectF arc = std::array{layout.hourArc, layout.minuteArc, layout.secondArc}[ring];
            const QRgb pixel = ringPixel(render(settings, time), arc, degrees);
            QVERIFY2(near(pixel, colour), qPrintable(time.toString() + u" "_s + QString::number(pixel, 16)));
        }
    }

    void drawingStaysOnTheFaceWithScaleOpacityFocusAndButtons()
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
        // The button strip shows only while the mouse is inside, the button under it lit.
        const QPoint closeButton(246 - 11, 21 + 10);
        QCOMPARE(qAlpha(render(sized(), QTime(1, 0, 0), false, ButtonOutside).pixel(closeButton)), 0);
        QVERIFY(qAlpha(render(sized(), QTime(1, 0, 0), false, ButtonNone).pixel(closeButton)) > 0);
        const QRgb lit = render(sized(), QTime(1, 0, 0), false, ButtonClose).pixel(closeButton - QPoint(5, 5));
        QVERIFY2(qRed(lit) > 150 && qGreen(lit) < 100, qPrintable(QString::number(lit, 16)));
    }

    void windowInputsAskForTheirActions()
    {
        // The gesture, where, the action it asks for (empty: none).
        const QPoint face(120, 120);
        const std::tuple<QString, QPoint, QString> rows[] = {
            {u"click"_s, QPoint(236, 30), u"exit save"_s},      // the close button exits with saving
            {u"click"_s, QPoint(236, 52), u"settings owned"_s}, // the settings button: owned by the clock
            {u"click"_s, face, QString()},                      // a click on the face does nothing
            {u"double"_s, face, u"about"_s},                    // a double click on it opens the about box
            {u"double"_s, QPoint(236, 73), QString()},          // one on the move button does nothing
            {u"right"_s, face, u"menu"_s},                      // releasing the right button opens the menu
            {u"Page Up"_s, face, u"settings"_s},                // Page Up opens the settings, without an owner
            {u"close"_s, face, u"exit save"_s}};                // closing the window exits with saving
        for (const auto& [gesture, position, call] : rows) {
            cleanup();
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
    }

    void unchangedFramesAreNotDrawnAgainAndAnIdleWindowWakesOnlyOnTheSecond()
    {
        openWindow();
        m_window->redraw();
        QVERIFY(!m_window->redraw());
        m_time.now = m_time.now.addSecs(1);
        QVERIFY(m_window->redraw() && !m_window->redraw());
        // Page Down hides the scale and draws at once.
        const QImage withScale = m_window->faceImage();
        QTest::keyClick(m_window.get(), Qt::Key_PageDown);
        QVERIFY(m_settings.DisplayScale == 1 && m_window->faceImage() != withScale);
        QTest::keyClick(m_window.get(), Qt::Key_PageDown);
        QVERIFY(m_settings.DisplayScale == 0 && m_window->faceImage() == withScale);
        // A grab paints the window into a pixmap of its own, not into the window's backing store.
        QCOMPARE(m_window->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied), withScale);
        // Nothing but the tick runs while the mouse is away, and it is armed for the next second boundary.
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

    void framesDrawnInPiecesEqualWholeFrames()
    {
        // The window's frames, drawn from cached layers with only what changed drawn again, show exactly what
        // a whole new frame shows: every second of a minute, into the next minute, hour, afternoon and day,
        // and after a zone change (the zone time jumps); 246 and 598 pixels wide, in the default colours, in
        // blue night's with a lighter disc, with the scale hidden, focused and under the mouse, on screens
        // scaled 1.5 and 2 times, and with 24 hours.
        struct Row { int radius, width; qreal ratio; bool blueNight; bool active; int button; int scale; bool h24; };
        const Row rows[] = {{48, 18, 1.0, false, false, ButtonOutside, 0, false},
                            {128, 50, 1.0, false, false, ButtonOutside, 0, true},
                            {48, 18, 1.0, true, true, ButtonNone, 1, false},
                            {128, 50, 1.0, true, false, ButtonMove, 0, false},
                            {48, 18, 1.5, false, false, ButtonOutside, 0, true},
                            {48, 18, 2.0, true, true, ButtonOutside, 1, false}};
        QList<QDateTime> times;
        const QDateTime start(QDate(2026, 12, 6), QTime(10, 20, 0), Qt::UTC);
        for (int second = 0; second <= 61; ++second)
            times << start.addSecs(second);
        for (const QDateTime& jump : {QDateTime(QDate(2026, 12, 6), QTime(10, 59, 58), Qt::UTC),
                                       QDateTime(QDate(2026, 12, 6), QTime(11, 59, 58), Qt::UTC),
                                       QDateTime(QDate(2026, 12, 6), QTime(23, 59, 58), Qt::UTC)})
            times << jump << jump.addSecs(1) << jump.addSecs(2) << jump.addSecs(3);
        // Other zones: ten hours west, back over midnight within the same minute, then five and a half east.
        for (const int step : {-10 * 3600 + 1, 1, 5 * 3600 + 1800, 1})
            times << times.last().addSecs(step);
        for (const Row& row : rows) {
            ClockSettings settings = sized(row.radius, row.width, row.h24);
            settings.DisplayScale = row.scale;
            if (row.blueNight) {
                settings.TimeFontColor = qint32(0xFF0099FF);
                settings.DateFontColor = settings.ClockScaleColor = qint32(0xCC00B0E4);
                settings.BackgroundOpacity = 3;
            }
            const ClockLayout layout = ComputeClockLayout(settings);
            const DrawingTools tools = CreateDrawingTools(settings);
            const QImage strip = makeButtonStrip();
            const auto blank = [&, scale = row.ratio] {
                QImage image(QSize(layout.width(), layout.height()) * scale, QImage::Format_ARGB32_Premultiplied);
                image.setDevicePixelRatio(scale);
                return image;
            };
            QImage byPieces = blank();
            FaceDrawer drawer;
            for (qsizetype i = 0; i < times.size(); ++i) {
                const QDateTime& time = times[i];
                const FaceFrame frame = ComputeFaceFrame(time, settings, u"Office"_s, {}, row.active, row.button);
                const QRegion changed = drawer.draw(byPieces, layout, tools, frame, strip);
                QImage whole = blank();
                FaceDrawer().draw(whole, layout, tools, frame, strip);
                // the usual tick is drawn in pieces
                const bool tick = i > 0 && times[i - 1].secsTo(time) == 1 && time.time().second() > 1;
                QVERIFY2(byPieces == whole && (!tick || changed.boundingRect().width() < layout.width()),
                         qPrintable(u"radius %1, ratio %2, blue night %3: "_s.arg(row.radius).arg(row.ratio).arg(row.blueNight) +
                                    time.toString()));
            }
        }
    }

    void iconIsDrawnAtTheSizeAndScaleAskedFor()
    {
        const QIcon icon = clockIcon();
        const QPixmap sharp = icon.pixmap(QSize(32, 32), 2.0);
        QCOMPARE(std::pair(sharp.size(), sharp.devicePixelRatio()), std::pair(QSize(64, 64), 2.0));
        const QImage face = sharp.toImage();
        QVERIFY(qAlpha(face.pixel(32, 32)) == 255 && qAlpha(face.pixel(0, 0)) == 0); // a disc, corners clear
        const QImage greyed = icon.pixmap(QSize(32, 32), 1.0, QIcon::Disabled).toImage();
        bool allGrey = true;
        for (int y = 0; y < greyed.height(); ++y)
            for (int x = 0; x < greyed.width(); ++x)
                allGrey = allGrey && qRed(greyed.pixel(x, y)) == qGreen(greyed.pixel(x, y)) &&
                          qGreen(greyed.pixel(x, y)) == qBlue(greyed.pixel(x, y));
        QVERIFY(allGrey && greyed.size() == QSize(32, 32));
    }

    void shapeCoversTheFaceInDevicePixels()
    {
        // On a scaled screen the window has more device pixels than logical ones; a shape cut in logical
        // pixels would show a fragment of the face and take clicks in the wrong places.
        const ClockLayout layout = ComputeClockLayout(sized());
        for (const qreal ratio : {1.0, 1.5, 2.0}) {
            const QRect face = QRectF(layout.face.topLeft() * ratio, layout.face.size() * ratio).toAlignedRect();
            const QRegion shape = windowShape(layout, false, ratio);
            QVERIFY(shape.boundingRect().contains(face.adjusted(2, 2, -2, -2)));
            QVERIFY(qAbs(shape.boundingRect().width() - face.width()) <= 8 * ratio);
            QVERIFY(shape.contains(face.center()) && shape.contains(QPoint(face.center().x(), face.bottom() - 2)));
            QVERIFY(!shape.contains(face.topLeft())); // the corners stay out, and pass clicks through
            const QRegion withStrip = windowShape(layout, true, ratio);
            QVERIFY(withStrip.contains(QPointF(QPointF(layout.width() - 10, 40) * ratio).toPoint()));
        }
    }
};

QTEST_MAIN(TestClock)
#include "tst_clock.moc"
