#include "settings/spelling.h"

#include "settings/editorformat.h"

#include <QRegularExpression>
#include <QSettings>

namespace quorvane::spelling {

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

void write(const char *key, const QVariant &value)
{
    QSettings store = openStore();
    store.setValue(qualified(key), value);
    store.sync();
}
} // namespace

bool readCheck()
{
    // An INI file gives every value back as text.
    const QString text = openStore().value(qualified(checkKey)).toString().trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("1"))
        return true;
    if (text == QLatin1String("false") || text == QLatin1String("0"))
        return false;
    return defaultCheck;
}

void writeCheck(bool on)
{
    write(checkKey, on);
}

bool isLanguageTag(const QString &tag)
{
    static const QRegularExpression pattern(
        QStringLiteral("^[A-Za-z]{2,3}([_-][A-Za-z0-9]{1,8})*$"));
    return pattern.match(tag).hasMatch();
}

QString readLanguage()
{
    const QVariant value = openStore().value(qualified(languageKey));
    if (value.typeId() != QMetaType::QString)
        return QString();
    const QString tag = value.toString().trimmed();
    return isLanguageTag(tag) ? tag : QString();
}

void writeLanguage(const QString &tag)
{
    write(languageKey, tag);
}

} // namespace quorvane::spelling
