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
    explicit SingleInstance(const QString &lockPath = defaultLockPath());
    // True when this process is now the only running copy.
    bool acquire();
    static QString defaultLockPath();

private:
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace quorvane
