#include "platform/launcher.h"

#include "platform/endpoints.h"

#include <QDesktopServices>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace quorvane {

bool DesktopLauncher::openUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

bool DesktopLauncher::startDetached(const QString &program, const QStringList &arguments)
{
    return QProcess::startDetached(program, arguments, QDir::homePath());
}

QString DesktopLauncher::findProgram(const QString &name)
{
    return QStandardPaths::findExecutable(name);
}

QUrl urlForTarget(const QString &fileOrUrl)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:(//)?"));
    const auto match = scheme.match(fileOrUrl);
    // "C:" style drive letters do not occur here; "mailto:" has no "//".
    if (match.hasMatch() &&
        (match.capturedLength(1) > 0 || fileOrUrl.startsWith(QLatin1String("mailto:"))))
        return QUrl(fileOrUrl);
    return QUrl::fromLocalFile(fileOrUrl);
}

bool ShellOpen(Launcher &launcher, const QString &fileOrUrl)
{
    return launcher.openUrl(urlForTarget(fileOrUrl));
}

bool OpenMakerPage(Launcher &launcher)
{
    return launcher.openUrl(QUrl(QString::fromLatin1(endpoints::productPage)));
}

bool MailSupport(Launcher &launcher)
{
    return launcher.openUrl(
        QUrl(QStringLiteral("mailto:") + QString::fromLatin1(endpoints::supportEmail)));
}

} // namespace quorvane
