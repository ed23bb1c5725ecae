#include "commands/installcommands.h"

#include "forum/customtags.h"

#include "commands/alignmentcommands.h"
#include "commands/commandstates.h"
#include "commands/customtagcommands.h"
#include "commands/documentcommands.h"
#include "commands/draftcommands.h"
#include "commands/editcommands.h"
#include "commands/editorformatcommands.h"
#include "commands/forumadaptcommands.h"
#include "commands/forumcommands.h"
#include "commands/forummarkupcommands.h"
#include "commands/helpcommands.h"
#include "commands/importcommands.h"
#include "commands/insertcommands.h"
#include "commands/livepreviewcommands.h"
#include "commands/markupcommands.h"
#include "commands/postlengthcommands.h"
#include "commands/poststatus.h"
#include "commands/previewbesidecommands.h"
#include "commands/previewcommands.h"
#include "commands/recentcommands.h"
#include "commands/searchpanels.h"
#include "commands/smiliespanel.h"
#include "commands/spellingcommands.h"
#include "commands/tagpaircommands.h"
#include "commands/windowchrome.h"
#include "commands/workspacecommands.h"
#include "forum/customtags.h"
#include "shell/livecheck.h"
#include "shell/mainform.h"

namespace quorvane {

void installCommands(MainForm &form, const std::function<void()> &placed)
{
    // The workspace first: the window's size and where it was left.
    new WorkspaceCommands(form);
    if (placed)
        placed();
    // Each family is a child of the window and wires its own controls.
    new PostStatus(form);
    new EditorFormatCommands(form);
    new TagPairCommands(form);
    new InsertCommands(form);
    new SmiliesPanel(form);
    auto *preview = new PreviewCommands(form);
    auto *documents = new DocumentCommands(form);
    new SearchPanels(form);
    new EditCommands(form);
    auto *states = new CommandStates(form);
    auto *alignment = new AlignmentCommands(form);
    QObject::connect(alignment, &AlignmentCommands::aligned, states, &CommandStates::refresh);
    new WindowChrome(form);
    new HelpCommands(form);
    auto *livePreview = new LivePreviewCommands(form);
    auto *markup = new MarkupCommands(form);
    new SpellingCommands(form); // after the mark-up's highlighter, which it adds to
    // After the mark-up: it counts their known tags.
    auto *postLength = new PostLengthCommands(form);
    new DraftCommands(form, *documents);
    new ImportCommands(form, *documents);
    // The forum chosen: both previews show its page, the live check gives its
    // warnings, and the length profile and the forum follow each other.
    auto *forum = new ForumCommands(form);
    preview->setForum(forum->forum());
    livePreview->setForum(forum->forum());
    markup->liveCheck().setForum(forum->forum());
    QObject::connect(forum, &ForumCommands::chosen, &markup->liveCheck(), &LiveCheck::setForum);
    QObject::connect(forum, &ForumCommands::chosen, preview, &PreviewCommands::setForum);
    QObject::connect(forum, &ForumCommands::chosen, livePreview, &LivePreviewCommands::setForum);
    QObject::connect(forum, &ForumCommands::chosen, postLength, &PostLengthCommands::forumChosen);
    QObject::connect(postLength, &PostLengthCommands::limitChosen, forum,
                     &ForumCommands::limitChosen);
    // The forum's own tags, tables and quotes follow the forum chosen, its
    // Forum Tags with the board's custom tags.
    auto *forumMarkup = new ForumMarkupCommands(form);
    const auto showTags = [forumMarkup](Forum chosen) {
        if (chosen == Forum::Generic)
            forumMarkup->setDialect(ForumMarkupCommands::builtInDialect(chosen));
        else
            forumMarkup->setDialect(*forumDialect(chosen));
    };
    QObject::connect(forum, &ForumCommands::chosen, forumMarkup, showTags);
    // The board's custom tags of the forum chosen: its pages and the checker.
    auto *customTags = new CustomTagCommands(form, *forum, *markup, *livePreview);
    QObject::connect(customTags, &CustomTagCommands::installed, forumMarkup,
                     [forum, showTags](Forum changed) {
                         if (changed == forum->forum())
                             showTags(changed);
                     });
    showTags(forum->forum());
    new ForumAdaptCommands(form, *forum);
    // What needs the workspace's room.
    new PreviewBesideCommands(form, *livePreview);
    new RecentCommands(form, *documents);
}

} // namespace quorvane
