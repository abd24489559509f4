#include "clock/FaceRenderer.h"

#include "clock/ClockLayout.h"
#include "clock/FaceFrame.h"
#include "settings/ClockSettings.h"

#include <QPainter>
#include <QVarLengthArray>

#include <array>
#include <limits>

namespace kiv {
namespace {

// A rectangle of logical pixels in device pixels (`ratio` of them to a logical pixel), and back.
QRectF toDevice(const QRectF& rect, qreal ratio)
{
    return QRectF(rect.topLeft() * ratio, rect.size() * ratio);
}

QRectF toLogical(const QRect& rect, qreal ratio)
{
    return QRectF(QPointF(rect.topLeft()) / ratio, QSizeF(rect.size()) / ratio);
}

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
    // The font is made once per size and thread: a new font is looked up again in the font database.
    thread_local QFont font(QStringLiteral("Arial"));
    const int size = std::max(pixelSize, MinimumFontSize);
    if (font.pixelSize() != size)
        font.setPixelSize(size);
    painter.setFont(font);
    painter.setPen(QPen(brush, 1));
    painter.drawText(box, Qt::AlignCenter, text.trimmed());
}

// The direction of each whole degree clockwise from twelve o'clock (y grows downwards), worked out once.
const std::array<QPointF, 361>& degreeDirections()
{
    static const std::array<QPointF, 361> directions = [] {
        std::array<QPointF, 361> table;
        for (int degree = 0; degree <= 360; ++degree) {
            const qreal radians = qDegreesToRadians(qreal(degree));
            table[degree] = QPointF(std::sin(radians), -std::cos(radians));
        }
        return table;
    }();
    return directions;
}

// Grows `box` to hold `point`.
void include(QRectF& box, QPointF point)
{
    box.setLeft(std::min(box.left(), point.x()));
    box.setRight(std::max(box.right(), point.x()));
    box.setTop(std::min(box.top(), point.y()));
    box.setBottom(std::max(box.bottom(), point.y()));
}

// The seconds ring is filled as the outline of the pen's band from twelve o'clock to its sweep, with a corner
// on every whole degree: the ring of a second has the very corners of the ring of the second before and more,
// so drawing the new piece over the old ring gives the same pixels as drawing the whole ring. With `visible`
// (logical pixels) only the degrees that come within a pixel of it are filled: the outline inside it, and so
// its pixels, are those of the whole ring. (Stroking the arc cost five times as much as filling its outline.)
void drawSecondsRing(QPainter& painter, const QPen& pen, const QRectF& rect, float sweep,
                     const std::optional<QRectF>& visible = std::nullopt)
{
    if (sweep >= 360.0f) {
        drawRing(painter, pen, rect, sweep);
        return;
    }
    const auto& directions = degreeDirections();
    const QPointF centre = rect.center();
    const qreal outer = rect.width() / 2 + pen.widthF() / 2;
    const qreal inner = rect.width() / 2 - pen.widthF() / 2;
    int from = 0;
    int to = qRound(sweep);
    if (visible) {
        // The band between two directions lies within the box of its corners and the middle of its outer
        // edge (the arc bulges out by less than a pixel over six degrees).
        const QRectF within = visible->adjusted(-1, -1, 1, 1);
        const auto reaches = [&](int start, int end) {
            const int middle = (start + end) / 2;
            QRectF box(centre + directions[start] * inner, QSizeF(0, 0));
            for (const QPointF point : {centre + directions[start] * outer, centre + directions[middle] * outer,
                                        centre + directions[end] * inner, centre + directions[end] * outer})
                include(box, point);
            return box.intersects(within);
        };
        // Six degrees at a time, then one at a time at either end.
        while (from < to && !reaches(from, std::min(from + 6, to)))
            from = std::min(from + 6, to);
        while (to > from && !reaches(std::max(to - 6, from), to))
            to = std::max(to - 6, from);
        while (from < to && !reaches(from, from + 1))
            ++from;
        while (to > from && !reaches(to - 1, to))
            --to;
        if (from == to)
            return;
    }
    QVarLengthArray<QPointF, 2 * 361> outline;
    for (int degree = from; degree <= to; ++degree)
        outline.append(centre + directions[degree] * outer);
    for (int degree = to; degree >= from; --degree)
        outline.append(centre + directions[degree] * inner);
    painter.setPen(Qt::NoPen);
    painter.setBrush(pen.brush());
    painter.drawPolygon(outline.data(), int(outline.size()));
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

void setRenderHints(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
}

// What is drawn over the rings and texts: the scale, the focus ring and the buttons.
void drawOverlay(QPainter& painter, const ClockLayout& layout, const DrawingTools& tools, const FaceFrame& frame,
                 const QImage& buttonStrip)
{
    if (frame.showScale)
        drawScale(painter, layout, tools.ScalePen);
    if (frame.IsActive) {
        painter.setPen(tools.FocusPen);
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(layout.face.adjusted(-1, -1, 1, 1));
    }
    drawButtonStripColumn(painter, layout, buttonStrip, frame.buttonState);
}

// The band across the inner circle that holds the time text: centred like the text and higher than its
// font's line.
int timeFontSize(const FaceFrame& frame)
{
    return std::max(frame.TimeFontSize, MinimumFontSize);
}

QRectF timeTextBand(const ClockLayout& layout, const FaceFrame& frame)
{
    const qreal size = timeFontSize(frame);
    const qreal half = 0.75 * size + 2;
    return QRectF(layout.inner.left() - 2, layout.inner.center().y() - half, layout.inner.width() + 4, 2 * half);
}

// The four channels of `pixel` times `alpha` / 255, rounded.
inline QRgb byteMul(QRgb pixel, uint alpha)
{
    uint redBlue = (pixel & 0xff00ff) * alpha;
    redBlue = ((redBlue + ((redBlue >> 8) & 0xff00ff) + 0x800080) >> 8) & 0xff00ff;
    uint alphaGreen = ((pixel >> 8) & 0xff00ff) * alpha;
    alphaGreen = (alphaGreen + ((alphaGreen >> 8) & 0xff00ff) + 0x800080) & 0xff00ff00;
    return alphaGreen | redBlue;
}

// Blends `pixel` over `count` pixels from `target` on (premultiplied): the painter's source-over.
inline void blendPixels(QRgb* target, QRgb pixel, int count)
{
    const uint alpha = qAlpha(pixel);
    if (alpha == 255) {
        std::fill_n(target, count, pixel);
    } else if (alpha != 0) {
        for (int i = 0; i < count; ++i)
            target[i] = pixel + byteMul(target[i], 255 - alpha);
    }
}

// What changes once a minute: the hour and minute rings, the name or weekday above the centre and the date
// below it.
void drawMinuteContent(QPainter& painter, const ClockLayout& layout, const DrawingTools& tools, const FaceFrame& frame)
{
    drawRing(painter, tools.MinutePen, layout.minuteArc, frame.MinuteSweep);
    drawRing(painter, frame.pmColour ? tools.PmHourPen : tools.AmHourPen, layout.hourArc, frame.HourSweep);
    const qreal x = layout.inner.x();
    const qreal y = layout.inner.y();
    const qreal r = layout.inner.width() / 2;
    drawCentredText(painter, frame.NameText, QRectF(x, y, 2 * r, r), tools.DateBrush, frame.DateFontSize);
    drawCentredText(painter, frame.DateText, QRectF(x, y + r, 2 * r, r), tools.DateBrush, frame.DateFontSize);
}

} // namespace

PixelRuns::PixelRuns(const QImage& image) : m_size(image.size())
{
    // A run's place and length are 16-bit: a face is at most a few thousand pixels wide.
    const int width = std::min(image.width(), 0xFFFF);
    m_rowStarts.reserve(image.height() + 1);
    m_runs.reserve(16 * image.height());
    for (int row = 0; row < image.height(); ++row) {
        m_rowStarts.push_back(qsizetype(m_runs.size()));
        const auto* pixels = reinterpret_cast<const QRgb*>(image.constScanLine(row));
        for (int x = 0; x < width;) {
            int end = x + 1;
            while (end < width && pixels[end] == pixels[x])
                ++end;
            m_runs.push_back({pixels[x], quint16(x), quint16(end - x)});
            x = end;
        }
    }
    m_rowStarts.push_back(qsizetype(m_runs.size()));
    m_runs.shrink_to_fit();
}

template<typename Apply>
void PixelRuns::forEachRun(QImage& image, const QRect& rect, Apply apply) const
{
    const QRect inside = rect & QRect(QPoint(0, 0), m_size);
    for (int row = inside.top(); row <= inside.bottom(); ++row) {
        auto* target = reinterpret_cast<QRgb*>(image.scanLine(row));
        const Run* const end = m_runs.data() + m_rowStarts[row + 1];
        // The run that holds the rectangle's left edge: the last that starts at or before it.
        const Run* run = std::upper_bound(m_runs.data() + m_rowStarts[row], end, inside.left(),
                                          [](int x, const Run& next) { return x < next.start; }) -
                         1;
        for (; run < end && run->start <= inside.right(); ++run) {
            const int from = std::max<int>(run->start, inside.left());
            const int to = std::min<int>(run->start + run->length, inside.right() + 1);
            if (from < to)
                apply(target + from, run->pixel, to - from);
        }
    }
}

void PixelRuns::copyInto(QImage& image, const QRect& rect) const
{
    forEachRun(image, rect, [](QRgb* target, QRgb pixel, int count) { std::fill_n(target, count, pixel); });
}

void PixelRuns::blendOver(QImage& image, const QRect& rect) const
{
    forEachRun(image, rect, [](QRgb* target, QRgb pixel, int count) { blendPixels(target, pixel, count); });
}

namespace {

// What the minute layer shows: the frame without its second.
FaceFrame minuteLayerKey(FaceFrame frame)
{
    frame.ZoneTime = QDateTime();
    frame.second = 0;
    frame.SecondSweep = 0;
    frame.TimeText.clear();
    return frame;
}

// Whether `rect` reaches the ring between the radii `inner` and `outer` around `centre`.
bool reachesRing(const QRectF& rect, QPointF centre, qreal inner, qreal outer)
{
    const qreal nearX = std::clamp(centre.x(), rect.left(), rect.right()) - centre.x();
    const qreal nearY = std::clamp(centre.y(), rect.top(), rect.bottom()) - centre.y();
    const qreal farX = std::max(std::abs(rect.left() - centre.x()), std::abs(rect.right() - centre.x()));
    const qreal farY = std::max(std::abs(rect.top() - centre.y()), std::abs(rect.bottom() - centre.y()));
    return std::hypot(nearX, nearY) <= outer && std::hypot(farX, farY) >= inner;
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
    // Drawn at its own size (the rings are smooth at any size): a window shows the icon in five sizes.
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    drawClockIcon(painter, size);
    return icon;
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
    setRenderHints(painter);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);

