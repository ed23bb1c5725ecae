#pragma once

#include <QObject>

#include <memory>

namespace quorvane {

class CompareWindow;
class ForumCommands;
class MainForm;

// Forum > "Adapt Post for Forum..." and "Copy for Forum": the post rewritten
// for the chosen forum (forum/forumadapt). Adapting shows the changes, each
// with its line, and the post before and after in the Compare window, and
// applies them as one undo step when the writer chooses Apply; copying puts
// the adapted post on the clipboard and leaves the post as it is. With
// "Generic (Preview page)" chosen both say there is no forum to adapt for.
class ForumAdaptCommands : public QObject
{
    Q_OBJECT

public:
    ForumAdaptCommands(MainForm &form, const ForumCommands &forum);
    ~ForumAdaptCommands() override;

    // The last Compare window shown by Adapt Post for Forum..., or none.
    CompareWindow *window() const { return m_window.get(); }

    void adapt();
    void copy();

private:
    // False (and said) when Generic is chosen.
    bool forumChosen(const QString &title) const;

    MainForm &m_form;
    const ForumCommands &m_forum;
    std::unique_ptr<CompareWindow> m_window;
};

} // namespace quorvane
