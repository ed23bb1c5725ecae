#include "settings/livepreview.h"

#include "settings/editorformat.h"
#include "settings/store.h"

#include <QSettings>

namespace quorvane::livepreview {

namespace {
QSettings openStore()
{
    return store::open();
}

QString qualified(const char *key)
{
    return store::qualified(group, key);
}
} // namespace

bool readFlag(const char *key, bool fallback)
{
    return store::readFlag(openStore(), qualified(key), fallback);
}

void writeFlag(const char *key, bool value)
{
    QSettings store = openStore();
    store.setValue(qualified(key), value);
    store.sync();
}

QByteArray readGeometry()
{
    const QVariant value = openStore().value(qualified(geometryKey));
    return value.typeId() == QMetaType::QByteArray ? value.toByteArray() : QByteArray();
}

void writeGeometry(const QByteArray &geometry)
{
    QSettings store = openStore();
    store.setValue(qualified(geometryKey), geometry);
    store.sync();
}

void forget()
{
    QSettings store = openStore();
    store.remove(QString::fromLatin1(group));
    store.sync();
}

} // namespace quorvane::livepreview
