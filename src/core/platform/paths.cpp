#include "platform/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace quorvane {

QString programDataDir()
{
    const QString binDir = QCoreApplication::applicationDirPath();
    const QString installed = QDir::cleanPath(binDir + QStringLiteral("/../share/quorvane"));
    if (QFileInfo(installed + QStringLiteral("/Smilies")).isDir())
        return installed;
    return QDir::cleanPath(binDir);
}

} // namespace quorvane