    painter.setPen(Qt::NoPen);
    painter.setBrush(tools.BackgroundBrush);
    painter.drawEllipse(layout.face);

    drawSecondsRing(painter, tools.SecondPen, layout.secondArc, frame.SecondSweep);
    drawMinuteContent(painter, layout, tools, frame);
    drawCentredText(painter, frame.TimeText, layout.inner, tools.TimeBrush, frame.TimeFontSize);
    drawOverlay(painter, layout, tools, frame, buttonStrip);
}

QRegion windowShape(const ClockLayout& layout, bool withStrip, qreal pixelRatio)
{
    QRegion region(toDevice(layout.face.adjusted(-3, -3, 3, 3), pixelRatio).toAlignedRect(), QRegion::Ellipse);
    if (withStrip) {
        const QRectF strip(layout.width() - kButtonSize, kButtonSize, kButtonSize, 3 * kButtonSize);
        region += toDevice(strip, pixelRatio).toAlignedRect();
    }
    return region;
}

QList<QRectF> FaceDrawer::secondChangeRects(const ClockLayout& layout, const FaceFrame& before,
                                            const FaceFrame& after)
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
    const auto& directions = degreeDirections();
    QRectF ring(centre + directions[qRound(before.SecondSweep)] * faceRadius, QSizeF(0, 0));
    for (int degree = qRound(before.SecondSweep); degree <= qRound(after.SecondSweep); ++degree) {
        include(ring, centre + directions[degree] * innerRadius);
        include(ring, centre + directions[degree] * faceRadius);
    }
    ring.adjust(-3, -3, 3, 3);
    const QRectF text = m_timeGlyphs.changedPart(before.TimeText, after.TimeText, timeTextBand(layout, after),
                                                 timeFontSize(after));
    return text.isEmpty() ? QList<QRectF>{ring} : QList<QRectF>{ring, text};
}

