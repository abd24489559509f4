#include "platform/WindowSystem.h"

#include <QGuiApplication>
#include <QTransform>
#include <QWindow>

#include <xcb/shape.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <vector>

namespace kiv {
namespace {

constexpr uint32_t kNetWmStateRemove = 0;
constexpr uint32_t kNetWmStateAdd = 1;
constexpr uint32_t kAllDesktops = 0xFFFFFFFF;

xcb_atom_t internAtom(xcb_connection_t* connection, const QByteArray& name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(name.size()), name.constData()), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

std::vector<xcb_rectangle_t> rectanglesOf(const QRegion& region)
{
    std::vector<xcb_rectangle_t> rectangles;
    for (const QRect& r : region)
        rectangles.push_back({int16_t(r.x()), int16_t(r.y()), uint16_t(r.width()), uint16_t(r.height())});
    return rectangles;
}

class X11WindowSystem final : public WindowSystem
{
public:
    X11WindowSystem(xcb_connection_t* connection, int screen) : m_connection(connection), m_screen(screen) {}

    void setShape(QWindow* window, const QRegion& region) override
    {
        shape(window, XCB_SHAPE_SK_BOUNDING, region);
        shape(window, XCB_SHAPE_SK_INPUT, region);
    }

    void setKeepAbove(QWindow* window, bool above) override
    {
        // A mapped window asks the window manager (EWMH _NET_WM_STATE); a hidden one keeps the hint for later.
        window->setFlag(Qt::WindowStaysOnTopHint, above);
        if (!window->isVisible())
            return;
        askWindowManager(window, "_NET_WM_STATE",
                         {above ? kNetWmStateAdd : kNetWmStateRemove, internAtom(m_connection, "_NET_WM_STATE_ABOVE")});
    }

    void showOnAllDesktops(QWindow* window) override
    {
        if (!window->isVisible())
            return;
        askWindowManager(window, "_NET_WM_DESKTOP", {kAllDesktops});
        askWindowManager(window, "_NET_WM_STATE", {kNetWmStateAdd, internAtom(m_connection, "_NET_WM_STATE_STICKY")});
        askWindowManager(window, "_NET_WM_STATE",
                         {kNetWmStateAdd, internAtom(m_connection, "_NET_WM_STATE_SKIP_TASKBAR"),
                          internAtom(m_connection, "_NET_WM_STATE_SKIP_PAGER")});
    }

    bool mouseButtonsDown() const override
    {
        xcb_query_pointer_reply_t* reply =
            xcb_query_pointer_reply(m_connection, xcb_query_pointer(m_connection, rootWindow()), nullptr);
        const uint16_t buttons = XCB_KEY_BUT_MASK_BUTTON_1 | XCB_KEY_BUT_MASK_BUTTON_2 | XCB_KEY_BUT_MASK_BUTTON_3;
        const bool down = reply && (reply->mask & buttons) != 0;
        std::free(reply);
        return down;
    }

    std::optional<QPoint> windowPosition(QWindow* window) const override
    {
        xcb_translate_coordinates_reply_t* reply = xcb_translate_coordinates_reply(
            m_connection, xcb_translate_coordinates(m_connection, xcb_window_t(window->winId()), rootWindow(), 0, 0),
            nullptr);
        std::optional<QPoint> position;
        if (reply)
            position = (QPointF(reply->dst_x, reply->dst_y) / window->devicePixelRatio()).toPoint();
        std::free(reply);
        return position;
    }

private:
    // An EWMH request about `window` to the window manager: a client message to the root window whose first
    // data words are `data`, marked as coming from a normal application.
    void askWindowManager(QWindow* window, const QByteArray& message, std::initializer_list<uint32_t> data)
    {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = xcb_window_t(window->winId());
        event.type = internAtom(m_connection, message);
        std::copy(data.begin(), data.end(), event.data.data32);
        event.data.data32[message == "_NET_WM_STATE" ? 3 : 1] = 1; // the source: a normal application
        xcb_send_event(m_connection, 0, rootWindow(),
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&event));
        xcb_flush(m_connection);
    }

    xcb_window_t rootWindow() const
    {
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
        for (int i = 0; i < m_screen && it.rem; ++i)
            xcb_screen_next(&it);
        return it.data ? it.data->root : XCB_NONE;
    }

    void shape(QWindow* window, xcb_shape_kind_t kind, const QRegion& region)
    {
        const std::vector<xcb_rectangle_t> rectangles = rectanglesOf(region);
        xcb_shape_rectangles(m_connection, XCB_SHAPE_SO_SET, kind, XCB_CLIP_ORDERING_UNSORTED,
                             xcb_window_t(window->winId()), 0, 0, uint32_t(rectangles.size()), rectangles.data());
        xcb_flush(m_connection);
    }

    xcb_connection_t* m_connection;
    int m_screen;
};

// Where there is no X11: shapes and stacking are left to Qt.
class NeutralWindowSystem final : public WindowSystem
{
public:
    void setShape(QWindow* window, const QRegion& region) override
    {
        const qreal ratio = window->devicePixelRatio();
        window->setMask(QTransform::fromScale(1 / ratio, 1 / ratio).map(region));
    }
    void setKeepAbove(QWindow* window, bool above) override { window->setFlag(Qt::WindowStaysOnTopHint, above); }
    void showOnAllDesktops(QWindow*) override {}
    bool mouseButtonsDown() const override { return QGuiApplication::mouseButtons() != Qt::NoButton; }
    std::optional<QPoint> windowPosition(QWindow*) const override { return std::nullopt; }
};

} // namespace

std::unique_ptr<WindowSystem> createWindowSystem()
{
    if (auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr) {
        if (xcb_connection_t* connection = x11->connection())
            return std::make_unique<X11WindowSystem>(connection, 0);
    }
    return std::make_unique<NeutralWindowSystem>();
}

} // namespace kiv
