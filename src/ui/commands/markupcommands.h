#pragma once

#include "markup/markupchecker.h"

#include <QObject>

#include <memory>

class QToolButton;

namespace quorvane {

class LiveCheck;
struct ForumTagSet;
class MainForm;
class MarkupHighlighter;
class ProblemsPanel;

// The editor's understanding of the post's tags: colouring and problem
// underlines (the View menu), the live check and its count, the tag under the
// caret with its partner, and the commands that work on the tags around the
// caret. Each editing command is one undoable step.
class MarkupCommands : public QObject
{
    Q_OBJECT

public:
    explicit MarkupCommands(MainForm &form);

    MarkupHighlighter &highlighter() const { return *m_highlighter; }
    LiveCheck &liveCheck() const { return *m_check; }

    void closeOpenTag();
    void removeTag();
    void selectTagContents();
    void jumpToPartner();
    void listFromLines(bool numbered);
    void editForumTags();
    // The board's custom tags of the forum chosen (forum/customtags.h): known
    // to the checker with the "Forum Tag Names..." names.
    void setBoardTags(std::shared_ptr<const ForumTagSet> set);

signals:
    void forumTagNamesChanged();

private:
    void applyKnownTags();
    struct Pair
    {
        MarkupTag opening;
        MarkupTag closing;
    };
    // Tag pairs of the post as it is now, positions in the post.
    std::vector<Pair> pairsNow() const;
    void showPartner();
    void showCount();
    bool eventFilter(QObject *watched, QEvent *event) override;

    MainForm &m_form;
    MarkupHighlighter *m_highlighter = nullptr;
    LiveCheck *m_check = nullptr;
    ProblemsPanel *m_panel = nullptr;
    QToolButton *m_count = nullptr;
    std::shared_ptr<const ForumTagSet> m_board;
};

} // namespace quorvane
