#include "commands/previewcommands.h"

#include "conversion/stripper.h"
#include "platform/launcher.h"
#include "platform/paths.h"
#include "shell/busyindicator.h"
#include "shell/mainform.h"
#include "shell/typer.h"
#include "windows/userdialogs.h"

#include <QAction>
#include <QDir>

namespace quorvane {

namespace {
// A cautious guess at how many characters of post a millisecond makes into
// a page: only a post of megabytes is shown as busy while its page is made.
constexpr qint64 kPageCharactersPerMillisecond = 5000;
} // namespace

PreviewCommands::PreviewCommands(MainForm &form)
    : QObject(&form), m_form(form), m_dataDir(programDataDir())
{
    for (const char *name : {"PreviewCommand", "PreviewMenu"})
        connect(form.command(name), &QAction::triggered, this, &PreviewCommands::preview);
    connect(form.command("RemoveTextF"), &QAction::triggered, this,
            &PreviewCommands::RemoveTextFormatting);
}

PreviewPageResult PreviewCommands::PreviewHTML(const QString &text)
{
    return writeForumPreviewPage(m_forum, text, m_dataDir);
}

void PreviewCommands::preview()
{
    emit aboutToPreview();
    const QString post = m_form.typer()->text();
    const PreviewPageResult page = [&] {
        const BlockingStep step(m_form.busyIndicator(),
                                QStringLiteral("Writing the preview page\u2026"),
                                post.size() / kPageCharactersPerMillisecond);
        return PreviewHTML(post);
    }();
    if (!page.ok) {
        // Opening whatever stale page is there would show the wrong post.
        m_form.dialogs().message(&m_form, QMessageBox::Warning, QStringLiteral("Quorvane"),
                                 QStringLiteral("The preview page could not be written to "
                                                "\"%1\":\n%2")
                                     .arg(QDir::toNativeSeparators(page.path), page.error),
                                 QMessageBox::Ok, QMessageBox::Ok);
        return;
    }
    if (!ShellOpen(m_form.launcher(), page.path)) {
        // Nothing visible would happen otherwise; the page is still there to open by hand.
        m_form.dialogs().message(&m_form, QMessageBox::Warning, QStringLiteral("Quorvane"),
                                 QStringLiteral("The preview page was written to \"%1\", but no "
                                                "browser could be started to show it.")
                                     .arg(QDir::toNativeSeparators(page.path)),
                                 QMessageBox::Ok, QMessageBox::Ok);
    }
}

void PreviewCommands::RemoveTextFormatting()
{
    Typer *typer = m_form.typer();
    typer->setText(stripFormatting(typer->text()));
}

} // namespace quorvane
