#include "clock/ClockLayout.h"
#include "clock/FaceFrame.h"
#include "clock/FaceRenderer.h"
#include "settings/ClockSettings.h"

#include <QGuiApplication>
#include <QPainter>
#include <QTest>

#include <cmath>

using namespace kiv;

namespace {

ClockSettings defaults()
{
    ClockSettings settings;
    ResetClockSettings(settings, true);
    ResetClockSettings(settings, false);
    return settings;
}

QImage render(const ClockSettings& settings, const QTime& time, bool active = false, int button = ButtonOutside)
{
    const ClockLayout layout = ComputeClockLayout(settings);
    const FaceFrame frame = ComputeFaceFrame(QDateTime(QDate(2026, 12, 6), time, Qt::UTC), settings,
                                             QStringLiteral("Office"), DateTimeTexts(), active, button);
    QImage image(layout.width(), layout.height(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    DrawClock(painter, layout, CreateDrawingTools(settings), frame, makeButtonStrip());
    return image;
}

// The colour at `degrees` clockwise from three o'clock, in the middle of the ring of `arc`.
QRgb ringPixel(const QImage& image, const QRectF& arc, double degrees)
{
    const double radians = degrees * M_PI / 180;
    const QPointF c = arc.center();
    const double radius = arc.width() / 2;
    return image.pixel(int(std::floor(c.x() + std::cos(radians) * radius)),
                       int(std::floor(c.y() + std::sin(radians) * radius)));
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

class TestFaceRenderer final : public QObject
{
    Q_OBJECT

private slots:
    void nothingOutsideTheFace();
    void fullCirclesAtMidnight_data();
    void fullCirclesAtMidnight();
    void ringsGrowClockwiseFromTwelve();
    void pmColourAfterNoonInTwelveHourMode();
    void scaleDrawsOnlyWhenShown();
    void focusRingWhenActive();
    void buttonStripOnlyWhileTheMouseIsInside();
    void opacityStepsSetTheDiscAlpha_data();
    void opacityStepsSetTheDiscAlpha();
    void buttonStripLayout();
};

void TestFaceRenderer::nothingOutsideTheFace()
{
    const ClockSettings settings = defaults();
    const QImage image = render(settings, QTime(0, 0, 0), true);
    const ClockLayout layout = ComputeClockLayout(settings);
    const QPointF centre(layout.centreX, layout.centreY);
    // Every pixel further out than the face and its focus ring stays fully transparent.
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const double distance = std::hypot(x + 0.5 - centre.x(), y + 0.5 - centre.y());
            if (distance > layout.faceRadius() + 3)
                QVERIFY2(qAlpha(image.pixel(x, y)) == 0, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        }
    }
    QCOMPARE(qAlpha(image.pixel(layout.centreX, layout.centreY - 30)), 255);
}

void TestFaceRenderer::fullCirclesAtMidnight_data()
{
    QTest::addColumn<double>("degrees");
    QTest::newRow("three o'clock") << 0.0;
    QTest::newRow("six o'clock") << 90.0;
    QTest::newRow("nine o'clock") << 180.0;
    QTest::newRow("just before twelve") << 265.0;
}

void TestFaceRenderer::fullCirclesAtMidnight()
{
    QFETCH(double, degrees);
    ClockSettings settings = defaults();
    settings.DisplayScale = 1;
    const QImage image = render(settings, QTime(0, 0, 0));
    const ClockLayout layout = ComputeClockLayout(settings);
    QVERIFY(near(ringPixel(image, layout.secondArc, degrees), 0xFF71A713));
    QVERIFY(near(ringPixel(image, layout.minuteArc, degrees), 0xFF2272CD));
    QVERIFY(near(ringPixel(image, layout.hourArc, degrees), 0xFFDB5C1C));
}

void TestFaceRenderer::ringsGrowClockwiseFromTwelve()
{
    ClockSettings settings = defaults();
    settings.DisplayScale = 1;
    // 03:15:45: hour ring to three o'clock, minute ring to three o'clock, second ring to nine o'clock.
    const QImage image = render(settings, QTime(3, 15, 45));
    const ClockLayout layout = ComputeClockLayout(settings);
    QVERIFY(near(ringPixel(image, layout.hourArc, 300), 0xFFDB5C1C));
    QVERIFY(near(ringPixel(image, layout.hourArc, 350), 0xFFDB5C1C));
    QVERIFY(near(ringPixel(image, layout.hourArc, 20), 0xFF000000));
    QVERIFY(near(ringPixel(image, layout.minuteArc, 350), 0xFF2272CD));
    QVERIFY(near(ringPixel(image, layout.minuteArc, 20), 0xFF000000));
    QVERIFY(near(ringPixel(image, layout.secondArc, 170), 0xFF71A713));
    QVERIFY(near(ringPixel(image, layout.secondArc, 190), 0xFF000000));
    QVERIFY(near(ringPixel(image, layout.secondArc, 260), 0xFF000000));
}

void TestFaceRenderer::pmColourAfterNoonInTwelveHourMode()
{
    ClockSettings settings = defaults();
    settings.DisplayScale = 1;
    const ClockLayout layout = ComputeClockLayout(settings);
    const QImage twelve = render(settings, QTime(13, 5, 0));
    QVERIFY2(near(ringPixel(twelve, layout.hourArc, 285), 0xFFFFC90E),
             qPrintable(describe(ringPixel(twelve, layout.hourArc, 285))));
    QVERIFY(near(ringPixel(twelve, layout.hourArc, 310), 0xFF000000));
    QVERIFY(near(ringPixel(twelve, layout.minuteArc, 285), 0xFF2272CD));
    QVERIFY(near(ringPixel(twelve, layout.secondArc, 100), 0xFF71A713));
    settings.TwelveOr24Hour = 1;
    const QImage twentyFour = render(settings, QTime(13, 5, 0));
    QVERIFY(near(ringPixel(twentyFour, layout.hourArc, 285), 0xFFDB5C1C));
}

void TestFaceRenderer::scaleDrawsOnlyWhenShown()
{
    ClockSettings settings = defaults();
    settings.ClockScaleColor = qint32(0xFFFF00FF);
    const ClockLayout layout = ComputeClockLayout(settings);
    // The inner circle of the scale, at a point that no ring or text covers.
    const QPoint onInnerCircle(layout.centreX - 48, layout.centreY);
    // At 01:00 the hour ring covers only twelve to one o'clock, so nine o'clock shows the bare disc.
    settings.DisplayScale = 0;
    const QImage shown = render(settings, QTime(1, 0, 30));
    settings.DisplayScale = 1;
    const QImage hidden = render(settings, QTime(1, 0, 30));
    QVERIFY(qRed(shown.pixel(onInnerCircle)) > 100 && qBlue(shown.pixel(onInnerCircle)) > 100);
    QVERIFY(near(hidden.pixel(onInnerCircle), 0xFF000000, 2));
}

void TestFaceRenderer::focusRingWhenActive()
{
    ClockSettings settings = defaults();
    settings.DisplayScale = 1; // the scale's outer circle would touch the same pixels
    const ClockLayout layout = ComputeClockLayout(settings);
    const QPoint onFocusRing(layout.centreX, 20);
    QCOMPARE(qAlpha(render(settings, QTime(1, 0, 0), false).pixel(onFocusRing)), 0);
    const QRgb focus = render(settings, QTime(1, 0, 0), true).pixel(onFocusRing);
    QVERIFY2(qBlue(focus) > qRed(focus) && qAlpha(focus) > 0, qPrintable(describe(focus)));
}

void TestFaceRenderer::buttonStripOnlyWhileTheMouseIsInside()
{
    const ClockSettings settings = defaults();
    const QPoint closeButton(246 - 11, 21 + 10);
    QCOMPARE(qAlpha(render(settings, QTime(1, 0, 0), false, ButtonOutside).pixel(closeButton)), 0);
    const QRgb normal = render(settings, QTime(1, 0, 0), false, ButtonNone).pixel(closeButton);
    const QRgb lit = render(settings, QTime(1, 0, 0), false, ButtonClose).pixel(closeButton - QPoint(5, 5));
    QVERIFY(qAlpha(normal) > 0);
    QVERIFY2(qRed(lit) > 150 && qGreen(lit) < 100, qPrintable(describe(lit)));
}

void TestFaceRenderer::opacityStepsSetTheDiscAlpha_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("alpha");
    QTest::newRow("100%") << 0 << 0xFF;
    QTest::newRow("90%") << 1 << 0xEE;
    QTest::newRow("50%") << 5 << 0xAA;
    QTest::newRow("step 6 draws like 80%") << 6 << 0xDD;
}

void TestFaceRenderer::opacityStepsSetTheDiscAlpha()
{
    QFETCH(int, step);
    QFETCH(int, alpha);
    ClockSettings settings = defaults();
    settings.BackgroundOpacity = step;
    settings.DisplayScale = 1;
    const ClockLayout layout = ComputeClockLayout(settings);
    // Inside the hour ring's empty part at 01:00 (after three o'clock nothing but the disc is drawn).
    const QImage image = render(settings, QTime(1, 0, 30));
    QCOMPARE(qAlpha(ringPixel(image, layout.hourArc, 90)), alpha);
}

void TestFaceRenderer::buttonStripLayout()
{
    const QImage strip = makeButtonStrip();
    QCOMPARE(strip.size(), QSize(63, 63));
    // Column 1 lights the close button red, column 2 the settings button blue; the rest stay alike.
    const QRgb closeNormal = strip.pixel(4, 4);
    const QRgb closeLit = strip.pixel(21 + 4, 4);
    const QRgb settingsLit = strip.pixel(42 + 4, 21 + 4);
    QVERIFY(qRed(closeLit) > qRed(closeNormal) + 80);
    QVERIFY(qBlue(settingsLit) > qRed(settingsLit) + 80);
    QCOMPARE(strip.pixel(4, 42 + 4), strip.pixel(21 + 4, 42 + 4));
    QCOMPARE(strip.pixel(4, 42 + 4), strip.pixel(42 + 4, 42 + 4));
}

QTEST_MAIN(TestFaceRenderer)
#include "tst_facerenderer.moc"
