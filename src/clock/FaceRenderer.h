#pragma once

#include <QBrush>
#include <QImage>
#include <QRegion>
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

// The part of the window that shows and takes the mouse, in device pixels (`pixelRatio` of them to a logical
// pixel): the face with its focus ring and a pixel of its soft edge to spare, and the button strip at the
// right edge while `withStrip`. The ellipse is computed at device resolution, so its edge stays smooth.
QRegion windowShape(const ClockLayout& layout, bool withStrip, qreal pixelRatio);

// The smallest text size: smaller sizes are drawn at 12 pixels.
constexpr int MinimumFontSize = 12;

} // namespace kiv
