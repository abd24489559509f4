#pragma once

#include "clock/FaceFrame.h"
#include "clock/FaceRenderer.h"

#include <QElapsedTimer>
#include <QImage>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace kiv {

struct ClockLayout;
struct ClockSettings;
struct MonitorInfo;
class TimeSource;
class WindowSystem;

// What the clock window reads and writes of the process's state.
struct ClockWindowContext
{
    QString clockName;
    ClockSettings& settings;
    const ClockLayout& layout;
    const TimeSource& time;
    WindowSystem& windowSystem;
    const QList<MonitorInfo>& monitors;
    qint32 twipsPerPixelX = 15;
    qint32 twipsPerPixelY = 15;
};

// What the window asks the rest of the program to do.
struct ClockWindowActions
{
    std::function<void(bool saveSettings)> exitClock;
    std::function<void(QWidget* owner)> openSettings; // owner is null for the Page Up key
    std::function<void()> openAbout;
    std::function<void(QPoint globalPosition)> openMenu;
    std::function<void(const QDateTime& zoneTime)> checkAlarms; // once a second, with the time the face shows
    // A setting changed on the clock itself (position, monitor, on top, dial scale), to be saved soon.
    std::function<void()> settingsChanged;
};

// The clock's one window: frameless, translucent, the face redrawn on every second, the button strip
// while the mouse is over it, dragged by its move button and kept on its monitor's work area.
class ClockWindow final : public QWidget
{
    Q_OBJECT

public:
    ClockWindow(ClockWindowContext context, ClockWindowActions actions);

    // Takes the layout and settings as they are now: size, position, drawing tools, on-top state.
    void rebuild();
    // Applies the on-top state of the settings without moving the window.
    void applyStacking();
    // Draws the current frame now when anything in it changed; true when it drew.
    bool redraw();
    // Completes a move whose mouse button is already up but whose end has not been handled yet, so that
    // the position is remembered before the clock exits.
    void finishPendingMove();

    // The face as the window shows it, drawn whole.
    QImage faceImage() const;
    int buttonState() const { return m_buttonState; }
    bool onTop() const { return m_onTop; }
    const QDateTime& shownZoneTime() const { return m_drawer.shown().ZoneTime; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    QDateTime zoneTimeNow() const;
    // The frame of `zoneTime` as the one to show; the region that changed.
    QRegion advanceFrame(const QDateTime& zoneTime);
    // The window's size in device pixels, and a uninitialised image of it for the face.
    QSize facePixels() const;
    QImage blankFace() const;
    void armTick();
    void tick();
    void watchHover();
    void setButtonState(int state);
    void startMove(QPoint globalPosition);
    void watchSystemMove();
    void finishMove();
    void clampAndRemember();
    void reportSettingsChanged();
    void updateShape();
    QPoint positionInPixels() const;

    ClockWindowContext m_context;
    ClockWindowActions m_actions;
    DrawingTools m_tools;
    DateTimeTexts m_texts; // the system's separators, the interface's day names, read once per rebuild
    QImage m_buttonStrip;
    qreal m_pixelRatio = 1.0; // device pixels per logical pixel of the face
    FaceDrawer m_drawer;     // the face's cached layers
    int m_buttonState = ButtonOutside;
    bool m_onTop = false;
    bool m_manualMove = false;
    QPoint m_moveOffset;
    bool m_shapeWithStrip = false;
    // The window's timers are its children, so that what runs can be seen from outside.
    qint64 m_lastTickMs = 0; // wall-clock time of the last tick
    bool m_askedForAllDesktops = false;
    QTimer m_tickTimer{this};       // on every wall-clock second: the face and the alarm check
    QTimer m_hoverTimer{this};      // 100 ms, only while the mouse is over the window
    QTimer m_moveTimer{this};            // watches the end of a move run by the window manager
    QElapsedTimer m_sinceLastMove;  // the window manager's last word on the position
    QElapsedTimer m_sinceButtonsUp; // the release that ends such a move
};

} // namespace kiv
