#include "commands/forumadaptcommands.h"

#include "commands/forumcommands.h"
#include "forum/forumadapt.h"
#include "shell/mainform.h"
#include "shell/typer.h"
#include "windows/comparewindow.h"
#include "windows/userdialogs.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>

namespace quorvane {

namespace {

const QString kAdaptTitle = QStringLiteral("Adapt Post for Forum");
const QString kCopyTitle = QStringLiteral("Copy for Forum");

// The post as the engine reads it (LF), and back as the editor holds it (CR LF).
QString withLineFeeds(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}
QString withCrLf(QString text)
{
    return text.replace(u'\n', QStringLiteral("\r\n"));
}

} // namespace

ForumAdaptCommands::ForumAdaptCommands(MainForm &form, const ForumCommands &forum)
    : QObject(&form), m_form(form), m_forum(forum)
{
    connect(form.command("AdaptPostForForum"), &QAction::triggered, this,
            &ForumAdaptCommands::adapt);
    connect(form.command("CopyForForum"), &QAction::triggered, this, &ForumAdaptCommands::copy);
}

ForumAdaptCommands::~ForumAdaptCommands() = default;

bool ForumAdaptCommands::forumChosen(const QString &title) const
{
    if (m_forum.forum() != Forum::Generic)
        return true;
    m_form.dialogs().message(&m_form, QMessageBox::Information, title,
                             QStringLiteral("There is no forum to adapt the post for: choose "
                                            "phpBB 3.3, SMF 2.1 or MyBB 1.8 in the Forum menu."),
                             QMessageBox::Ok, QMessageBox::Ok);
    return false;
}

void ForumAdaptCommands::adapt()
{
    if (!forumChosen(kAdaptTitle))
        return;
    const Forum forum = m_forum.forum();
    const QString name = forumDisplayName(forum);
    const QString post = m_form.typer()->text();
    const AdaptedPost adapted = adaptPost(dialect(forum), withLineFeeds(post));
    if (adapted.changes.empty()) {
        m_form.dialogs().message(&m_form, QMessageBox::Information, kAdaptTitle,
                                 QStringLiteral("The post already suits %1: "
                                                "there is nothing to change.")
                                     .arg(name),
                                 QMessageBox::Ok, QMessageBox::Ok);
        return;
    }
    QStringList changes;
    for (const AdaptChange &change : adapted.changes)
        changes << QStringLiteral("Line %1: %2").arg(change.line).arg(change.description);
    if (m_window)
        m_form.closeAuxiliary(m_window.get());
    m_window =
        std::make_unique<CompareWindow>(QStringLiteral("Adapted for %1").arg(name), adapted.text,
                                        QStringLiteral("The post"), post, m_form.windowIcon());
    m_window->showChanges(QStringLiteral("Adapt Post for %1").arg(name), changes,
                          QStringLiteral("%1 changes. Green: only in the adapted post. Red, "
                                         "struck out: only in the post.")
                              .arg(changes.size()),
                          QStringLiteral("&Apply Changes"), "CompareApply");
    CompareWindow *window = m_window.get();
    connect(window, &AuxiliaryWindow::closing, this,
            [this, window] { m_form.closeAuxiliary(window); });
    // Applied to the post it was made from; one step for Undo.
    const QString result = withCrLf(adapted.text);
    connect(window, &CompareWindow::restoreChosen, this, [this, window, post, result] {
        m_form.closeAuxiliary(window);
        if (m_form.typer()->text() == post)
            m_form.typer()->setText(result);
    });
    m_form.openAuxiliary(window);
}

void ForumAdaptCommands::copy()
{
    if (!forumChosen(kCopyTitle))
        return;
    const AdaptedPost adapted =
        adaptPost(dialect(m_forum.forum()), withLineFeeds(m_form.typer()->text()));
    QGuiApplication::clipboard()->setText(withCrLf(adapted.text));
}

} // namespace quorvane
