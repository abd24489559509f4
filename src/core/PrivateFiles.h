#pragma once

#include <QByteArray>
#include <QString>

namespace kiv {

// Files of this user alone. Alarm texts and run targets, settings and autostart entries are nobody else's
// business, also where the home folder can be read by others: folders are made 0700, files 0600.

// Creates `folder` with every missing folder above it, each for this user alone; folders that exist are
// left as they are. False when it cannot be created.
bool makePrivatePath(const QString& folder);

// Replaces the file at `path` by `bytes` in one step (readers see the old or the new file, never part of
// one), for this user alone; its folder must exist. Temporary copies left by a save that was cut short (a kill, a crash) are
// removed first. On failure `error` says what failed and why, for the user.
bool writePrivateFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// An exclusive lock on a lock file (flock), held while the object lives. The kernel releases it when the
// process ends, also by a kill, so a dead process never leaves the others waiting. Waiters retry at
// short, bounded intervals, so none waits much longer than the holders before it.
class FileLock final
{
public:
    FileLock(const QString& lockPath, int timeoutMs);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool isLocked() const { return m_locked; }
    // Why the lock was not taken, for the user.
    QString errorString() const { return m_error; }

private:
    int m_fd = -1;
    bool m_locked = false;
    QString m_error;
};

// Copies the file at `path` to "<path>.unreadable-<date>-<time>" (a number added when that exists), so that
// what could not be read is never lost to a rewrite. The copy's path, or "" when it could not be made.
QString keepUnreadableCopy(const QString& path);

// Why a file operation failed, for the user: "磁盘已满", "没有写入权限", ... from the last errno.
QString reasonOfErrno(int error);

} // namespace kiv
