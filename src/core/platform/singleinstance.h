#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace quorvane {

// One running copy per user. The lock file names the owning process, so a lock
// left behind by a killed process is recognised as stale and taken over.
class SingleInstance
{
public:
    enum class Outcome {
        Acquired,          // this process is now the only running copy
        HeldByAnotherCopy, // a live copy holds the lock
        Failed,            // the lock cannot be taken; errorString() says why
    };

    explicit SingleInstance(const QString &lockPath = defaultLockPath());
    Outcome acquire();
    // A sentence for standard error after Failed; "" otherwise.
    QString errorString() const { return m_error; }
    static QString defaultLockPath();

private:
    Outcome failed(const QString &reason);

    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
    QString m_error;
};

} // namespace quorvane
