#pragma once

#include <QLineF>
#include <QRectF>

#include <array>

namespace kiv {

struct ClockSettings;

// The geometry of the clock face in pixels, computed once per settings change.
struct ClockLayout
{
    static constexpr int Margin = 21; // transparent border around the outer ring; holds the button strip

    int centreX = 0;
    int centreY = 0;
    int innerDiameter = 0;
    QRectF face;        // the whole face, rings included
    QRectF secondArc;   // circle through the middle of the second ring
    QRectF minuteArc;   // ... of the minute ring
    QRectF hourArc;     // ... of the hour ring
    QRectF minuteOuter; // border between the minute and second rings
    QRectF hourOuter;   // border between the hour and minute rings
    QRectF inner;       // the inner disc, also the box of the texts
    std::array<QLineF, 24> hourTicks{};
    int hourTickCount = 0; // 24 in 24-hour mode, 12 in 12-hour mode
    std::array<QLineF, 60> minuteTicks{};

    int width() const { return 2 * centreX; }
    int height() const { return 2 * centreY; }
    // The face circle's radius: r + h + m + s.
    qreal faceRadius() const { return face.width() / 2; }

    bool operator==(const ClockLayout&) const = default;
};

// The layout for range-checked settings: radius, ring widths and the hour format.
ClockLayout ComputeClockLayout(const ClockSettings& settings);

// The point at `degrees` (0 at three o'clock, clockwise) and `radius` around the centre.
QPointF pointOnFace(const ClockLayout& layout, double degrees, double radius);

} // namespace kiv
