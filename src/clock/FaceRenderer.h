#pragma once

#include "clock/CharacterGlyphs.h"
#include "clock/FaceFrame.h"

#include <QBrush>
#include <QImage>
#include <QRegion>

#include <optional>
#include <vector>
#include <QPen>

namespace kiv {

struct ClockLayout;
struct ClockSettings;

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

// Draws one frame of the face in one go onto a fully transparent surface of the layout's size (the icon, a
// look at the face); the window's frames come from FaceDrawer, which draws the same things from layers.
void DrawClock(QPainter& painter, const ClockLayout& layout, const DrawingTools& tools, const FaceFrame& frame,
               const QImage& buttonStrip);

// A picture of the face with the default settings at ten past ten, `size` pixels square: the program's icon.
QImage clockIconImage(int size);
// The same picture drawn with `painter` into the square (0, 0, size, size), for a scalable icon.
void drawClockIcon(QPainter& painter, int size);

// An image kept as runs of equal pixels, row by row: the face's layers are mostly runs of one colour
// (transparent, the disc, the inside of a ring), so they take a fraction of a whole image's memory.
class PixelRuns
{
public:
    PixelRuns() = default;
    explicit PixelRuns(const QImage& image); // premultiplied 32-bit pixels
    QSize size() const { return m_size; }
    // Sets the pixels of `image` inside `rect` (device pixels) to this image's.
    void copyInto(QImage& image, const QRect& rect) const;
    // Blends this image over `image` inside `rect` as the painter's source-over would.
    void blendOver(QImage& image, const QRect& rect) const;

private:
    template<typename Apply>
    void forEachRun(QImage& image, const QRect& rect, Apply apply) const;

    struct Run
    {
        QRgb pixel;
        quint16 start; // the first column
        quint16 length;
    };
    std::vector<qsizetype> m_rowStarts; // the index of each row's first run, and the end of the last row
    std::vector<Run> m_runs;
    QSize m_size;
};

// Draws the window's frames from cached layers: the disc; the seconds ring; everything that changes at most
// once a minute (the minute and hour rings, the name or weekday, the date, and over them the scale, the focus
// ring and the buttons, which are kept in a layer of their own as they change only with the settings, the
// focus or the mouse); and the time text on top. The disc and the minute layer are drawn again only when what they show
// changes, so the usual tick draws a piece of the seconds ring and the time text over copies of the cached
// layers in the two small rectangles that changed. A whole frame is made the same way, so a frame drawn in
// pieces has exactly the pixels of one drawn whole.
class FaceDrawer
{
public:
    // Forgets the layers and the frame shown: the next frame is drawn whole (after a change of the layout,
    // the drawing tools or the image).
    void reset();
    // Takes `frame` as the frame to show and returns the region (logical pixels) in which it differs from the
    // frame shown before: all of the face after a reset or when more than the second changed, nothing when it
    // is the same frame.
    QRegion advance(const ClockLayout& layout, const FaceFrame& frame);
    // Draws the frame to show into `image` (device pixels, `image.devicePixelRatio()` of them to a logical
    // pixel, of the layout's size) inside `region` (logical pixels), whatever the image held there before.
    void paint(QImage& image, const QRegion& region, const ClockLayout& layout, const DrawingTools& tools,
               const QImage& buttonStrip);
    // advance() and paint() of what changed, into an image that showed the frame before.
    QRegion draw(QImage& image, const ClockLayout& layout, const DrawingTools& tools, const FaceFrame& frame,
                 const QImage& buttonStrip);
    // The frame to show (an empty frame before the first one).
    const FaceFrame& shown() const { return m_shown; }

private:
    static bool overlayDiffers(const FaceFrame& a, const FaceFrame& b);
    void buildDisc(const ClockLayout& layout, const DrawingTools& tools, QSize size, qreal ratio);
    void buildOverlay(const ClockLayout& layout, const DrawingTools& tools, const FaceFrame& frame,
                      const QImage& buttonStrip);
    void buildMinuteLayer(const ClockLayout& layout, const DrawingTools& tools, const FaceFrame& frame);
    void compose(QPainter& painter, QImage& image, const QRect& deviceRect, const ClockLayout& layout,
                 const DrawingTools& tools, const FaceFrame& frame, bool withSecondsRing);
    // The rectangles (logical pixels) that differ between two frames when only the second moved on: the new
    // piece of the seconds ring and the characters of the time text that changed; nothing when more changed.
    QList<QRectF> secondChangeRects(const ClockLayout& layout, const FaceFrame& before, const FaceFrame& after);

    PixelRuns m_disc;        // the face's disc
    PixelRuns m_overlay;     // the scale, the focus ring and the buttons, over a transparent ground
    PixelRuns m_minuteLayer; // what changes at most once a minute, with the overlay blended over it
    FaceFrame m_layerFrame; // the frame the minute layer shows (its second and time text unused)
    FaceFrame m_shown;      // the frame to show
    CharacterGlyphs m_timeGlyphs;
    bool m_layersValid = false;
    bool m_shownValid = false;
};

// The part of the window that shows and takes the mouse, in device pixels (`pixelRatio` of them to a logical
// pixel): the face with its focus ring and a pixel of its soft edge to spare, and the button strip at the
// right edge while `withStrip`. The ellipse is computed at device resolution, so its edge stays smooth.
QRegion windowShape(const ClockLayout& layout, bool withStrip, qreal pixelRatio);

// The smallest text size: smaller sizes are drawn at 12 pixels.
constexpr int MinimumFontSize = 12;

} // namespace kiv
