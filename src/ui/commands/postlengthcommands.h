#pragma once

#include "forum/forum.h"
#include "settings/postlimit.h"
#include "windows/postlimitdialog.h"

#include <QObject>
#include <QPointer>

namespace quorvane {

class LengthStatus;
class MainForm;
class SplitWindow;

// Post Length Limit... and Split Post... (Tools menu), and the length status
// beside the character count that shows what is left of the limit.
class PostLengthCommands : public QObject
{
    Q_OBJECT

public:
    explicit PostLengthCommands(MainForm &form);

    LengthStatus &status() const { return *m_status; }
    // Built on first use: most sessions never split a post, and the window
    // would cost every start.
    SplitWindow *splitWindow();
    // The limit dialog while it is open, else nullptr.
    PostLimitDialog *limitDialog() const { return m_dialog; }

    // Stores the writer's choice; the status and Split Post count by what is
    // in force with the chosen forum (postlimit::inForce).
    void setChoice(const postlimit::Choice &choice);
    // The Forum menu's choice: the length profile follows it
    // (forumlimit::limitForForum) and the forum's counting comes into force.
    void forumChosen(Forum forum);
    // The chosen forum changed: its counting comes into force.
    void forumChanged();

signals:
    // A new length choice was set (the dialog's, or the forum's).
    void limitChosen(const postlimit::Choice &choice);

private:
    // Opens the limit dialog; `thenSplit` opens Split Post once a limit is set.
    void askLimit(bool thenSplit);
    void openSplit();
    void apply(const postlimit::Choice &inForce);

    MainForm &m_form;
    LengthStatus *m_status;
    SplitWindow *m_split = nullptr;
    QPointer<PostLimitDialog> m_dialog;
};

} // namespace quorvane
