#include "clock/FaceRenderer.h"

#include "clock/ClockLayout.h"
#include "clock/FaceFrame.h"
#include "settings/ClockSettings.h"

#include <QPainter>
#include <QPainterPath>

namespace kiv {
namespace {

constexpr int kButtonSize = 21;
constexpr int kStartAtTwelve = 90 * 16; // Qt angles: 1/16 degree, counter-clockwise from three o'clock

QPen ringPen(qint32 argb, qreal width)
{
    return QPen(argbColor(argb), width, Qt::SolidLine, Qt::FlatCap);
}

void drawRing(QPainter& painter, const QPen& pen, const QRectF& rect, float sweep)
{
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    if (sweep >= 360.0f)
        painter.drawEllipse(rect);
    else
        painter.drawArc(rect, kStartAtTwelve, -qRound(sweep * 16));
}

void drawCentredText(QPainter& painter, QString text, const QRectF& box, const QBrush& brush, int pixelSize)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(std::max(pixelSize, MinimumFontSize));
    painter.setFont(font);
    painter.setPen(QPen(brush, 1));
    painter.drawText(box, Qt::AlignCenter, text.trimmed());
}

// The seconds ring as a path of one arc piece per second: the ring of a second holds the very same pieces
// as the ring of the second before and one more, so drawing the new piece over the old ring gives the same
// pixels as drawing the whole ring (an arc drawn in one go is cut into curves that depend on its length).
void drawSecondsRing(QPainter& painter, const QPen& pen, const QRectF& rect, float sweep)
{
    if (sweep >= 360.0f) {
        drawRing(painter, pen, rect, sweep);
        return;
    }
    constexpr qreal pieceDegrees = 6;
    const int pieces = qRound(sweep / pieceDegrees);
    QPainterPath path;
    path.arcMoveTo(rect, 90);
    for (int i = 0; i < pieces; ++i)
        path.arcTo(rect, 90 - i * pieceDegrees, -pieceDegrees);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
}

QRectF roundedRect(const QRectF& rect)
{
    return QRectF(qRound(rect.x()), qRound(rect.y()), qRound(rect.width()), qRound(rect.height()));
}

void drawScale(QPainter& painter, const ClockLayout& layout, const QPen& pen)
{
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    for (const QRectF& circle : {layout.face, layout.inner, layout.hourOuter, layout.minuteOuter})
        painter.drawEllipse(roundedRect(circle));
    painter.drawLines(layout.minuteTicks.data(), int(layout.minuteTicks.size()));
    painter.drawLines(layout.hourTicks.data(), layout.hourTickCount);
}

void drawButtonStripColumn(QPainter& painter, const ClockLayout& layout, const QImage& strip, int buttonState)
{
    int column = 0;
    if (buttonState == ButtonClose)
        column = 1;
    else if (buttonState == ButtonSettings)
        column = 2;
    else if (buttonState != ButtonNone && buttonState != ButtonMove)
        return;
    const QRect target(layout.width() - kButtonSize, kButtonSize, kButtonSize, 3 * kButtonSize);
    painter.drawImage(target, strip, QRect(column * kButtonSize, 0, kButtonSize, 3 * kButtonSize));
}

// One 21 x 21 button: a rounded plate and its sign.
void drawButton(QPainter& painter, const QRect& cell, const QColor& plate, int sign)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(plate);
    painter.drawRoundedRect(QRectF(cell).adjusted(1.5, 1.5, -1.5, -1.5), 4, 4);
    const QPointF c = QRectF(cell).center();
    QPen pen(QColor(0xF2, 0xF2, 0xF2), 2, Qt::SolidLine, Qt::RoundCap);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    if (sign == ButtonClose) {
        painter.drawLine(c + QPointF(-4, -4), c + QPointF(4, 4));
        painter.drawLine(c + QPointF(-4, 4), c + QPointF(4, -4));
    } else if (sign == ButtonSettings) {
        // A spanner: an open ring as the jaw and a handle running down to the left.
        painter.drawArc(QRectF(c.x() - 1, c.y() - 6, 7, 7), -60 * 16, 300 * 16);
        pen.setWidthF(2.6);
        painter.setPen(pen);
        painter.drawLine(c + QPointF(0.8, -0.8), c + QPointF(-4.5, 4.5));
    } else {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0xF2, 0xF2, 0xF2));
        for (int row = -1; row <= 1; ++row) {
            for (int col = -1; col <= 1; ++col)
                painter.drawEllipse(c + QPointF(col * 4.5, row * 4.5), 1.4, 1.4);
        }
    }
}

} // namespace

QColor argbColor(qint32 argb)
{
    return QColor::fromRgba(static_cast<QRgb>(static_cast<quint32>(argb)));
}

