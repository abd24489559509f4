#pragma once

#include <QPoint>
#include <QRegion>

#include <memory>
#include <optional>

class QWindow;

namespace kiv {

// What the clock window needs from the window system beyond Qt's own calls.
class WindowSystem
{
public:
    virtual ~WindowSystem() = default;
    // Cuts the window to `region`, in device pixels (a scaled screen has more of them than the window's
    // logical size): outside it the window neither shows nor takes mouse input, so clicks
    // reach the windows below. Both shapes are set, because window managers that frame their clients
    // copy the bounding shape to the frame, and without a compositor only it hides the pixels outside.
    virtual void setShape(QWindow* window, const QRegion& region) = 0;
    // Keeps the window above normal windows, or stops doing so, without moving it.
    virtual void setKeepAbove(QWindow* window, bool above) = 0;
    // Shows the window on every workspace and keeps it out of the taskbar and the pager, as a desktop clock
    // belongs to the desktop rather than to one workspace. Asked of the window manager once it is mapped.
    virtual void showOnAllDesktops(QWindow* window) = 0;
    // True while any mouse button is held down (also during a move run by the window manager).
    virtual bool mouseButtonsDown() const = 0;
    // Where the window's top-left corner is now, as the window system has it. Qt learns of moves made by
    // the window manager only as it reads their events, which can lag behind. Empty where it cannot be asked.
    virtual std::optional<QPoint> windowPosition(QWindow* window) const = 0;
};

// The implementation for the platform Qt runs on (X11; a neutral one elsewhere, such as offscreen).
std::unique_ptr<WindowSystem> createWindowSystem();

} // namespace kiv
