#include "clock/WindowPlacement.h"

#include "clock/FaceFrame.h"
#include "settings/ClockSettings.h"

#include <cmath>

namespace kiv {

int buttonStateAt(QPoint position, int width)
{
    const int x = position.x();
    const int y = position.y();
    if (x <= width - 21)
        return ButtonNone;
    if (y > 21 && y < 42)
        return ButtonClose;
    if (y > 42 && y < 63)
        return ButtonSettings;
    if (y > 63 && y < 84)
        return ButtonMove;
    return ButtonNone;
}

qint32 monitorAt(const QList<MonitorInfo>& monitors, QPoint cursor, qint32 current)
{
    for (qsizetype i = 0; i < monitors.size() && i < MaxMonitors; ++i) {
        const QRect& r = monitors[i].monitor;
        if (cursor.x() >= r.left() && cursor.x() <= r.left() + r.width() && cursor.y() >= r.top() &&
            cursor.y() <= r.top() + r.height())
            return qint32(i);
    }
    return current;
}

QRect workAreaOf(const QList<MonitorInfo>& monitors, qint32 monitorId)
{
    if (monitors.isEmpty())
        return {};
    if (monitorId < 0 || monitorId >= monitors.size())
        return monitors.first().workArea;
    return monitors[monitorId].workArea;
}

qint32 twipsPerPixel(double dotsPerInch)
{
    return dotsPerInch > 0 ? qint32(std::lround(1440.0 / dotsPerInch)) : 15;
}

QPoint clampToWorkArea(QPoint positionTwips, QSize size, const QRect& workArea, qint32 twipsX, qint32 twipsY)
{
    // Right and bottom are exclusive edges here: a 246-pixel window on a 1280-pixel screen ends at x 1034.
    const int workRight = workArea.left() + workArea.width();
    const int workBottom = workArea.top() + workArea.height();
    int left = positionTwips.x();
    int top = positionTwips.y();
    if (left < workArea.left() * twipsX)
        left = workArea.left() * twipsX;
    if (left > (workRight - size.width()) * twipsX)
        left = (workRight - size.width()) * twipsX;
    if (top > (workBottom - size.height()) * twipsY)
        top = (workBottom - size.height()) * twipsY;
    if (workArea.top() != 0 && top < workArea.top() * twipsY)
        top = workArea.top() * twipsY;
    return {left, top};
}

} // namespace kiv
