#pragma once

#include <QRegion>

#include <memory>

class QWindow;

namespace kiv {

// What the clock window needs from the window system beyond Qt's own calls.
class WindowSystem
{
public:
    virtual ~WindowSystem() = default;
    // True when a compositing manager blends translucent windows with what lies below them.
    virtual bool compositorRunning() const = 0;
    // Only `region` of the window takes mouse input; the rest passes it to the windows below.
    virtual void setInputShape(QWindow* window, const QRegion& region) = 0;
    // Cuts the window to `region` where nothing blends translucent pixels.
    virtual void setBoundingShape(QWindow* window, const QRegion& region) = 0;
    // Keeps the window above normal windows, or stops doing so, without moving it.
    virtual void setKeepAbove(QWindow* window, bool above) = 0;
    // True while any mouse button is held down (also during a move run by the window manager).
    virtual bool mouseButtonsDown() const = 0;
};

// The implementation for the platform Qt runs on (X11; a neutral one elsewhere, such as offscreen).
std::unique_ptr<WindowSystem> createWindowSystem();

} // namespace kiv
