#include "platform/linux/InstanceChannel.h"

#include "core/AppPaths.h"
#include "core/ClockName.h"
#include "core/Logging.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QDeadlineTimer>
#include <QLockFile>
#include <QSocketNotifier>
#include <QTimer>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <utility>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace kiv {
namespace {

constexpr int kConnectTimeoutMs = 1000;
constexpr int kAnswerTimeoutMs = 2000;
// The longest socket path a clock listens on. A Unix socket address holds 107 bytes (sun_path less its
// terminating zero); earlier clocks, whose server first listened in a temporary folder beside the socket,
// needed 9 more, and every clock must pick the same path for a name.
constexpr qsizetype kMaxSocketPathBytes = 107 - 9;
// The longest request line a clock reads: the requests are single words.
constexpr qsizetype kMaxRequestBytes = 64;
// Connections a clock keeps open at once, and how long one may take to ask: a client that connects and
// says nothing costs a descriptor, and the descriptors of a process run out.
constexpr std::size_t kMaxConnections = 16;
constexpr int kRequestTimeoutMs = 5000;
// How long accepting pauses when the process has no descriptor left for a new connection.
constexpr int kAcceptPauseMs = 100;

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

// A socket descriptor closed when it goes.
class Descriptor
{
public:
    explicit Descriptor(int descriptor = -1) : m_descriptor(descriptor) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor()
    {
        if (m_descriptor >= 0)
            ::close(m_descriptor);
    }
    int get() const { return m_descriptor; }
    int release() { return std::exchange(m_descriptor, -1); }

private:
    int m_descriptor;
};

// The Unix socket address of `path`; false when it does not fit.
bool socketAddress(const QString& path, sockaddr_un& address)
{
    const QByteArray bytes = QFile::encodeName(path);
    address = {};
    address.sun_family = AF_UNIX;
    if (bytes.isEmpty() || bytes.size() >= qsizetype(sizeof address.sun_path))
        return false;
    std::memcpy(address.sun_path, bytes.constData(), size_t(bytes.size()));
    return true;
}

// True when the process at the other end of `descriptor` runs as this user: a socket planted by someone else
// is never asked, and its answers never believed; nor is anyone else answered.
bool peerIsThisUser(int descriptor)
{
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(descriptor, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::getuid();
}

// Waits until `descriptor` is ready for `events` or the deadline passes.
bool waitFor(int descriptor, short events, const QDeadlineTimer& deadline)
{
    pollfd ready{descriptor, events, 0};
    int result = 0;
    do
        result = ::poll(&ready, 1, int(std::min<qint64>(deadline.remainingTime(), 60000)));
    while (result < 0 && errno == EINTR);
    return result > 0 && (ready.revents & (events | POLLHUP | POLLERR)) != 0;
}

// Sends `command` to the clock listening at `path` and returns its answer line, or nothing when no clock of
// this user answers in time.
QByteArray request(const QString& path, const QByteArray& command, int timeoutMs)
{
    sockaddr_un address{};
    if (!socketAddress(path, address))
        return {};
    Descriptor socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (socket.get() < 0)
        return {};
    // A full backlog makes a non-blocking connect fail at once with EAGAIN: try again until the deadline.
    const QDeadlineTimer connectDeadline(kConnectTimeoutMs);
    while (::connect(socket.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        if ((errno != EAGAIN && errno != EINTR) || connectDeadline.hasExpired())
            return {};
        ::poll(nullptr, 0, 10);
    }
    if (!peerIsThisUser(socket.get()))
        return {};
    const QByteArray line = command + '\n';
    if (::send(socket.get(), line.constData(), size_t(line.size()), MSG_NOSIGNAL) != line.size())
        return {};
    const QDeadlineTimer deadline(timeoutMs);
    QByteArray reply;
    char buffer[256];
    while (!reply.contains('\n') && reply.size() < kMaxRequestBytes && waitFor(socket.get(), POLLIN, deadline)) {
        const ssize_t read = ::recv(socket.get(), buffer, sizeof buffer, 0);
        if (read < 0 && errno == EINTR)
            continue;
        if (read <= 0)
            break;
        reply.append(buffer, read);
    }
    return reply.left(reply.indexOf('\n')).trimmed();
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

// One client of the server: what it has sent so far.
struct InstanceServer::Connection
{
    explicit Connection(int descriptor) : socket(descriptor) {}
    Descriptor socket;
    QDeadlineTimer expires{kRequestTimeoutMs};
    std::unique_ptr<QSocketNotifier> readable;
    QByteArray received;
};

InstanceServer::InstanceServer(QString runtimeFolder, QObject* parent)
    : QObject(parent), m_runtimeFolder(std::move(runtimeFolder))
{}

InstanceServer::~InstanceServer()
{
    stopListening();
}

void InstanceServer::stopListening()
{
    m_connections.clear();
    m_accepting.reset();
    if (m_listener < 0)
        return;
    ::close(m_listener);
    m_listener = -1;
    // The socket file goes with the server, unless another clock has put its own in its place.
    struct stat info{};
    if (::lstat(QFile::encodeName(m_path).constData(), &info) == 0 && info.st_ino == m_socketInode)
        ::unlink(QFile::encodeName(m_path).constData());
}

bool InstanceServer::listen(const QString& clockName)
{
    stopListening();
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
    sockaddr_un address{};
    if (!socketAddress(path, address)) {
        m_error = QStringLiteral("%1: the path is too long for a socket").arg(path);
        return false;
    }
    const QByteArray encoded = QFile::encodeName(path);
    Descriptor listener(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    ::unlink(encoded.constData()); // the socket of a clock that did not end cleanly
    struct stat info{};
    // The folder is this user's alone, so nobody can reach the socket before it is closed to others.
    if (listener.get() < 0 ||
        ::bind(listener.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::chmod(encoded.constData(), S_IRUSR | S_IWUSR) != 0 || ::listen(listener.get(), 16) != 0 ||
        ::lstat(encoded.constData(), &info) != 0) {
        m_error = QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    m_path = path;
    m_socketInode = info.st_ino;
    m_listener = listener.release();
    m_accepting = std::make_unique<QSocketNotifier>(m_listener, QSocketNotifier::Read);
    connect(m_accepting.get(), &QSocketNotifier::activated, this, &InstanceServer::acceptConnections);
    qCDebug(lcInstances) << "listening on" << path;
    return true;
}

void InstanceServer::acceptConnections()
{
    for (;;) {
        Descriptor client(::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
        if (client.get() < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            if (errno != EAGAIN && errno != EWOULDBLOCK) {
                // No descriptor left: the connection stays queued and would wake the clock at once, again
                // and again. Accepting waits a moment instead.
                m_accepting->setEnabled(false);
                QTimer::singleShot(kAcceptPauseMs, this, [this] {
                    if (m_accepting)
                        m_accepting->setEnabled(true);
                });
            }
            return;
        }
        if (!peerIsThisUser(client.get()))
            continue;
        std::erase_if(m_connections, [](const auto& entry) { return entry.second->expires.hasExpired(); });
        if (m_connections.size() >= kMaxConnections)
            continue;
        const int descriptor = client.get();
        auto connection = std::make_unique<Connection>(client.release());
        connection->readable = std::make_unique<QSocketNotifier>(descriptor, QSocketNotifier::Read);
        connect(connection->readable.get(), &QSocketNotifier::activated, this,
                [this, descriptor] { readFrom(descriptor); });
        m_connections[descriptor] = std::move(connection);
    }
}

void InstanceServer::readFrom(int descriptor)
{
    const auto found = m_connections.find(descriptor);
    if (found == m_connections.end())
        return;
    Connection& connection = *found->second;
    char buffer[256];
    const ssize_t read = ::recv(descriptor, buffer, sizeof buffer, 0);
    if (read < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    if (read <= 0) {
        m_connections.erase(found); // the client has gone
        return;
    }
    connection.received.append(buffer, read);
    const qsizetype end = connection.received.indexOf('\n');
    if (end < 0) {
        if (connection.received.size() > kMaxRequestBytes)
            m_connections.erase(found);
        return;
    }
    const QByteArray command = connection.received.left(end).trimmed();
    // One request per connection: the client reads the answer and goes.
    connection.readable->setEnabled(false);
    answer(descriptor, command);
}

void InstanceServer::answer(int descriptor, const QByteArray& command)
{
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
    // A few bytes into a new connection's empty buffer: sent at once.
    reply += '\n';
    ::send(descriptor, reply.constData(), size_t(reply.size()), MSG_NOSIGNAL);
    m_connections.erase(descriptor);
}

} // namespace kiv
