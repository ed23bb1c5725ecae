#include "commands/forumcommands.h"

#include "settings/forumchoice.h"
#include "settings/forumlimit.h"
#include "shell/mainform.h"

#include <QAction>
#include <QBoxLayout>
#include <QFrame>
#include <QLabel>

namespace quorvane {

namespace {
// Each forum's row in the command table.
constexpr std::pair<Forum, const char *> kItems[] = {
    {Forum::Generic, "ForumGeneric"},
    {Forum::PhpBB, "ForumPhpBB"},
    {Forum::Smf, "ForumSmf"},
    {Forum::MyBB, "ForumMyBB"},
};
} // namespace

ForumCommands::ForumCommands(MainForm &form)
    : QObject(&form), m_form(form), m_forum(forumchoice::read()), m_label(new QLabel)
{
    for (const auto &[forum, name] : kItems) {
        connect(form.command(name), &QAction::triggered, this,
                [this, forum = forum] { choose(forum); });
    }
    // In the top strip, after the link, well apart from the version: the
    // strip has room to spare and is in view whatever panel is open.
    m_label->setObjectName(QStringLiteral("ChosenForum"));
    // Its text is its accessible name: "Forum: phpBB 3.3" is read whole.
    m_label->setToolTip(QStringLiteral("The forum the post is shown for (Forum menu)"));
    QFrame *strip = form.topFrame();
    m_label->setParent(strip);
    if (auto *line = qobject_cast<QBoxLayout *>(strip->layout())) {
        const int link = line->indexOf(form.control<QWidget>("FreeUtilities"));
        line->insertSpacing(link + 1, 16);
        line->insertWidget(link + 2, m_label);
    }
    show();
}

QAction *ForumCommands::command(Forum forum) const
{
    for (const auto &[each, name] : kItems) {
        if (each == forum)
            return m_form.command(name);
    }
    return nullptr;
}

void ForumCommands::choose(Forum forum)
{
    if (forum == m_forum) {
        show();
        return;
    }
    m_forum = forum;
    forumchoice::write(forum);
    show();
    emit chosen(forum);
}

void ForumCommands::limitChosen(const postlimit::Choice &choice)
{
    choose(forumlimit::forumForLimit(choice, m_forum));
}

void ForumCommands::show()
{
    command(m_forum)->setChecked(true);
    m_label->setText(QStringLiteral("Forum: %1").arg(forumDisplayName(m_forum)));
}

} // namespace quorvane
