#include "settings/livepreview.h"

#include "settings/editorformat.h"

#include <QSettings>

namespace quorvane::livepreview {

namespace {
QSettings openStore()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope,
                     QString::fromLatin1(editorformat::application),
                     QString::fromLatin1(editorformat::application));
}

QString qualified(const char *key)
{
    return QString::fromLatin1(group) + QLatin1Char('/') + QString::fromLatin1(key);
}
} // namespace

bool readFlag(const char *key, bool fallback)
{
    const QVariant value = openStore().value(qualified(key));
    // An INI file gives every value back as text.
    const QString text = value.toString().trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("1"))
        return true;
    if (text == QLatin1String("false") || text == QLatin1String("0"))
        return false;
    return fallback;
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
