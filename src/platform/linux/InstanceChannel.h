#pragma once

#include "platform/ClockInstances.h"

#include <QByteArray>
#include <QObject>

#include <functional>
#include <map>
#include <memory>

class QSocketNotifier;

namespace kiv {

// Every running clock listens on a local socket of its own, named from a hash of the clock's name, in
// a folder only this user can enter ($XDG_RUNTIME_DIR/kivclock). A client asks "ping", "raise" or "close";
// the clock answers "ok", or "closed" once it has run its exit. Where that folder lies too deep for a socket
// address, the sockets go to a private folder of this user under the temporary folder instead. Plain Unix
// sockets under a QSocketNotifier: Qt's local sockets would load QtNetwork (and Kerberos) into every clock for
// a few bytes a day.
namespace InstanceChannel {
// The socket path of a clock; `runtimeFolder` defaults to $XDG_RUNTIME_DIR/kivclock.
QString socketPath(const QString& clockName, const QString& runtimeFolder = {});
QString defaultRuntimeFolder();
} // namespace InstanceChannel

// The client side: finds, raises and closes running clocks.
class LocalSocketInstances final : public ClockInstances
{
public:
    explicit LocalSocketInstances(QString runtimeFolder = {}, int closeTimeoutMs = 15000);

    bool find(const QString& clockName, bool raise) override;
    bool close(const QString& clockName) override;

private:
    QString m_runtimeFolder;
    int m_closeTimeoutMs;
};

// The clock's side: answers the requests for one clock name.
class InstanceServer final : public QObject, public InstanceListener
{
    Q_OBJECT

public:
    explicit InstanceServer(QString runtimeFolder = {}, QObject* parent = nullptr);
    ~InstanceServer() override;

    // A stale socket left by a killed clock is replaced.
    bool listen(const QString& clockName) override;
    QString errorString() const override { return m_error; }
    bool otherIsRunning() const override { return m_otherIsRunning; }
    void setRaiseHandler(std::function<void()> handler) override { m_onRaise = std::move(handler); }
    void setCloseHandler(std::function<void()> handler) override { m_onClose = std::move(handler); }

private:
    struct Connection;
    void acceptConnections();
    void readFrom(int descriptor);
    void answer(int descriptor, const QByteArray& command);
    void stopListening();

    QString m_runtimeFolder;
    QString m_path;            // the socket's path while listening
    int m_listener = -1;       // the listening socket
    quint64 m_socketInode = 0; // the inode of the socket file this server made, to remove only that one
    std::unique_ptr<QSocketNotifier> m_accepting;
    std::map<int, std::unique_ptr<Connection>> m_connections;
    std::function<void()> m_onRaise;
    std::function<void()> m_onClose;
    QString m_error;
    bool m_otherIsRunning = false;
};

} // namespace kiv
