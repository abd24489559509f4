#include "platform/linux/DisplayCheck.h"

#include "core/Logging.h"

#include <QDBusMessage>
#include <QFileInfo>
#include <QVariantMap>

#include <xcb/xcb.h>

namespace kiv {

std::optional<QString> x11DisplayToOpen(const QString& platform, const QString& display)
{
    // QT_QPA_PLATFORM may list platforms to try in turn ("xcb;wayland"); the first decides here.
    const QString first = platform.section(u';', 0, 0);
    if (!first.isEmpty() && !first.startsWith(u"xcb"))
        return std::nullopt;
    return display;
}

bool canOpenX11Display(const QString& display)
{
    if (display.isEmpty())
        return false;
    xcb_connection_t* connection = xcb_connect(display.toLocal8Bit().constData(), nullptr);
    const bool opened = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return opened;
}

std::optional<QString> unopenableDisplay()
{
    const std::optional<QString> display =
        x11DisplayToOpen(qEnvironmentVariable("QT_QPA_PLATFORM"), qEnvironmentVariable("DISPLAY"));
    if (!display) {
        qCInfo(lcStartup) << "no X display needed on the platform" << qEnvironmentVariable("QT_QPA_PLATFORM");
        return std::nullopt;
    }
    if (canOpenX11Display(*display))
        return std::nullopt;
    return display;
}

std::optional<QDBusConnection> existingSessionBus()
{
    const QString runtimeBus = qEnvironmentVariable("XDG_RUNTIME_DIR") + QStringLiteral("/bus");
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS") &&
        (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") || !QFileInfo::exists(runtimeBus)))
        return std::nullopt;
    return QDBusConnection::sessionBus();
}

bool notifyDesktop(const QString& summary, const QString& body, const QDBusConnection& bus)
{
    if (!bus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("org.kivclock.KivClock")}};
    call << QStringLiteral("Kiv Clock") << 0u << QStringLiteral("kivclock") << summary << body << QStringList() << hints
         << -1;
    // A notification service started on demand answers within a few seconds; the clock is ending anyway.
    const QDBusMessage reply = bus.call(call, QDBus::Block, 5000);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        qCInfo(lcDesktop).noquote() << "no notification shown:" << reply.errorMessage();
        return false;
    }
    return true;
}

} // namespace kiv
