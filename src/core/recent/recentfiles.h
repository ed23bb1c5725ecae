#pragma once

#include <QStringList>

namespace quorvane {

// The files last opened or saved here, newest first: File > Open Recent.
// Paths are kept absolute and clean, each once.
class RecentFiles
{
public:
    static constexpr qsizetype capacity = 10;

    explicit RecentFiles(const QStringList &paths = {});

    const QStringList &paths() const { return m_paths; }
    bool isEmpty() const { return m_paths.isEmpty(); }

    // To the front; the oldest falls off past the capacity.
    void add(const QString &path);
    // True when it was listed.
    bool remove(const QString &path);
    void clear() { m_paths.clear(); }

    static QString normalized(const QString &path);

private:
    QStringList m_paths;
};

} // namespace quorvane
