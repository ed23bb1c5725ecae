#include "commands/postlengthcommands.h"

#include "commands/lengthstatus.h"
#include "commands/markupcommands.h"
#include "settings/forumchoice.h"
#include "settings/forumlimit.h"
#include "shell/mainform.h"
#include "shell/markuphighlighter.h"
#include "shell/typer.h"
#include "windows/postlimitdialog.h"
#include "windows/splitwindow.h"

#include <QAction>

namespace quorvane {

namespace {
// The tags as the writer's forum knows them (Forum Tag Names...).
const KnownTags &knownTags(MainForm &form)
{
    return form.findChild<MarkupCommands *>()->highlighter().knownTags();
}
} // namespace

PostLengthCommands::PostLengthCommands(MainForm &form)
    : QObject(&form), m_form(form), m_status(new LengthStatus(form, knownTags(form)))
{
    m_status->setChoice(postlimit::inForce(postlimit::read(), forumchoice::read()));
    connect(form.command("PostLengthLimit"), &QAction::triggered, this,
            [this] { askLimit(false); });
    connect(form.command("SplitPost"), &QAction::triggered, this, [this] {
        if (m_status->choice().hasLimit())
            openSplit();
        else
            askLimit(true);
    });
}

SplitWindow *PostLengthCommands::splitWindow()
{
    if (m_split)
        return m_split;
    m_split = new SplitWindow(m_form.typer()->source(), knownTags(m_form), &m_form);
    m_split->setChoice(m_status->choice());
    m_split->setWindowIcon(m_form.windowIcon());
    connect(m_split, &SplitWindow::showInPost, this, [this](qsizetype position) {
        m_form.raise();
        m_form.activateWindow();
        m_form.typer()->setSelStart(position);
        m_form.typer()->ensureCursorVisible();
        m_form.typer()->setFocus(Qt::OtherFocusReason);
    });
    return m_split;
}

void PostLengthCommands::setChoice(const postlimit::Choice &choice)
{
    postlimit::write(choice);
    apply(postlimit::inForce(choice, forumchoice::read()));
    emit limitChosen(choice);
}

void PostLengthCommands::forumChanged()
{
    apply(postlimit::inForce(postlimit::read(), forumchoice::read()));
}

void PostLengthCommands::apply(const postlimit::Choice &inForce)
{
    m_status->setChoice(inForce);
    if (m_split)
        m_split->setChoice(inForce);
}

void PostLengthCommands::forumChosen(Forum forum)
{
    const postlimit::Choice stored = postlimit::read();
    const postlimit::Choice next = forumlimit::limitForForum(forum, stored);
    if (!(next == stored))
        setChoice(next);
    else
        forumChanged();
}

void PostLengthCommands::askLimit(bool thenSplit)
{
    if (m_dialog) {
        m_dialog->raise();
        m_dialog->activateWindow();
        return;
    }
    m_dialog = new PostLimitDialog(&m_form);
    m_dialog->setAttribute(Qt::WA_DeleteOnClose);
    m_dialog->setChoice(postlimit::read()); // the writer's own, not the forum's
    connect(m_dialog, &QDialog::accepted, this, [this, thenSplit] {
        setChoice(m_dialog->choice());
        if (thenSplit && m_status->choice().hasLimit())
            openSplit();
    });
    m_dialog->open();
}

void PostLengthCommands::openSplit()
{
    // Showing the window splits the post; an open one splits it again.
    SplitWindow *window = splitWindow();
    if (window->isVisible())
        window->refresh();
    else
        window->show();
    window->raise();
    window->activateWindow();
}

} // namespace quorvane
