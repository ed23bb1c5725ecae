#include "settings/store.h"

#include "settings/editorformat.h"

namespace quorvane::store {

QSettings open()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope,
                     QString::fromLatin1(editorformat::application),
                     QString::fromLatin1(editorformat::application));
}

QString qualified(const char *group, const char *key)
{
    return QString::fromLatin1(group) + QLatin1Char('/') + QString::fromLatin1(key);
}

bool readFlag(const QSettings &settings, const QString &key, bool fallback)
{
    const QString text = settings.value(key).toString().trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("1"))
        return true;
    if (text == QLatin1String("false") || text == QLatin1String("0"))
        return false;
    return fallback;
}

} // namespace quorvane::store
