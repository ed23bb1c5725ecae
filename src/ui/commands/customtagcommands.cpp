#include "commands/customtagcommands.h"

#include "commands/forumcommands.h"
#include "commands/livepreviewcommands.h"
#include "commands/markupcommands.h"
#include "forum/customtags.h"
#include "settings/editorformat.h"
#include "shell/mainform.h"
#include "windows/customtagsdialog.h"
#include "windows/userdialogs.h"

#include <QAction>

namespace quorvane {

CustomTagCommands::CustomTagCommands(MainForm &form, ForumCommands &forum, MarkupCommands &markup,
                                     LivePreviewCommands &livePreview)
    : QObject(&form), m_form(form), m_forum(forum), m_markup(markup), m_livePreview(livePreview)
{
    installAll();
    show(forum.forum());
    connect(form.command("CustomTags"), &QAction::triggered, this, &CustomTagCommands::edit);
    connect(&forum, &ForumCommands::chosen, this, &CustomTagCommands::show);
    connect(&markup, &MarkupCommands::forumTagNamesChanged, this, [this] {
        installAll();
        show(m_forum.forum());
        m_livePreview.refresh();
    });
}

void CustomTagCommands::installAll()
{
    for (Forum forum : allForums) {
        if (forum != Forum::Generic)
            install(forum);
    }
}

void CustomTagCommands::install(Forum forum)
{
    installForumTagSet(
        makeForumTagSet(forum, storedCustomTags(forum), editorformat::forumTagNames()));
    emit installed(forum);
}

void CustomTagCommands::show(Forum forum)
{
    // The previews follow the forum chosen by themselves.
    m_markup.setBoardTags(forum == Forum::Generic ? nullptr : forumTagSet(forum));
}

void CustomTagCommands::edit()
{
    const Forum forum = m_forum.forum();
    if (forum == Forum::Generic) {
        m_form.dialogs().message(
            &m_form, QMessageBox::Information, QStringLiteral("Custom Tags"),
            QStringLiteral("Custom tags belong to a board: choose its forum (phpBB 3.3, SMF 2.1 "
                           "or MyBB 1.8) in the Forum menu first."),
            QMessageBox::Ok, QMessageBox::Ok);
        return;
    }
    if (m_dialog) {
        m_dialog->raise();
        m_dialog->activateWindow();
        return;
    }
    m_dialog = new CustomTagsDialog(forum, forumTagSet(forum)->custom, m_form.dialogs(), &m_form);
    m_dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_dialog, &QDialog::accepted, this, [this, forum] {
        QString error;
        if (!storeCustomTags(forum, m_dialog->tags(), &error)) {
            m_form.dialogs().message(
                &m_form, QMessageBox::Warning, QStringLiteral("Custom Tags"),
                QStringLiteral("The custom tags could not be kept: %1").arg(error), QMessageBox::Ok,
                QMessageBox::Ok);
        }
        installForumTagSet(makeForumTagSet(forum, m_dialog->tags(), editorformat::forumTagNames()));
        emit installed(forum);
        if (forum == m_forum.forum()) {
            show(forum);
            m_livePreview.refresh();
        }
    });
    m_dialog->open();
}

} // namespace quorvane