void FaceDrawer::reset()
{
    m_layersValid = false;
    m_shownValid = false;
}

namespace {

// A transparent image of `size` device pixels (`ratio` of them to a logical pixel) with what `draw` paints in
// logical coordinates.
template<typename Draw>
QImage paintedLayer(QSize size, qreal ratio, Draw draw)
{
    QImage layer(size, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    QPainter painter(&layer);
    painter.scale(ratio, ratio);
    setRenderHints(painter);
    draw(painter);
    return layer;
}

} // namespace

void FaceDrawer::buildDisc(const ClockLayout& layout, const DrawingTools& tools, QSize size, qreal ratio)
{
    m_disc = PixelRuns(paintedLayer(size, ratio, [&](QPainter& painter) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(tools.BackgroundBrush);
        painter.drawEllipse(layout.face);
    }));
}

void FaceDrawer::buildOverlay(const ClockLayout& layout, const DrawingTools& tools, const FaceFrame& frame,
                              const QImage& buttonStrip)
{
    const qreal ratio = qreal(m_disc.size().width()) / layout.width();
    m_overlay = PixelRuns(paintedLayer(m_disc.size(), ratio, [&](QPainter& painter) {
        drawOverlay(painter, layout, tools, frame, buttonStrip);
    }));
}

void FaceDrawer::buildMinuteLayer(const ClockLayout& layout, const DrawingTools& tools, const FaceFrame& frame)
{
    // Drawn whole once a minute and kept as runs: a fifth of the image's memory, for the rest of the minute.
    const qreal ratio = qreal(m_disc.size().width()) / layout.width();
    QImage layer = paintedLayer(m_disc.size(), ratio, [&](QPainter& painter) {
        drawMinuteContent(painter, layout, tools, frame);
    });
    m_overlay.blendOver(layer, layer.rect());
    m_minuteLayer = PixelRuns(layer);
}

