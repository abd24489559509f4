#include "clock/ClockLayout.h"

#include "settings/ClockSettings.h"

#include <cmath>

namespace kiv {
namespace {

// The face's angles use this value of pi, so that tick positions match the original drawing exactly.
constexpr double kPi = 3.1415926;

QRectF square(double offset, double size)
{
    return {offset, offset, size, size};
}

} // namespace

QPointF pointOnFace(const ClockLayout& layout, double degrees, double radius)
{
    const double radians = degrees * kPi / 180;
    return {std::cos(radians) * radius + layout.centreX, std::sin(radians) * radius + layout.centreY};
}

ClockLayout ComputeClockLayout(const ClockSettings& settings)
{
    const double r = settings.ClockRadius;
    const double h = settings.HourCircleWidth;
    const double m = settings.MinuteCircleWidth;
    const double s = settings.SecondCircleWidth;
    constexpr double margin = ClockLayout::Margin;

    ClockLayout layout;
    layout.centreX = layout.centreY = settings.SecondCircleWidth + settings.MinuteCircleWidth +
                                      settings.HourCircleWidth + settings.ClockRadius + ClockLayout::Margin;
    layout.innerDiameter = 2 * settings.ClockRadius;
    layout.face = square(margin, 2 * (r + h + m + s));
    layout.secondArc = square(margin + s / 2, 2 * (r + h + m) + s);
    layout.minuteArc = square(margin + s + m / 2, 2 * (r + h) + m);
    layout.hourArc = square(margin + s + m + h / 2, 2 * r + h);
    layout.minuteOuter = square(margin + s, 2 * (r + h + m));
    layout.hourOuter = square(margin + s + m, 2 * (r + h));
    layout.inner = square(margin + s + m + h, 2 * r);

    const bool twentyFourHour = settings.TwelveOr24Hour != 0;
    layout.hourTickCount = twentyFourHour ? 24 : 12;
    const double hourStep = twentyFourHour ? 15 : 30;
    for (int i = 0; i < layout.hourTickCount; ++i)
        layout.hourTicks[i] = QLineF(pointOnFace(layout, hourStep * i, r), pointOnFace(layout, hourStep * i, r + h));
    for (int i = 0; i < 60; ++i)
        layout.minuteTicks[i] =
            QLineF(pointOnFace(layout, 6.0 * i, r + h), pointOnFace(layout, 6.0 * i, r + h + m + s));
    return layout;
}

} // namespace kiv
