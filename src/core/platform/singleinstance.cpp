#include "platform/singleinstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace quorvane {

SingleInstance::SingleInstance(const QString &lockPath)
    : m_path(lockPath), m_lock(std::make_unique<QLockFile>(lockPath))
{
    // Age alone never makes the lock stale: a copy may run for days. Only a
    // dead owner does.
    m_lock->setStaleLockTime(0);
}

SingleInstance::Outcome SingleInstance::acquire()
{
    m_error.clear();
    if (m_lock->tryLock(0))
        return Outcome::Acquired;

    switch (m_lock->error()) {
    case QLockFile::LockFailedError:
        break;
    case QLockFile::PermissionError:
        return failed(QStringLiteral("permission denied"));
    default:
        if (QFileInfo(m_path).isDir())
            return failed(QStringLiteral("a folder is in its place"));
        return failed(QStringLiteral("it could not be created or written; is the folder full?"));
    }

    // The file exists. QLockFile has already taken over one whose owner is
    // dead, so a lock that names its owner belongs to a live copy.
    qint64 pid = 0;
    QString host, app;
    if (m_lock->getLockInfo(&pid, &host, &app))
        return Outcome::HeldByAnotherCopy;
    if (QFileInfo(m_path).isDir())
        return failed(QStringLiteral("a folder is in its place"));

    // Empty or garbled: a crash between creating the file and writing it. No
    // live copy stands behind it. Removing it takes the file's own lock first,
    // so a copy that is writing it this very moment keeps it.
    if (!m_lock->removeStaleLockFile()) {
        QFile probe(m_path);
        if (probe.open(QIODevice::ReadOnly)) {
            // Held by a copy that is still writing it: give it a moment.
            probe.close();
            if (m_lock->tryLock(std::chrono::milliseconds(500)))
                return Outcome::Acquired;
            if (m_lock->getLockInfo(&pid, &host, &app))
                return Outcome::HeldByAnotherCopy;
            return failed(QStringLiteral("it cannot be read or replaced"));
        }
        // A file this user cannot read was never written by a copy of theirs.
        if (!QFile::remove(m_path))
            return failed(QStringLiteral("it cannot be read or removed"));
    }
    if (m_lock->tryLock(0))
        return Outcome::Acquired;
    // Another copy started in between and won.
    if (m_lock->error() == QLockFile::LockFailedError && m_lock->getLockInfo(&pid, &host, &app))
        return Outcome::HeldByAnotherCopy;
    return failed(QStringLiteral("it cannot be read or replaced"));
}

SingleInstance::Outcome SingleInstance::failed(const QString &reason)
{
    m_error = QStringLiteral("cannot take the single-instance lock \"%1\" (%2); starting anyway.")
                  .arg(QDir::toNativeSeparators(m_path), reason);
    return Outcome::Failed;
}

QString SingleInstance::defaultLockPath()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    QDir().mkpath(dir);
    return dir + QStringLiteral("/quorvane.lock");
}

} // namespace quorvane
