#include "settings/workspace.h"

#include "settings/store.h"

namespace quorvane::workspace {

namespace {
QString qualified(const char *key)
{
    return store::qualified(group, key);
}

void write(const char *key, const QVariant &value)
{
    QSettings settings = store::open();
    settings.setValue(qualified(key), value);
    settings.sync();
}
} // namespace

bool readFlag(const char *key, bool fallback)
{
    return store::readFlag(store::open(), qualified(key), fallback);
}

void writeFlag(const char *key, bool value)
{
    write(key, value);
}

QRect readGeometry()
{
    const QRect rect = store::open().value(qualified(geometryKey)).toRect();
    return rect.isValid() ? rect : QRect();
}

void writeGeometry(const QRect &geometry)
{
    write(geometryKey, geometry);
}

QByteArray readSplitter()
{
    const QVariant value = store::open().value(qualified(splitterKey));
    return value.typeId() == QMetaType::QByteArray ? value.toByteArray() : QByteArray();
}

void writeSplitter(const QByteArray &state)
{
    write(splitterKey, state);
}

QStringList readRecentFiles()
{
    return store::open().value(qualified(recentFilesKey)).toStringList();
}

void writeRecentFiles(const QStringList &paths)
{
    write(recentFilesKey, paths);
}

void forget()
{
    QSettings settings = store::open();
    settings.remove(QString::fromLatin1(group));
    settings.sync();
}

bool fitsOnScreens(const QRect &geometry, const QList<QRect> &screens)
{
    if (!geometry.isValid())
        return false;
    // The band just above the client area holds the title bar; at least a
    // thumb's width of it must be on a screen to be grabbed.
    constexpr int band = 32;
    constexpr int grip = 48;
    const QRect top(geometry.left(), geometry.top() - band / 2, geometry.width(), band);
    for (const QRect &screen : screens) {
        const QRect shared = top.intersected(screen);
        if (shared.width() >= std::min(grip, geometry.width()) && shared.height() > 0)
            return true;
    }
    return false;
}

} // namespace quorvane::workspace
