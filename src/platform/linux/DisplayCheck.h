#pragma once

#include <QDBusConnection>
#include <QString>

#include <optional>

namespace kiv {

// The X display Qt's platform `platform` (QT_QPA_PLATFORM, "" for Qt's default, which is xcb here) would
// open with `display` (DISPLAY); nothing when that platform needs no X server (offscreen, wayland, ...).
std::optional<QString> x11DisplayToOpen(const QString& platform, const QString& display);

// True when an X connection to `display` opens (an empty name never does).
bool canOpenX11Display(const QString& display);

// The display that the clock needs and cannot open, checked before the application object exists: Qt's xcb
// platform aborts the process when its display refuses it. Nothing when the display opens or none is needed.
std::optional<QString> unopenableDisplay();

// Shows a notification through the desktop's notification service (org.freedesktop.Notifications);
// false when no service answers. Needs a QCoreApplication.
bool notifyDesktop(const QString& summary, const QString& body, const QDBusConnection& bus);
// The session bus when one is there to ask: never starts one (libdbus would launch a bus for X11).
std::optional<QDBusConnection> existingSessionBus();

} // namespace kiv
