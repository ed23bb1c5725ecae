#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

namespace quorvane {

// Hands things to the desktop: documents, web pages, mail, other programs.
// Returns at once; nothing waits for the opened program.
class Launcher
{
public:
    virtual ~Launcher() = default;
    // The desktop's open action for a file, web page or mailto: address.
    virtual bool openUrl(const QUrl &url) = 0;
    // Starts a program detached.
    virtual bool startDetached(const QString &program, const QStringList &arguments) = 0;
    // Full path of a program found on PATH, or "".
    virtual QString findProgram(const QString &name) = 0;
};

class DesktopLauncher : public Launcher
{
public:
    bool openUrl(const QUrl &url) override;
    bool startDetached(const QString &program, const QStringList &arguments) override;
    QString findProgram(const QString &name) override;
};

// A local path becomes a file URL (so spaces, "#" and "?" survive); a text with
// a scheme ("https://", "mailto:") is taken as a URL.
QUrl urlForTarget(const QString &fileOrUrl);

// Opens a file or URL with the desktop's handler.
bool ShellOpen(Launcher &launcher, const QString &fileOrUrl);
// The product page.
bool OpenMakerPage(Launcher &launcher);
// A new mail to support.
bool MailSupport(Launcher &launcher);

} // namespace quorvane
