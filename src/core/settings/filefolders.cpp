#include "settings/filefolders.h"

#include "settings/editorformat.h"
#include "settings/store.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace quorvane::filefolders {

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

QString startFolder()
{
    const QVariant value = openStore().value(qualified(lastFolderKey));
    if (value.typeId() == QMetaType::QString) {
        // A relative path would be read against the working directory.
        const QFileInfo folder(value.toString());
        if (!value.toString().isEmpty() && folder.isAbsolute() && folder.isDir())
            return QDir::cleanPath(folder.absoluteFilePath());
    }
    return QDir::homePath();
}

void rememberFolderOf(const QString &chosenFile)
{
    if (chosenFile.isEmpty())
        return;
    QSettings store = openStore();
    store.setValue(qualified(lastFolderKey), QFileInfo(chosenFile).absolutePath());
    store.sync();
}

void forget()
{
    QSettings store = openStore();
    store.remove(QString::fromLatin1(group));
    store.sync();
}

} // namespace quorvane::filefolders
