#include "clock/ClockWindow.h"

#include "clock/ClockLayout.h"
#include "clock/WindowPlacement.h"
#include "platform/WindowSystem.h"
#include "settings/ClockSettings.h"
#include "timezone/ZoneTime.h"

#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleHints>
#include <QWindow>
#include <QBackingStore>
#include <QPaintEvent>

#include <cstdlib>

namespace kiv {
namespace {

constexpr int kHoverMs = 100;
// The tick comes this long after the second boundary, so that the clock it reads has passed it.
constexpr int kTickLateMs = 3;
// How far a tick may stray from a second after the last one before the clock counts as set or woken.
constexpr qint64 kJumpToleranceMs = 1500;
constexpr int kMoveWatchMs = 30;
constexpr int kMoveSettleMs = 150;
constexpr int kStripWidth = 21;

} // namespace

ClockWindow::ClockWindow(ClockWindowContext context, ClockWindowActions actions)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::Tool), m_context(std::move(context)),
      m_actions(std::move(actions)), m_buttonStrip(makeButtonStrip())
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setWindowTitle(QStringLiteral("Kiv Clock {") + m_context.clockName + u'}');

    m_tickTimer.setSingleShot(true);
    m_tickTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_tickTimer, &QTimer::timeout, this, &ClockWindow::tick);
    m_hoverTimer.setInterval(kHoverMs);
    connect(&m_hoverTimer, &QTimer::timeout, this, &ClockWindow::watchHover);
    m_moveTimer.setInterval(kMoveWatchMs);
    connect(&m_moveTimer, &QTimer::timeout, this, &ClockWindow::watchSystemMove);

    rebuild();
    armTick();
}

void ClockWindow::armTick()
{
    // One wakeup a second, on the boundary of the wall-clock second, whatever the time the last tick took.
    // Being re-armed from the wall clock every time, the tick finds its second again within one second
    // after the clock is set or the machine wakes from suspend.
    const int msIntoSecond = int(m_context.time.msecsSinceEpoch() % 1000);
    m_tickTimer.start(1000 - msIntoSecond + kTickLateMs);
}

void ClockWindow::tick()
{
    // Ticks come a second apart; a longer or negative step is a wall clock set or a wake from suspend.
    const qint64 now = m_context.time.msecsSinceEpoch();
    if (m_lastTickMs != 0 && std::abs(now - m_lastTickMs - 1000) > kJumpToleranceMs)
        m_context.time.refresh();
    m_lastTickMs = now;
    armTick();
    // The face and the alarm check go by the same zone time.
    const QDateTime zoneTime = zoneTimeNow();
    // The tick paints at once: a posted update would wake the event loop a second time and cost as much
    // again as the drawing.
    const QRegion changed = advanceFrame(zoneTime); // an empty region paints nothing
    if (isVisible())
        repaint(changed);
    else
        update(changed);
    if (m_actions.checkAlarms)
        m_actions.checkAlarms(zoneTime);
}

void ClockWindow::rebuild()
{
    const ClockLayout& layout = m_context.layout;
    m_tools = CreateDrawingTools(m_context.settings);
    m_texts = DateTimeTexts::fromLocale(QLocale::system(), QLocale()); // the default locale: the interface's
    // The face is drawn at the screen's resolution: a scaled screen (HiDPI) gets a crisp face, not an
    // enlarged one. The painter keeps to logical coordinates.
    m_pixelRatio = devicePixelRatioF();
    m_drawer.reset();
    setFixedSize(layout.width(), layout.height());
    move(positionInPixels());
    clampAndRemember();
    applyStacking();
    updateShape();
    redraw();
}

QPoint ClockWindow::positionInPixels() const
{
    return {m_context.settings.Left / m_context.twipsPerPixelX, m_context.settings.Top / m_context.twipsPerPixelY};
}

void ClockWindow::applyStacking()
{
    m_onTop = m_context.settings.AlwaysOnTop == 1;
    // Before the window exists the flag alone decides; afterwards the window manager is asked directly,
    // because changing a visible widget's flags would hide it and lose its place.
    if (!windowHandle()) {
        setWindowFlag(Qt::WindowStaysOnTopHint, m_onTop);
        return;
    }
    m_context.windowSystem.setKeepAbove(windowHandle(), m_onTop);
    if (!m_onTop)
        raise();
}

QDateTime ClockWindow::zoneTimeNow() const
{
    const ClockSettings& settings = m_context.settings;
    if (settings.Zone.isValid())
        return ComputeZoneTime(m_context.time.localNow(), settings.Zone);
    // A clock whose tz database zone is missing shows its fixed zone's standard time (the time standard of
    // such a clock is not kept up to date).
    return ComputeZoneTime(m_context.time.localNow(), m_context.time.systemZone(), settings.ZoneOffset,
                           settings.ZoneId.isEmpty() ? settings.TimeStandard : 0);
}

