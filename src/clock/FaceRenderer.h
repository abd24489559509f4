#pragma once

#include <QBrush>
#include <QImage>
#include <QRegion>

#include <optional>
#include <QPen>

namespace kiv {

struct ClockLayout;
struct ClockSettings;
struct FaceFrame;

// The brushes and pens of the face, made once per settings change.
struct DrawingTools
{
    QBrush BackgroundBrush;
    QBrush DateBrush;
    QBrush TimeBrush;
    QBrush ShadowBrush;
    QPen FocusPen;
    QPen ScalePen;
    QPen AmHourPen;
    QPen PmHourPen;
    QPen MinutePen;
    QPen SecondPen;
};

DrawingTools CreateDrawingTools(const ClockSettings& settings);

// A colour stored as 0xAARRGGBB.
QColor argbColor(qint32 argb);
// The alpha of the face's black disc for a BackgroundOpacity step.
int backgroundAlpha(qint32 opacityStep);

// The button strip: 63 x 63 pixels, three columns of 21 (normal, close lit, settings lit), each with the
// close, settings and move buttons from top to bottom.
QImage makeButtonStrip();

// Draws one frame of the face onto a fully transparent surface of the layout's size.
void DrawClock(QPainter& painter, const ClockLayout& layout, const DrawingTools& tools, const FaceFrame& frame,
               const QImage& buttonStrip);

// A picture of the face with the default settings at ten past ten, `size` pixels square: the program's icon.
QImage clockIconImage(int size);
// The same picture drawn with `painter` into the square (0, 0, size, size), for a scalable icon.
void drawClockIcon(QPainter& painter, int size);

// Brings `image`, which shows `before`, to show `after`, and returns the region that changed (logical
// pixels). When only the second moved on (the usual tick), only the new piece of the seconds ring and the
// time text are drawn again, clipped to the device pixels around them, so that neither drawing nor the
// screen's update touches the rest; the pixels are the same as those of a whole new frame. Any other
// change draws the whole face.
QRegion DrawClockChange(QImage& image, const ClockLayout& layout, const DrawingTools& tools, const FaceFrame& before,
                      const FaceFrame& after, const QImage& buttonStrip);

// The rectangles that differ between two frames when only the second moved on (the new piece of the seconds
// ring, the time text); nothing when more changed. Each is drawn on its own: a fill of few lines stays on
// the painting thread, where one of many lines is shared out to a pool of threads that would wake each time.
QList<QRectF> secondChangeRects(const ClockLayout& layout, const FaceFrame& before, const FaceFrame& after);

// The part of the window that shows and takes the mouse, in device pixels (`pixelRatio` of them to a logical
// pixel): the face with its focus ring and a pixel of its soft edge to spare, and the button strip at the
// right edge while `withStrip`. The ellipse is computed at device resolution, so its edge stays smooth.
QRegion windowShape(const ClockLayout& layout, bool withStrip, qreal pixelRatio);

// The smallest text size: smaller sizes are drawn at 12 pixels.
constexpr int MinimumFontSize = 12;

} // namespace kiv
