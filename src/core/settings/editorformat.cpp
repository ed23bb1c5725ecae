#include "settings/editorformat.h"
#include "settings/store.h"

#include <QSettings>

namespace quorvane::editorformat {

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

const QStringList &fontNames()
{
    static const QStringList names = {
        QStringLiteral("Arial"),
        QStringLiteral("Arial Black"),
        QStringLiteral("Arial Narrow"),
        QStringLiteral("Book Antiqua"),
        QStringLiteral("Century Gothic"),
        QStringLiteral("Comic Sans MS"),
        QStringLiteral("Courier New"),
        QStringLiteral("Fixedsys"),
        QStringLiteral("Franklin Gothic Medium"),
        QStringLiteral("Garamond"),
        QStringLiteral("Georgia"),
        QStringLiteral("Impact"),
        QStringLiteral("Lucida Console"),
        QStringLiteral("Lucida Sans Unicode"),
        QStringLiteral("Microsoft Sans Serif"),
        QStringLiteral("Palatino Linotype"),
        QStringLiteral("System"),
        QStringLiteral("Tahoma"),
        QStringLiteral("Times New Roman"),
        QStringLiteral("Trebuchet MS"),
        QStringLiteral("Verdana"),
    };
    return names;
}

const QStringList &fontSizes()
{
    static const QStringList sizes = [] {
        QStringList list;
        for (int size = 8; size <= 24; ++size)
            list << QString::number(size);
        return list;
    }();
    return sizes;
}

QString readStored(const char *key)
{
    QSettings store = openStore();
    const QVariant value = store.value(qualified(key));
    // Anything that is not a plain string (a list, a garbled entry) counts as
    // not stored.
    if (value.typeId() != QMetaType::QString)
        return QString();
    return value.toString();
}

bool writeStored(const char *key, const QString &value)
{
    QSettings store = openStore();
    store.setValue(qualified(key), value);
    store.sync();
    return store.status() == QSettings::NoError;
}

EditorFont storedEditorFont()
{
    EditorFont font{QString::fromLatin1(defaultFontName), defaultFontSize};
    if (const QString name = readStored(fontNameKey); fontNames().contains(name))
        font.name = name;
    if (const QString size = readStored(fontSizeKey); fontSizes().contains(size))
        font.size = size.toInt();
    return font;
}

bool readStoredFlag(const char *key, bool fallback)
{
    const QString value = readStored(key);
    if (value == QLatin1String("1"))
        return true;
    if (value == QLatin1String("0"))
        return false;
    return fallback;
}

bool writeStoredFlag(const char *key, bool on)
{
    return writeStored(key, on ? QStringLiteral("1") : QStringLiteral("0"));
}

QStringList forumTagNames()
{
    return readStored(forumTagsKey).split(u' ', Qt::SkipEmptyParts);
}

bool writeForumTagNames(const QStringList &names)
{
    return writeStored(forumTagsKey, names.join(u' '));
}

QString storedStandIn(const QString &family)
{
    // One remembered pair, "chosen=drawn in": the editor has one font.
    const QString pair = readStored(fontStandInKey);
    const qsizetype equals = pair.indexOf(u'=');
    if (equals <= 0 || QStringView(pair).left(equals) != family)
        return QString();
    return pair.mid(equals + 1);
}

bool writeStandIn(const QString &family, const QString &drawnIn)
{
    return writeStored(fontStandInKey, family + u'=' + drawnIn);
}

QString storePath()
{
    return openStore().fileName();
}

} // namespace quorvane::editorformat
