#pragma once

#include "forum/dialect.h"

#include <QObject>

class QMenu;

namespace quorvane {

class MainForm;

// The chosen forum's own mark-up, in the Forum menu's last group: the Forum
// Tags submenu (its tags the toolbar lacks, each wrapping the selection as
// the toolbar's tag pairs do), Insert Table... and Quote Selection... (in
// the forum's quote form, the last authors remembered).
class ForumMarkupCommands : public QObject
{
    Q_OBJECT

public:
    explicit ForumMarkupCommands(MainForm &form);

    // The description the commands write for from now on: the chosen
    // forum's (with a board's own tags when it has them). The Forum Tags
    // submenu is built again from it.
    void setDialect(const Dialect &dialect);
    const Dialect &dialect() const { return m_dialect; }

    // A forum's built-in description; for Generic, the program's own page,
    // which has no tags beyond the toolbar's.
    static const Dialect &builtInDialect(Forum forum);

private:
    void fillTagsMenu();
    void insertTag(const QString &name);
    void insertTable();
    void quoteSelection();

    MainForm &m_form;
    QMenu *m_tagsMenu;
    Dialect m_dialect;
};

} // namespace quorvane