QRegion ClockWindow::advanceFrame(const QDateTime& zoneTime)
{
    const FaceFrame frame =
        ComputeFaceFrame(zoneTime, m_context.settings, m_context.clockName, m_texts, isActiveWindow(), m_buttonState);
    // Only what changed is drawn and pushed to the screen: usually a piece of the seconds ring and the time,
    // drawn by paintEvent() from the cached layers in well under a tenth of a millisecond. A frame that shows
    // the same as the last one is neither drawn nor pushed again.
    return m_drawer.advance(m_context.layout, frame);
}

bool ClockWindow::redraw()
{
    // Marked for the next paint: a key or mouse handler returns at once (a press on the move button must
    // reach the window manager while the pointer is still where it was pressed).
    const QRegion changed = advanceFrame(zoneTimeNow());
    if (changed.isEmpty())
        return false;
    update(changed);
    return true;
}

void ClockWindow::paintEvent(QPaintEvent* event)
{
    // The window manager takes requests about a window once it manages it; by the first paint it does.
    if (!m_askedForAllDesktops) {
        m_askedForAllDesktops = true;
        m_context.windowSystem.showOnAllDesktops(windowHandle());
    }
    // The face is drawn straight into the window's backing store, an image of the window's pixels on the raster
    // platforms (X11, Wayland); the region asked for is drawn whole from the cached layers, so nothing relies
    // on what the store kept. Otherwise the face goes through an image of its own.
    auto* store = backingStore() ? dynamic_cast<QImage*>(backingStore()->paintDevice()) : nullptr;
    // Painted elsewhere (a grab, a render into a pixmap), the window goes through the painter.
    const bool paintsStore = store && redirected(nullptr) == store && !sharedPainter();
    if (paintsStore && store->format() == QImage::Format_ARGB32_Premultiplied &&
        store->devicePixelRatio() == m_pixelRatio && store->size() == facePixels()) {
        m_drawer.paint(*store, event->region(), m_context.layout, m_tools, m_buttonStrip);
        return;
    }
    QImage face = blankFace();
    m_drawer.paint(face, event->region(), m_context.layout, m_tools, m_buttonStrip);
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.setClipRegion(event->region());
    painter.drawImage(0, 0, face);
}

QSize ClockWindow::facePixels() const
{
    return QSizeF(size() * m_pixelRatio).toSize();
}

QImage ClockWindow::blankFace() const
{
    QImage face(facePixels(), QImage::Format_ARGB32_Premultiplied);
    face.setDevicePixelRatio(m_pixelRatio);
    return face;
}

QImage ClockWindow::faceImage() const
{
    QImage face = blankFace();
    FaceDrawer().draw(face, m_context.layout, m_tools, m_drawer.shown(), m_buttonStrip);
    return face;
}

void ClockWindow::setButtonState(int state)
{
    if (state == m_buttonState)
        return;
    m_buttonState = state;
    updateShape();
}

void ClockWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_hoverTimer.isActive())
        m_hoverTimer.start();
    if (m_moveTimer.isActive() && (event->buttons() & Qt::LeftButton)) {
        // A window manager that moves a window holds the pointer; a motion reported here means it has not
        // taken the move or has let it go, so the clock goes on with it itself.
        m_manualMove = true;
    }
    if (m_manualMove) {
        move(event->globalPosition().toPoint() - m_moveOffset);
        return;
    }
    setButtonState(buttonStateAt(event->position().toPoint(), width()));
}

void ClockWindow::watchHover()
{
    if (m_manualMove || m_moveTimer.isActive())
        return;
    const QPoint cursor = QCursor::pos();
    const QRect frame = geometry();
    const bool inside = frame.left() < cursor.x() && cursor.x() < frame.left() + frame.width() &&
                        frame.top() < cursor.y() && cursor.y() < frame.top() + frame.height();
    if (!inside) {
        setButtonState(ButtonOutside);
        m_hoverTimer.stop();
        return;
    }
    const bool onStrip = cursor.x() > frame.left() + frame.width() - kStripWidth &&
                         frame.top() + kStripWidth < cursor.y() && cursor.y() < frame.top() + 4 * kStripWidth;
    if (!onStrip)
        setButtonState(ButtonNone);
}

void ClockWindow::mousePressEvent(QMouseEvent* event)
{
    // The press decides by where it happened: the hover watch may have looked at a pointer that has
    // moved on since the press (the queue of events runs behind the pointer on a busy machine).
    setButtonState(buttonStateAt(event->position().toPoint(), width()));
    if (m_buttonState == ButtonMove)
        startMove(event->globalPosition().toPoint());
}

