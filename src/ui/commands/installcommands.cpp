#include "commands/installcommands.h"

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

#include <QTimer>

#include <utility>
#include <vector>

namespace quorvane {

namespace {

// The families whose state the first frame shows, which the others meet.
struct ShownFamilies
{
    CommandStates *states;
    MarkupCommands *markup;
    LivePreviewCommands *livePreview;
    ForumCommands *forum;
};

ShownFamilies installShown(MainForm &form)
{
    // Each family is a child of the window and wires its own controls.
    new PostStatus(form);
    new EditorFormatCommands(form);
    // Paste's state comes from the clipboard.
    auto *states = new CommandStates(form);
    new WindowChrome(form);
    auto *livePreview = new LivePreviewCommands(form);
    // The highlighter, and the problem count in the toolbar.
    auto *markup = new MarkupCommands(form);
    // After the mark-up: it counts their known tags.
    auto *postLength = new PostLengthCommands(form);
    // The forum chosen: the live preview shows its page, the live check gives
    // its warnings, and the length profile and the forum follow each other.
    auto *forum = new ForumCommands(form);
    livePreview->setForum(forum->forum());
    markup->liveCheck().setForum(forum->forum());
    QObject::connect(forum, &ForumCommands::chosen, &markup->liveCheck(), &LiveCheck::setForum);
    QObject::connect(forum, &ForumCommands::chosen, livePreview, &LivePreviewCommands::setForum);
    QObject::connect(forum, &ForumCommands::chosen, postLength, &PostLengthCommands::forumChosen);
    QObject::connect(postLength, &PostLengthCommands::limitChosen, forum,
                     &ForumCommands::limitChosen);
    // What needs the workspace's room: in its place before Live Preview
    // reopens.
    new PreviewBesideCommands(form, *livePreview);
    return {states, markup, livePreview, forum};
}

// Families that only wire commands, menus and hidden parts: nothing of them
// is on the screen before their first use.
void installUnshown(MainForm &form, const ShownFamilies &shown)
{
    // Some of them fill menus of their own.
    form.fillMenus();
    new TagPairCommands(form);
    new InsertCommands(form);
    new SmiliesPanel(form);
    auto *preview = new PreviewCommands(form);
    auto *documents = new DocumentCommands(form);
    new SearchPanels(form);
    new EditCommands(form);
    auto *alignment = new AlignmentCommands(form);
    QObject::connect(alignment, &AlignmentCommands::aligned, shown.states, &CommandStates::refresh);
    new HelpCommands(form);
    new SpellingCommands(form); // after the mark-up's highlighter, which it adds to
    new DraftCommands(form, *documents);
    new ImportCommands(form, *documents);
    ForumCommands *forum = shown.forum;
    preview->setForum(forum->forum());
    QObject::connect(forum, &ForumCommands::chosen, preview, &PreviewCommands::setForum);
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
    auto *customTags = new CustomTagCommands(form, *forum, *shown.markup, *shown.livePreview);
    QObject::connect(customTags, &CustomTagCommands::installed, forumMarkup,
                     [forum, showTags](Forum changed) {
                         if (changed == forum->forum())
                             showTags(changed);
                     });
    showTags(forum->forum());
    new ForumAdaptCommands(form, *forum);
    new RecentCommands(form, *documents);
}

// The unshown families, until they are made, and what waits for them.
class PendingFamilies : public QObject
{
public:
    PendingFamilies(MainForm &form, ShownFamilies shown)
        : QObject(&form), m_form(form), m_shown(shown)
    {
        setObjectName(QLatin1String(kName));
    }
    static constexpr char kName[] = "PendingFamilies";

    static PendingFamilies *of(MainForm &form)
    {
        return static_cast<PendingFamilies *>(
            form.findChild<QObject *>(QLatin1String(kName), Qt::FindDirectChildrenOnly));
    }

    void install()
    {
        if (std::exchange(m_made, true))
            return;
        installUnshown(m_form, m_shown);
        for (const auto &work : std::exchange(m_then, {}))
            work();
    }
    void then(std::function<void()> work)
    {
        if (m_made)
            work();
        else
            m_then.push_back(std::move(work));
    }

private:
    MainForm &m_form;
    ShownFamilies m_shown;
    bool m_made = false;
    std::vector<std::function<void()>> m_then;
};

// A window that is not painted at once (started minimised, or on another
// desktop) gets its commands all the same.
constexpr int kUnshownAtTheLatestMs = 500;

} // namespace

void installCommands(MainForm &form, const std::function<void()> &placed, Unshown unshown)
{
    // The workspace first: the window's size and where it was left.
    new WorkspaceCommands(form);
    if (placed)
        placed();
    const ShownFamilies shown = installShown(form);
    if (unshown == Unshown::Now) {
        installUnshown(form, shown);
        return;
    }
    auto *pending = new PendingFamilies(form, shown);
    form.afterFirstPaint(pending, [pending] { pending->install(); });
    QTimer::singleShot(kUnshownAtTheLatestMs, pending, [pending] { pending->install(); });
}

void installRemainingCommands(MainForm &form)
{
    if (auto *pending = PendingFamilies::of(form))
        pending->install();
}

void whenCommandsInstalled(MainForm &form, std::function<void()> work)
{
    if (auto *pending = PendingFamilies::of(form))
        pending->then(std::move(work));
    else
        work();
}

} // namespace quorvane
