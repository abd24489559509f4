#include "core/PrivateFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QThread>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kiv {
namespace {

constexpr auto kPrivateFolder = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
constexpr auto kPrivateFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// A save writes "<name>.XXXXXX" beside the file and renames it over the file; a save cut short leaves it.
void removeStaleCopies(const QString& path)
{
    const QFileInfo target(path);
    const QString prefix = target.fileName() + u'.';
    const QDir folder = target.absoluteDir();
    for (const QString& name : folder.entryList({prefix + QStringLiteral("??????")}, QDir::Files | QDir::Hidden))
        QFile::remove(folder.filePath(name));
}

} // namespace

QString reasonOfErrno(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return QCoreApplication::translate("PrivateFiles", "磁盘已满");
    case EACCES:
    case EPERM:
        return QCoreApplication::translate("PrivateFiles", "没有写入权限");
    case EROFS:
        return QCoreApplication::translate("PrivateFiles", "文件系统是只读的");
    case ENOENT:
    case ENOTDIR:
        return QCoreApplication::translate("PrivateFiles", "文件夹不存在");
    case ENAMETOOLONG:
        return QCoreApplication::translate("PrivateFiles", "文件名太长");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

FileLock::FileLock(const QString& lockPath, int timeoutMs)
{
    m_fd = ::open(QFile::encodeName(lockPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_fd < 0) {
        m_error = QCoreApplication::translate("PrivateFiles", "无法创建锁文件 %1: %2")
                      .arg(QDir::toNativeSeparators(lockPath), reasonOfErrno(errno));
        return;
    }
    const QDeadlineTimer deadline(timeoutMs);
    int pauseUs = 100;
    while (!(m_locked = ::flock(m_fd, LOCK_EX | LOCK_NB) == 0)) {
        if (errno != EWOULDBLOCK && errno != EINTR) {
            m_error = QCoreApplication::translate("PrivateFiles", "无法锁定 %1: %2")
                          .arg(QDir::toNativeSeparators(lockPath), reasonOfErrno(errno));
            return;
        }
        if (deadline.hasExpired()) {
            m_error = QCoreApplication::translate("PrivateFiles", "%1 被另一个进程锁定太久")
                          .arg(QDir::toNativeSeparators(lockPath));
            return;
        }
        QThread::usleep(pauseUs);
        pauseUs = std::min(pauseUs * 2, 1000);
    }
}

FileLock::~FileLock()
{
    if (m_fd >= 0)
        ::close(m_fd); // closing the last descriptor releases the lock
}

QString keepUnreadableCopy(const QString& path)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    for (int attempt = 0; attempt < 1000; ++attempt) {
        QString aside = path + QStringLiteral(".unreadable-") + stamp;
        if (attempt > 0)
            aside += u'-' + QString::number(attempt);
        if (!QFile::exists(aside))
            return QFile::copy(path, aside) ? aside : QString();
    }
    return {};
}

bool makePrivatePath(const QString& folder)
{
    const QString absolute = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    if (QFileInfo(absolute).isDir())
        return true;
    const QString parent = QFileInfo(absolute).path();
    if (parent != absolute && !makePrivatePath(parent))
        return false;
    return QDir().mkdir(absolute, kPrivateFolder) || QFileInfo(absolute).isDir();
}

bool writePrivateFile(const QString& path, const QByteArray& bytes, QString* error)
{
    const auto fail = [&](const QString& what) {
        if (error)
            *error = QCoreApplication::translate("PrivateFiles", "无法写入 %1: %2")
                         .arg(QDir::toNativeSeparators(path), what);
        return false;
    };
    removeStaleCopies(path);
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        return fail(reasonOfErrno(errno));
    file.setPermissions(kPrivateFile);
    errno = 0;
    if (file.write(bytes) != bytes.size() || !file.commit())
        return fail(errno != 0 ? reasonOfErrno(errno) : file.errorString());
    return true;
}

} // namespace kiv
