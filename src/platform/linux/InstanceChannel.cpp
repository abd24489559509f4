#include "platform/linux/InstanceChannel.h"

#include "app/AppPaths.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>

#include <unistd.h>

namespace kiv {
namespace {

constexpr int kConnectTimeoutMs = 1000;
constexpr int kAnswerTimeoutMs = 2000;

QByteArray request(const QString& path, const QByteArray& command, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return {};
    socket.write(command + '\n');
    if (!socket.waitForBytesWritten(kConnectTimeoutMs))
        return {};
    QByteArray reply;
    while (!reply.contains('\n') && socket.waitForReadyRead(timeoutMs))
        reply += socket.readAll();
    return reply.trimmed();
}

QString ensureFolder(const QString& folder)
{
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return folder;
}

} // namespace

QString InstanceChannel::defaultRuntimeFolder()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (base.isEmpty())
        base = QDir::tempPath() + QStringLiteral("/kivclock-") + QString::number(getuid());
    return withTrailingSlash(base) + QStringLiteral("kivclock");
}

QString InstanceChannel::socketPath(const QString& clockName, const QString& runtimeFolder)
{
    const QString folder = runtimeFolder.isEmpty() ? defaultRuntimeFolder() : runtimeFolder;
    const QByteArray hash = QCryptographicHash::hash(clockName.toUtf8(), QCryptographicHash::Sha1).toHex();
    return withTrailingSlash(folder) + QString::fromLatin1(hash.left(24)) + QStringLiteral(".sock");
}

LocalSocketInstances::LocalSocketInstances(QString runtimeFolder, int closeTimeoutMs)
    : m_runtimeFolder(std::move(runtimeFolder)), m_closeTimeoutMs(closeTimeoutMs)
{}

bool LocalSocketInstances::find(const QString& clockName, bool raise)
{
    const QByteArray command = raise ? QByteArrayLiteral("raise") : QByteArrayLiteral("ping");
    return request(InstanceChannel::socketPath(clockName, m_runtimeFolder), command, kAnswerTimeoutMs) == "ok";
}

bool LocalSocketInstances::close(const QString& clockName)
{
    const QString path = InstanceChannel::socketPath(clockName, m_runtimeFolder);
    return request(path, QByteArrayLiteral("close"), m_closeTimeoutMs) == "closed";
}

InstanceServer::InstanceServer(QString runtimeFolder, QObject* parent)
    : QObject(parent), m_runtimeFolder(std::move(runtimeFolder))
{}

InstanceServer::~InstanceServer() = default;

bool InstanceServer::listen(const QString& clockName)
{
    const QString folder =
        ensureFolder(m_runtimeFolder.isEmpty() ? InstanceChannel::defaultRuntimeFolder() : m_runtimeFolder);
    const QString path = InstanceChannel::socketPath(clockName, folder);
    // Two clocks of one name starting at once: the lock lets one of them check and claim the socket.
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!lock.tryLock(5000)) {
        m_error = QStringLiteral("cannot lock %1").arg(path);
        return false;
    }
    if (request(path, QByteArrayLiteral("ping"), kAnswerTimeoutMs) == "ok") {
        m_error = QStringLiteral("the clock %1 is already running").arg(clockName);
        return false;
    }
    QLocalServer::removeServer(path);
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(path)) {
        m_error = m_server->errorString();
        m_server.reset();
        return false;
    }
    connect(m_server.get(), &QLocalServer::newConnection, this, &InstanceServer::acceptConnection);
    return true;
}

void InstanceServer::acceptConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { answer(socket); });
    }
}

void InstanceServer::answer(QLocalSocket* socket)
{
    if (!socket->canReadLine())
        return;
    const QByteArray command = socket->readLine().trimmed();
    QByteArray reply = QByteArrayLiteral("ok");
    if (command == "raise") {
        if (m_onRaise)
            m_onRaise();
    } else if (command == "close") {
        if (m_onClose)
            m_onClose();
        reply = QByteArrayLiteral("closed");
    } else if (command != "ping") {
        reply = QByteArrayLiteral("unknown");
    }
    socket->write(reply + '\n');
    socket->flush();
    socket->waitForBytesWritten(kAnswerTimeoutMs);
}

} // namespace kiv
