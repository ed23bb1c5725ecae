#pragma once

#include "forum/forum.h"

#include <QObject>
#include <QPointer>

namespace quorvane {

class CustomTagsDialog;
class ForumCommands;
class LivePreviewCommands;
class MainForm;
class MarkupCommands;

// Forum > Custom Tags...: a board's custom tags, kept for each forum in the
// program's own file of them (forum/customtags.h). Once installed, the
// forum's pages render them, the checker knows them, and the Forum Tags
// list reads them from the forum's tag set. Generic has none: it is the
// program's own page, not a board's.
class CustomTagCommands : public QObject
{
    Q_OBJECT

public:
    CustomTagCommands(MainForm &form, ForumCommands &forum, MarkupCommands &markup,
                      LivePreviewCommands &livePreview);

    // Opens the dialog for the forum chosen.
    void edit();

signals:
    // A forum's tag set was installed anew (its custom tags changed).
    void installed(Forum forum);

private:
    // Installs each forum's stored tags with the "Forum Tag Names..." names.
    void installAll();
    void install(Forum forum);
    void show(Forum forum);

    MainForm &m_form;
    ForumCommands &m_forum;
    MarkupCommands &m_markup;
    LivePreviewCommands &m_livePreview;
    QPointer<CustomTagsDialog> m_dialog;
};

} // namespace quorvane
