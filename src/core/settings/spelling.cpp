#include "settings/spelling.h"

#include "settings/editorformat.h"
#include "settings/store.h"

#include <QRegularExpression>
#include <QSettings>

namespace quorvane::spelling {

namespace {
QSettings openStore()
{
    return store::open();
}

QString qualified(const char *key)
{
    return store::qualified(group, key);
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
    return store::readFlag(openStore(), qualified(checkKey), defaultCheck);
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
