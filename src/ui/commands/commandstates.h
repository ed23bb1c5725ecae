#pragma once

#include <QObject>

class QAction;

namespace quorvane {

class MainForm;

// Keeps the enabled and checked states of the edit, clipboard, search and
// alignment commands right; it runs no command. The states are worked out again whenever what they
// depend on changes (the post, its selection, the clipboard) and before any
// menu opens; nothing polls, so an idle program does no work.
class CommandStates : public QObject
{
    Q_OBJECT

public:
    explicit CommandStates(MainForm &form);

    // Sets all ten enabled states and the three alignment marks. Constant
    // time: it never copies the post or reads the clipboard.
    void refresh();

private:
    void clipboardChanged();

    MainForm &m_form;
    bool m_clipboardHasText = false;
    QAction *m_cut;
    QAction *m_copy;
    QAction *m_delete;
    QAction *m_paste;
    QAction *m_clearClipboard;
    QAction *m_selectAll;
    QAction *m_findMenu;
    QAction *m_replaceMenu;
    QAction *m_searchCommand;
    QAction *m_replaceCommand;
    QAction *m_center;
    QAction *m_leftJustify;
    QAction *m_rightJustify;
};

} // namespace quorvane
