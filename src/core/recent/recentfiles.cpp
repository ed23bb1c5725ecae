#include "recent/recentfiles.h"

#include <QDir>
#include <QFileInfo>

namespace quorvane {

RecentFiles::RecentFiles(const QStringList &paths)
{
    // Oldest first, so that each add puts the newer one ahead.
    for (auto it = paths.crbegin(); it != paths.crend(); ++it) {
        if (!it->isEmpty())
            add(*it);
    }
}

QString RecentFiles::normalized(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

void RecentFiles::add(const QString &path)
{
    const QString clean = normalized(path);
    m_paths.removeAll(clean);
    m_paths.prepend(clean);
    while (m_paths.size() > capacity)
        m_paths.removeLast();
}

bool RecentFiles::remove(const QString &path)
{
    return m_paths.removeAll(normalized(path)) > 0;
}

} // namespace quorvane
