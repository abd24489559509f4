#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace kiv {

struct MonitorInfo;

// Where the mouse is over the button strip at the right edge of a window `width` pixels wide:
// close 21..42, settings 42..63, move 63..84 from the top; the boundaries belong to no button.
int buttonStateAt(QPoint position, int width);

// The index of the first monitor whose rectangle contains `cursor` (edges included), else `current`.
qint32 monitorAt(const QList<MonitorInfo>& monitors, QPoint cursor, qint32 current);

// The work area a clock on monitor `monitorId` keeps to: that monitor's, or the primary one's (the first)
// when the index names no monitor.
QRect workAreaOf(const QList<MonitorInfo>& monitors, qint32 monitorId);

// Twips per pixel of a screen with `dotsPerInch` logical dots per inch (15 at 96).
qint32 twipsPerPixel(double dotsPerInch);

// Keeps a window of `size` pixels, at `position` twips, on `workArea` (pixels): back against the left,
// right and bottom edges, and against the top edge only where the work area does not start at 0.
QPoint clampToWorkArea(QPoint positionTwips, QSize size, const QRect& workArea, qint32 twipsX, qint32 twipsY);

} // namespace kiv
