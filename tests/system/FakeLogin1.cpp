// A stand-in for systemd-logind (and, with --gnome, for GNOME's session manager, with --notifications for the
// desktop's notification service) on a private bus. It answers the calls the clock makes and prints each one
// on a line of its own, so that a test can tell which action called what. Nothing is ever shut down,
// restarted or locked. A line on its standard input makes it announce a suspend and the wake after it
// (PrepareForSleep).
//   fake_login1 ADDRESS [--can yes|no|challenge] [--gnome] [--notifications]
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QObject>
#include <QSocketNotifier>

#include <cstdio>

#include <unistd.h>

namespace {

void note(const QString& call)
{
    std::printf("%s\n", qPrintable(call));
    std::fflush(stdout);
}

class Manager final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")

public:
    explicit Manager(QString can) : m_can(std::move(can)) {}

public slots:
    QString CanPowerOff() { return note(QStringLiteral("CanPowerOff")), m_can; }
    QString CanReboot() { return note(QStringLiteral("CanReboot")), m_can; }
    void PowerOff(bool interactive) { note(QStringLiteral("PowerOff %1").arg(interactive)); }
    void Reboot(bool interactive) { note(QStringLiteral("Reboot %1").arg(interactive)); }
    QDBusObjectPath GetSessionByPID(uint)
    {
        return QDBusObjectPath(QStringLiteral("/org/freedesktop/login1/session/_31"));
    }

private:
    QString m_can;
};

class Session final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Session")

public slots:
    void Lock() { note(QStringLiteral("Session.Lock")); }
};

class GnomeSessionManager final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.gnome.SessionManager")

public slots:
    void Shutdown() { note(QStringLiteral("GnomeSession.Shutdown")); }
    void Reboot() { note(QStringLiteral("GnomeSession.Reboot")); }
};

class Notifications final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public slots:
    uint Notify(const QString&, uint, const QString& icon, const QString& summary, const QString& body,
                const QStringList&, const QVariantMap&, int)
    {
        return note(QStringLiteral("Notify %1 %2 | %3").arg(icon, summary, body)), 1;
    }
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2)
        return 2;
    const qsizetype canAt = args.indexOf(QStringLiteral("--can"));
    Manager manager(canAt > 0 && canAt + 1 < args.size() ? args[canAt + 1] : QStringLiteral("yes"));
    Session session;
    GnomeSessionManager gnome;
    Notifications notifications;
    QDBusConnection bus = QDBusConnection::connectToBus(args[1], QStringLiteral("fake"));
    const auto exportAll = QDBusConnection::ExportAllSlots;
    bool ok = bus.registerObject(QStringLiteral("/org/freedesktop/login1"), &manager, exportAll) &&
              bus.registerObject(QStringLiteral("/org/freedesktop/login1/session/_31"), &session, exportAll) &&
              bus.registerService(QStringLiteral("org.freedesktop.login1"));
    if (args.contains(QStringLiteral("--gnome")))
        ok = ok && bus.registerObject(QStringLiteral("/org/gnome/SessionManager"), &gnome, exportAll) &&
             bus.registerService(QStringLiteral("org.gnome.SessionManager"));
    if (args.contains(QStringLiteral("--notifications")))
        ok = ok && bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &notifications, exportAll) &&
             bus.registerService(QStringLiteral("org.freedesktop.Notifications"));
    if (!ok)
        return 1;
    QSocketNotifier input(0, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&bus, &input] {
        char line[64] = {};
        if (::read(0, line, sizeof line - 1) <= 0)
            return input.setEnabled(false);
        for (const bool start : {true, false}) {
            bus.send(QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/login1"),
                                                QStringLiteral("org.freedesktop.login1.Manager"),
                                                QStringLiteral("PrepareForSleep"))
                     << start);
        }
        note(QStringLiteral("slept"));
    });
    note(QStringLiteral("ready"));
    return app.exec();
}

#include "FakeLogin1.moc"