void ClockWindow::startMove(QPoint globalPosition)
{
    // The window manager moves the window from wherever the pointer is when it is asked. When the press is
    // handled late and the pointer has travelled on, the window follows the pointer here instead, so that
    // the point that was pressed stays under the pointer.
    m_moveOffset = globalPosition - pos();
    const int travelled = (QCursor::pos() - globalPosition).manhattanLength();
    const bool pointerStill = travelled < QGuiApplication::styleHints()->startDragDistance();
    if (pointerStill && windowHandle() && windowHandle()->startSystemMove()) {
        m_sinceLastMove.start();
        m_sinceButtonsUp.invalidate();
        m_moveTimer.start();
        return;
    }
    // No window manager to run the move, or a late press: follow the mouse until the button is released.
    m_manualMove = true;
}

void ClockWindow::watchSystemMove()
{
    // The move ends when the button has been up for a moment and the window manager has stopped moving
    // the window, so that the position taken is the final one even when the window manager lags.
    if (m_context.windowSystem.mouseButtonsDown()) {
        m_sinceButtonsUp.invalidate();
        return;
    }
    if (!m_sinceButtonsUp.isValid())
        m_sinceButtonsUp.start();
    if (m_sinceButtonsUp.elapsed() < kMoveSettleMs || m_sinceLastMove.elapsed() < kMoveSettleMs)
        return;
    m_moveTimer.stop();
    finishMove();
}

void ClockWindow::moveEvent(QMoveEvent* event)
{
    m_sinceLastMove.start();
    QWidget::moveEvent(event);
}

void ClockWindow::finishPendingMove()
{
    if (m_moveTimer.isActive() || m_manualMove) {
        m_moveTimer.stop();
        finishMove();
    }
}

void ClockWindow::finishMove()
{
    m_context.settings.MonitorID = monitorAt(m_context.monitors, QCursor::pos(), m_context.settings.MonitorID);
    // A move the window manager ran is read back from the window system, as Qt's events may lag behind it;
    // a move the clock made itself ends where the clock asked for.
    const QPoint topLeft = m_manualMove ? pos() : m_context.windowSystem.windowPosition(windowHandle()).value_or(pos());
    m_manualMove = false;
    m_context.settings.Left = topLeft.x() * m_context.twipsPerPixelX;
    m_context.settings.Top = topLeft.y() * m_context.twipsPerPixelY;
    clampAndRemember();
    reportSettingsChanged();
}

void ClockWindow::reportSettingsChanged()
{
    if (m_actions.settingsChanged)
        m_actions.settingsChanged();
}

void ClockWindow::clampAndRemember()
{
    const QRect workArea = workAreaOf(m_context.monitors, m_context.settings.MonitorID);
    if (workArea.isValid()) {
        const QPoint clamped = clampToWorkArea({m_context.settings.Left, m_context.settings.Top}, size(), workArea,
                                               m_context.twipsPerPixelX, m_context.twipsPerPixelY);
        m_context.settings.Left = clamped.x();
        m_context.settings.Top = clamped.y();
    }
    move(positionInPixels());
}

void ClockWindow::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_manualMove) {
        m_moveTimer.stop();
        finishMove();
        return;
    }
    if (event->button() == Qt::RightButton) {
        if (m_actions.openMenu)
            m_actions.openMenu(event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint()))
        return;
    if (m_buttonState == ButtonClose) {
        if (m_actions.exitClock)
            m_actions.exitClock(true);
    } else if (m_buttonState == ButtonSettings) {
        if (m_actions.openSettings)
            m_actions.openSettings(this);
    }
}

void ClockWindow::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && m_buttonState == ButtonNone && m_actions.openAbout)
        m_actions.openAbout();
}

void ClockWindow::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        m_context.settings.AlwaysOnTop = m_context.settings.AlwaysOnTop == 1 ? 0 : 1;
        applyStacking();
        reportSettingsChanged();
        break;
    case Qt::Key_PageDown:
        m_context.settings.DisplayScale = m_context.settings.DisplayScale == 0 ? 1 : 0;
        redraw();
        reportSettingsChanged();
        break;
    case Qt::Key_PageUp:
        if (m_actions.openSettings)
            m_actions.openSettings(nullptr);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void ClockWindow::closeEvent(QCloseEvent* event)
{
    // Closing from outside (the window manager, the session) ends the clock the way its close button does.
    event->ignore();
    if (m_actions.exitClock)
        m_actions.exitClock(true);
}

void ClockWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange)
        redraw();
    QWidget::changeEvent(event);
}

void ClockWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The window's screen, and with it the pixel ratio, is known for sure once it is shown.
    if (devicePixelRatioF() != m_pixelRatio)
        rebuild();
    applyStacking();
    m_askedForAllDesktops = false;
    updateShape();
}

void ClockWindow::updateShape()
{
    if (!windowHandle())
        return;
    m_context.windowSystem.setShape(windowHandle(),
                                    windowShape(m_context.layout, m_buttonState != ButtonOutside, devicePixelRatioF()));
}

} // namespace kiv
