#include "platform/linux/LogindPowerActions.h"

#include "core/Logging.h"
#include "platform/UserMessages.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusObjectPath>
#include <QDBusReply>

namespace kiv {
namespace {

const QString kLogind = QStringLiteral("org.freedesktop.login1");
const QString kLogindPath = QStringLiteral("/org/freedesktop/login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");
const QString kSession = QStringLiteral("org.freedesktop.login1.Session");

// A session manager that ends the session (letting programs save) and then shuts down or restarts.
struct SessionManager
{
    const char16_t* service;
    const char16_t* path;
    const char16_t* interface;
    const char16_t* shutdown;
    const char16_t* restart;
    bool takesAllowSave; // Xfce's methods take "allow save"
};

constexpr SessionManager kSessionManagers[] = {
    {u"org.gnome.SessionManager", u"/org/gnome/SessionManager", u"org.gnome.SessionManager", u"Shutdown", u"Reboot",
     false},
    {u"org.kde.Shutdown", u"/Shutdown", u"org.kde.Shutdown", u"logoutAndShutdown", u"logoutAndReboot", false},
    {u"org.xfce.SessionManager", u"/org/xfce/SessionManager", u"org.xfce.Session.Manager", u"Shutdown", u"Restart",
     true},
};

} // namespace

LogindPowerActions::LogindPowerActions(UserMessages& messages) : m_messages(messages) {}

LogindPowerActions::LogindPowerActions(UserMessages& messages, QDBusConnection systemBus, QDBusConnection sessionBus)
    : m_messages(messages), m_system(std::move(systemBus)), m_session(std::move(sessionBus))
{}

QDBusConnection& LogindPowerActions::system()
{
    if (!m_system)
        m_system = QDBusConnection::systemBus();
    return *m_system;
}

QDBusConnection& LogindPowerActions::session()
{
    if (!m_session)
        m_session = QDBusConnection::sessionBus();
    return *m_session;
}

bool LogindPowerActions::askSessionManager(bool restart)
{
    if (!session().isConnected() || !session().interface())
        return false;
    for (const SessionManager& manager : kSessionManagers) {
        const QString service = QString::fromUtf16(manager.service);
        if (!session().interface()->isServiceRegistered(service))
            continue;
        QDBusMessage call = QDBusMessage::createMethodCall(
            service, QString::fromUtf16(manager.path), QString::fromUtf16(manager.interface),
            QString::fromUtf16(restart ? manager.restart : manager.shutdown));
        if (manager.takesAllowSave)
            call << true;
        const QDBusMessage reply = session().call(call);
        if (reply.type() != QDBusMessage::ErrorMessage) {
            qCInfo(lcDesktop) << "the session manager" << service << "ends the session";
            return true;
        }
        qCWarning(lcDesktop).noquote() << service << "refused:" << reply.errorMessage();
    }
    return false;
}

void LogindPowerActions::callLogind(const QString& method, bool interactive)
{
    qCInfo(lcDesktop) << "asking logind for" << method;
    const QDBusMessage reply =
        system().call(QDBusMessage::createMethodCall(kLogind, kLogindPath, kManager, method) << interactive);
    if (reply.type() == QDBusMessage::ErrorMessage)
        qCWarning(lcDesktop).noquote() << "logind refused" << method << reply.errorMessage();
}

QString LogindPowerActions::permission(const QString& canMethod)
{
    const QDBusReply<QString> reply =
        system().call(QDBusMessage::createMethodCall(kLogind, kLogindPath, kManager, canMethod));
    return reply.isValid() ? reply.value() : QString();
}

void LogindPowerActions::ShutdownComputer()
{
    if (!askSessionManager(false))
        callLogind(QStringLiteral("PowerOff"), true);
}

void LogindPowerActions::RestartComputer()
{
    if (!askSessionManager(true))
        callLogind(QStringLiteral("Reboot"), true);
}

void LogindPowerActions::forced(const QString& canMethod, const QString& method, const QString& failure)
{
    const QString may = permission(canMethod);
    if (may != u"yes" && may != u"challenge") {
        m_messages.show(failure, PowerMessages::Title, MessageIcon::Exclamation);
        return;
    }
    callLogind(method, may == u"challenge");
}

void LogindPowerActions::ForceShutdown()
{
    forced(QStringLiteral("CanPowerOff"), QStringLiteral("PowerOff"), PowerMessages::ShutdownFailed());
}

void LogindPowerActions::ForceRestart()
{
    forced(QStringLiteral("CanReboot"), QStringLiteral("Reboot"), PowerMessages::RestartFailed());
}

void SleepSignalReceiver::PrepareForSleep(bool start)
{
    // false arrives after the wake; the boot-time check of the countdown covers a signal that was missed.
    // The call may stop the watch, which deletes this receiver and its function: call a copy.
    const std::function<void()> call = aboutToSleep;
    if (start && call)
        call();
}

void LogindPowerActions::watchSleep(std::function<void()> aboutToSleep)
{
    if (!m_sleep) {
        m_sleep = std::make_unique<SleepSignalReceiver>();
        system().connect(kLogind, kLogindPath, kManager, QStringLiteral("PrepareForSleep"), m_sleep.get(),
                         SLOT(PrepareForSleep(bool)));
    }
    m_sleep->aboutToSleep = std::move(aboutToSleep);
}

void LogindPowerActions::unwatchSleep()
{
    if (!m_sleep)
        return;
    system().disconnect(kLogind, kLogindPath, kManager, QStringLiteral("PrepareForSleep"), m_sleep.get(),
                        SLOT(PrepareForSleep(bool)));
    m_sleep.reset();
}

void LogindPowerActions::LockComputer()
{
    QDBusReply<QDBusObjectPath> session =
        system().call(QDBusMessage::createMethodCall(kLogind, kLogindPath, kManager, QStringLiteral("GetSessionByPID"))
                      << quint32(QCoreApplication::applicationPid()));
    if (!session.isValid() && !qEnvironmentVariableIsEmpty("XDG_SESSION_ID")) {
        session =
            system().call(QDBusMessage::createMethodCall(kLogind, kLogindPath, kManager, QStringLiteral("GetSession"))
                          << qEnvironmentVariable("XDG_SESSION_ID"));
    }
    if (session.isValid())
        system().call(
            QDBusMessage::createMethodCall(kLogind, session.value().path(), kSession, QStringLiteral("Lock")));
}

} // namespace kiv
