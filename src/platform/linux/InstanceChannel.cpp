#include "platform/linux/InstanceChannel.h"

#include "core/AppPaths.h"
#include "core/ClockName.h"
#include "core/Logging.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kiv {
namespace {

constexpr int kConnectTimeoutMs = 1000;
constexpr int kAnswerTimeoutMs = 2000;
// The longest socket path the server can listen on: a Unix socket address holds 107 bytes (sun_path less its
// terminating zero), and QLocalServer with UserAccessOption first listens inside a temporary folder beside the
// socket ("<path>-XXXXXX/s", 9 bytes longer) before it moves the socket into place.
constexpr qsizetype kMaxSocketPathBytes = 107 - 9;

QString hashedFileName(const QString& text)
{
    const QByteArray hash = QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QString::fromLatin1(hash.left(24)) + QStringLiteral(".sock");
}

// Where sockets go when the runtime folder lies too deep for a socket address.
QString shortFolder()
{
    return QDir::tempPath() + QStringLiteral("/kivclock-") + QString::number(getuid());
}

// True when the process at the other end of `socket` runs as this user: a socket planted by someone else
// is never asked, and its answers never believed.
bool peerIsThisUser(const QLocalSocket& socket)
{
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(int(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
           peer.uid == ::getuid();
}

QByteArray request(const QString& path, const QByteArray& command, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(kConnectTimeoutMs) || !peerIsThisUser(socket))
        return {};
    socket.write(command + '\n');
    if (!socket.waitForBytesWritten(kConnectTimeoutMs))
        return {};
    QByteArray reply;
    while (!reply.contains('\n') && socket.waitForReadyRead(timeoutMs))
        reply += socket.readAll();
    return reply.trimmed();
}

// A folder that only this user can change: a real folder (no link), owned by this user, writable by no one else.
bool isOwnedPrivately(const QString& folder)
{
    struct stat info{};
    return ::lstat(QFile::encodeName(folder).constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::getuid() && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// Creates the socket's folder for this user alone. Every level of it below the shared folder it lies in
// (the temporary folder, or the runtime folder) must belong to this user and be writable by nobody else:
// a level made by another user could let that user swap the folder and plant a socket of their own. False
// when the folder cannot be made private.
bool ensurePrivateFolder(const QString& folder)
{
    const QString runtime = QDir::cleanPath(qEnvironmentVariable("XDG_RUNTIME_DIR"));
    const QString temp = QDir::cleanPath(QDir::tempPath());
    QStringList levels;
    for (QString level = QDir::cleanPath(folder); level != temp && level != runtime && level.count(u'/') > 1;
         level = QFileInfo(level).path())
        levels.prepend(level);
    constexpr auto kPrivate = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    for (const QString& level : std::as_const(levels)) {
        QDir().mkdir(level, kPrivate);
        // The sockets' own folder is closed if it is this user's; a folder above it is only checked.
        if (level == levels.last() && QFileInfo(level).ownerId() == ::getuid() && !QFileInfo(level).isSymLink())
            QFile::setPermissions(level, kPrivate);
        if (!isOwnedPrivately(level))
            return false;
    }
    return true;
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
    // Names that differ only in case are one clock: the socket and its lock are named from the folded name.
    const QString identity = clockIdentity(clockName);
    const QString folder = runtimeFolder.isEmpty() ? defaultRuntimeFolder() : runtimeFolder;
    const QString path = withTrailingSlash(folder) + hashedFileName(identity);
    if (QFile::encodeName(path).size() <= kMaxSocketPathBytes)
        return path;
    // The name hashes the runtime folder too, so that clocks of different runtime folders stay apart.
    return shortFolder() + u'/' + hashedFileName(folder + u'\n' + identity);
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
    m_otherIsRunning = false;
    const QString path = InstanceChannel::socketPath(clockName, m_runtimeFolder);
    const QString folder = QFileInfo(path).absolutePath();
    if (!ensurePrivateFolder(folder)) {
        m_error = QCoreApplication::translate("InstanceChannel", "无法把 %1 用作只属于本用户的文件夹").arg(folder);
        return false;
    }
    // Two clocks of one name starting at once: the lock lets one of them check and claim the socket.
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!lock.tryLock(5000)) {
        m_error = QCoreApplication::translate("InstanceChannel", "无法锁定 %1").arg(path);
        return false;
    }
    if (request(path, QByteArrayLiteral("ping"), kAnswerTimeoutMs) == "ok") {
        m_error = QStringLiteral("the clock %1 is already running").arg(clockName);
        m_otherIsRunning = true;
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
    qCDebug(lcInstances) << "listening on" << path;
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
    qCDebug(lcInstances) << "request" << command;
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