int backgroundAlpha(qint32 opacityStep)
{
    switch (opacityStep) {
    case 0:
        return 0xFF;
    case 1:
        return 0xEE;
    case 2:
        return 0xDD;
    case 3:
        return 0xCC;
    case 4:
        return 0xBB;
    case 5:
        return 0xAA;
    default:
        return 0xDD;
    }
}

DrawingTools CreateDrawingTools(const ClockSettings& settings)
{
    DrawingTools tools;
    tools.BackgroundBrush = QBrush(QColor(0, 0, 0, backgroundAlpha(settings.BackgroundOpacity)));
    tools.DateBrush = QBrush(argbColor(settings.DateFontColor));
    tools.FocusPen = ringPen(qint32(0xCC1111EE), 2);
    tools.ScalePen = ringPen(settings.ClockScaleColor, 1);
    tools.AmHourPen = ringPen(settings.AM24HourCircleColor, settings.HourCircleWidth);
    tools.PmHourPen = ringPen(settings.PMHourCircleColor, settings.HourCircleWidth);
    tools.MinutePen = ringPen(settings.MinuteCircleColor, settings.MinuteCircleWidth);
    tools.SecondPen = ringPen(settings.SecondCircleColor, settings.SecondCircleWidth);
    tools.ShadowBrush = QBrush(argbColor(qint32(0xAA000000)));
    tools.TimeBrush = QBrush(argbColor(settings.TimeFontColor));
    return tools;
}

QImage makeButtonStrip()
{
    QImage strip(3 * kButtonSize, 3 * kButtonSize, QImage::Format_ARGB32_Premultiplied);
    strip.fill(Qt::transparent);
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor normal(0x30, 0x30, 0x30, 0xDD);
    const QColor closeLit(0xD9, 0x3A, 0x32);
    const QColor settingsLit(0x2D, 0x6F, 0xD2);
    for (int column = 0; column < 3; ++column) {
        for (int row = 0; row < 3; ++row) {
            const int sign = row + 1; // close, settings, move
            QColor plate = normal;
            if (column == 1 && sign == ButtonClose)
                plate = closeLit;
            if (column == 2 && sign == ButtonSettings)
                plate = settingsLit;
            drawButton(painter, QRect(column * kButtonSize, row * kButtonSize, kButtonSize, kButtonSize), plate, sign);
        }
    }
    return strip;
}

namespace {

// The icon's picture: the face with the default settings at ten past ten, without texts.
void drawIconFace(QPainter& painter, const ClockLayout& layout, const ClockSettings& settings)
{
    FaceFrame frame = ComputeFaceFrame(QDateTime(QDate(2026, 1, 1), QTime(10, 8, 36), Qt::UTC), settings,
                                       QStringLiteral("Kiv"), DateTimeTexts(), false, ButtonOutside);
    // At icon size the texts would be specks: the rings alone make the picture.
    frame.TimeText.clear();
    frame.DateText.clear();
    frame.NameText.clear();
    DrawClock(painter, layout, CreateDrawingTools(settings), frame, QImage());
}

ClockSettings iconSettings()
{
    ClockSettings settings;
    ResetClockSettings(settings, true);
    ResetClockSettings(settings, false);
    settings.DisplayScale = 1;
    return settings;
}

} // namespace

QImage clockIconImage(int size)
{
    const ClockSettings settings = iconSettings();
    const ClockLayout layout = ComputeClockLayout(settings);
    QImage face(layout.width(), layout.height(), QImage::Format_ARGB32_Premultiplied);
    face.fill(Qt::transparent);
    QPainter painter(&face);
    drawIconFace(painter, layout, settings);
    painter.end();
    return face.copy(layout.face.toAlignedRect()).scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

void drawClockIcon(QPainter& painter, int size)
{
    const ClockSettings settings = iconSettings();
    const ClockLayout layout = ComputeClockLayout(settings);
    painter.scale(size / layout.face.width(), size / layout.face.height());
    painter.translate(-layout.face.topLeft());
    drawIconFace(painter, layout, settings);
}

void DrawClock(QPainter& painter, const ClockLayout& layout, const DrawingTools& tools, const FaceFrame& frame,
               const QImage& buttonStrip)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);

    painter.setPen(Qt::NoPen);
    painter.setBrush(tools.BackgroundBrush);
    painter.drawEllipse(layout.face);

    drawSecondsRing(painter, tools.SecondPen, layout.secondArc, frame.SecondSweep);
    drawRing(painter, tools.MinutePen, layout.minuteArc, frame.MinuteSweep);
    drawRing(painter, frame.pmColour ? tools.PmHourPen : tools.AmHourPen, layout.hourArc, frame.HourSweep);

    const qreal x = layout.inner.x();
    const qreal y = layout.inner.y();
    const qreal r = layout.inner.width() / 2;
    drawCentredText(painter, frame.NameText, QRectF(x, y, 2 * r, r), tools.DateBrush, frame.DateFontSize);
    drawCentredText(painter, frame.TimeText, QRectF(x, y, 2 * r, 2 * r), tools.TimeBrush, frame.TimeFontSize);
    drawCentredText(painter, frame.DateText, QRectF(x, y + r, 2 * r, r), tools.DateBrush, frame.DateFontSize);

    if (frame.showScale)
        drawScale(painter, layout, tools.ScalePen);
    if (frame.IsActive) {
        painter.setPen(tools.FocusPen);
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(layout.face.adjusted(-1, -1, 1, 1));
    }
    drawButtonStripColumn(painter, layout, buttonStrip, frame.buttonState);
}

