#pragma once

#include "platform/AlarmServices.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QObject>

#include <memory>
#include <optional>

namespace kiv {

class UserMessages;

// What the power actions tell the user.
struct PowerMessages
{
    Q_DECLARE_TR_FUNCTIONS(kiv::PowerMessages)

public:
    static inline const QString Title = QStringLiteral("Kiv Clock");
    static QString ShutdownFailed() { return tr("关闭电脑错误"); }
    static QString RestartFailed() { return tr("重启电脑错误"); }
};

// Receives logind's PrepareForSleep signal.
class SleepSignalReceiver final : public QObject
{
    Q_OBJECT

public:
    std::function<void()> aboutToSleep;

public slots:
    void PrepareForSleep(bool start);
};

// Power actions through systemd-logind on the system bus. Shut down and restart first ask the desktop's
// session manager (GNOME, KDE Plasma, Xfce) on the session bus, so that programs can save and close; where
// there is none, logind acts. The forced actions go to logind directly, after checking that this user may
// power off or reboot. Lock locks this process's login session.
class LogindPowerActions final : public PowerActions
{
public:
    // On the machine's buses, connected when first needed: most clocks never run a power action, and a
    // connection costs a thread and memory for the whole life of the clock.
    explicit LogindPowerActions(UserMessages& messages);
    // On the given buses (tests bring private ones).
    LogindPowerActions(UserMessages& messages, QDBusConnection systemBus, QDBusConnection sessionBus);

    void ShutdownComputer() override;
    void RestartComputer() override;
    void LockComputer() override;
    void ForceShutdown() override;
    void ForceRestart() override;
    // logind's PrepareForSleep(true), subscribed to only while watched.
    void watchSleep(std::function<void()> aboutToSleep) override;
    void unwatchSleep() override;

private:
    bool askSessionManager(bool restart);
    void callLogind(const QString& method, bool interactive);
    // "yes", "challenge", "no", "na", or "" when logind does not answer.
    QString permission(const QString& canMethod);
    void forced(const QString& canMethod, const QString& method, const QString& failure);

    QDBusConnection& system();
    QDBusConnection& session();

    UserMessages& m_messages;
    std::optional<QDBusConnection> m_system;
    std::optional<QDBusConnection> m_session;
    std::unique_ptr<SleepSignalReceiver> m_sleep;
};

} // namespace kiv
