#pragma once

#include "forum/forum.h"
#include "settings/postlimit.h"

#include <QObject>

class QAction;
class QLabel;

namespace quorvane {

class MainForm;

// The Forum menu: the one forum the whole program shows the post for
// ("Generic (Preview page)" is the program's own preview page), remembered,
// and named in the top strip so it is seen at a glance. The live preview,
// Preview in Browser and the length profile follow it (wired in
// installCommands).
class ForumCommands : public QObject
{
    Q_OBJECT

public:
    explicit ForumCommands(MainForm &form);

    Forum forum() const { return m_forum; }
    // The menu item of a forum.
    QAction *command(Forum forum) const;

    // Chooses a forum as its menu item does.
    void choose(Forum forum);
    // The length dialog's choice: a forum's profile chooses that forum
    // (forumlimit::forumForLimit).
    void limitChosen(const postlimit::Choice &choice);

signals:
    void chosen(Forum forum);

private:
    void show();

    MainForm &m_form;
    Forum m_forum;
    QLabel *m_label;
};

} // namespace quorvane