QRegion windowShape(const ClockLayout& layout, bool withStrip, qreal pixelRatio)
{
    const auto inDevicePixels = [pixelRatio](const QRectF& rect) {
        return QRectF(rect.topLeft() * pixelRatio, rect.size() * pixelRatio).toAlignedRect();
    };
    QRegion region(inDevicePixels(layout.face.adjusted(-3, -3, 3, 3)), QRegion::Ellipse);
    if (withStrip) {
        region += inDevicePixels(QRectF(layout.width() - kButtonSize, kButtonSize, kButtonSize, 3 * kButtonSize));
    }
    return region;
}

QList<QRectF> secondChangeRects(const ClockLayout& layout, const FaceFrame& before, const FaceFrame& after)
{
    FaceFrame onlySecondMoved = after;
    onlySecondMoved.ZoneTime = before.ZoneTime;
    onlySecondMoved.second = before.second;
    onlySecondMoved.SecondSweep = before.SecondSweep;
    onlySecondMoved.TimeText = before.TimeText;
    if (!(onlySecondMoved == before) || after.SecondSweep < before.SecondSweep || after.SecondSweep >= 360.0f)
        return {};
    // The piece of the seconds ring between the two sweeps, with room for the pen and its soft edge.
    // The seconds ring is the outermost: it lies between the face's edge and as far inside its middle circle.
    const QPointF centre = layout.secondArc.center();
    const qreal faceRadius = layout.face.width() / 2;
    const qreal innerRadius = layout.secondArc.width() - faceRadius;
    QPolygonF piece;
    for (float angle = before.SecondSweep; angle <= after.SecondSweep + 1.0f; angle += 1.0f) {
        const qreal radians = qDegreesToRadians(std::min(angle, after.SecondSweep));
        const QPointF direction(std::sin(radians), -std::cos(radians));
        piece << centre + direction * innerRadius << centre + direction * faceRadius;
    }
    const QRectF ring = piece.boundingRect().adjusted(-3, -3, 3, 3);
    // The time text: a band across the inner circle, centred like the text and a little higher than its
    // font's height (1.12 times its size for Arial).
    const qreal size = std::max(after.TimeFontSize, MinimumFontSize);
    const QRectF text(layout.inner.left(), layout.inner.center().y() - 0.75 * size, layout.inner.width(), 1.5 * size);
    return {ring, text};
}

QRegion DrawClockChange(QImage& image, const ClockLayout& layout, const DrawingTools& tools, const FaceFrame& before,
                        const FaceFrame& after, const QImage& buttonStrip)
{
    // On a scaled screen text drawn inside a clip comes out slightly unlike text drawn whole: scaled screens
    // get whole frames.
    const qreal ratio = image.devicePixelRatio();
    const QList<QRectF> changed = ratio == 1.0 ? secondChangeRects(layout, before, after) : QList<QRectF>();
    QPainter painter(&image);
    if (changed.isEmpty()) {
        painter.setCompositionMode(QPainter::CompositionMode_Clear);
        painter.fillRect(QRectF(QPointF(0, 0), image.deviceIndependentSize()), Qt::transparent);
        DrawClock(painter, layout, tools, after, buttonStrip);
        return QRect(QPoint(0, 0), image.deviceIndependentSize().toSize());
    }
    // Each clip lies on whole pixels, so that the pixels inside it are drawn exactly as in a whole frame.
    QRegion region;
    for (const QRectF& rect : changed) {
        const QRect clip = rect.toAlignedRect();
        painter.setClipRect(clip);
        painter.setCompositionMode(QPainter::CompositionMode_Clear);
        painter.fillRect(clip, Qt::transparent);
        DrawClock(painter, layout, tools, after, buttonStrip);
        region += clip;
    }
    return region;
}

} // namespace kiv