void FaceDrawer::compose(QPainter& painter, QImage& image, const QRect& deviceRect, const ClockLayout& layout,
                         const DrawingTools& tools, const FaceFrame& frame, bool withSecondsRing)
{
    // The disc is copied, not blended: it is the first thing in the rectangle.
    m_disc.copyInto(image, deviceRect);
    // The clip lies on whole device pixels, so that what is drawn inside it is drawn exactly as without it.
    painter.resetTransform();
    painter.setClipRect(deviceRect);
    const qreal ratio = qreal(image.width()) / layout.width();
    painter.scale(ratio, ratio);
    if (withSecondsRing)
        drawSecondsRing(painter, tools.SecondPen, layout.secondArc, frame.SecondSweep, toLogical(deviceRect, ratio));
    m_minuteLayer.blendOver(image, deviceRect);
    if (toDevice(timeTextBand(layout, frame), ratio).intersects(deviceRect))
        m_timeGlyphs.draw(painter, frame.TimeText, layout.inner, tools.TimeBrush, timeFontSize(frame),
                          toLogical(deviceRect, ratio));
}

bool FaceDrawer::overlayDiffers(const FaceFrame& a, const FaceFrame& b)
{
    return a.showScale != b.showScale || a.IsActive != b.IsActive || a.buttonState != b.buttonState;
}

QRegion FaceDrawer::advance(const ClockLayout& layout, const FaceFrame& frame)
{
    if (m_shownValid && frame == m_shown)
        return {};
    const bool layersKept = m_shownValid && !overlayDiffers(frame, m_shown) &&
                            minuteLayerKey(frame) == minuteLayerKey(m_shown);
    const QList<QRectF> changed = layersKept ? secondChangeRects(layout, m_shown, frame) : QList<QRectF>();
    m_shown = frame;
    m_shownValid = true;
    if (changed.isEmpty())
        return QRect(0, 0, layout.width(), layout.height());
    QRegion region;
    for (const QRectF& rect : changed)
        region += rect.toAlignedRect();
    return region;
}

void FaceDrawer::paint(QImage& image, const QRegion& region, const ClockLayout& layout, const DrawingTools& tools,
                       const QImage& buttonStrip)
{
    if (!m_shownValid)
        return;
    // The drawing goes to device pixels through an image without a pixel ratio over the same memory, so that
    // copies and clips lie exactly on pixels; the painter scales logical coordinates itself.
    const qreal ratio = image.devicePixelRatio();
    QImage device(image.bits(), image.width(), image.height(), image.bytesPerLine(), image.format());
    if (!m_layersValid || m_disc.size() != device.size()) {
        buildDisc(layout, tools, device.size(), ratio);
        m_layersValid = false;
    }
    const bool overlayChanged = !m_layersValid || overlayDiffers(m_shown, m_layerFrame);
    if (overlayChanged)
        buildOverlay(layout, tools, m_shown, buttonStrip);
    if (overlayChanged || !(minuteLayerKey(m_shown) == minuteLayerKey(m_layerFrame))) {
        buildMinuteLayer(layout, tools, m_shown);
        m_layerFrame = m_shown;
        m_layersValid = true;
    }
    // One painter for the rectangles: the pixels are copied and blended straight into the image under it,
    // which the raster engine allows.
    QPainter painter(&device);
    setRenderHints(painter);
    const QRectF annulus = layout.secondArc.adjusted(-2, -2, 2, 2);
    const qreal outer = annulus.width() / 2 + tools.SecondPen.widthF() / 2;
    const qreal inner = annulus.width() / 2 - tools.SecondPen.widthF() / 2 - 4;
    for (const QRect& rect : region) {
        const QRect deviceRect = toDevice(rect, ratio).toAlignedRect() & device.rect();
        compose(painter, device, deviceRect, layout, tools, m_shown,
                reachesRing(toLogical(deviceRect, ratio), annulus.center(), inner, outer));
    }
}

QRegion FaceDrawer::draw(QImage& image, const ClockLayout& layout, const DrawingTools& tools, const FaceFrame& frame,
                         const QImage& buttonStrip)
{
    const QRegion changed = advance(layout, frame);
    paint(image, changed, layout, tools, buttonStrip);
    return changed;
}

} // namespace kiv
