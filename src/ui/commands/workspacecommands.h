#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSize>

class QAction;
class QShortcut;
class QWidget;

namespace quorvane {

class MainForm;

// View > Resizable Window and View > Full Screen. The window as first built
// (a fixed 640 x 480 with a dialog's border) stays the default; resizable,
// it gets a normal border, the editor takes the room, and its place and
// size are kept (and given back only where a screen still is). Full screen
// leaves the editor and the counts; Esc or F11 brings the rest back.
class WorkspaceCommands : public QObject
{
    Q_OBJECT

public:
    explicit WorkspaceCommands(MainForm &form);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setResizable(bool resizable);
    void growable();
    void fixed();
    void restoreGeometry();
    void keepGeometry();
    void setFullScreen(bool full);
    void hideAllButEditor();
    void showAgain();

    MainForm &m_form;
    QAction *m_resizable;
    QAction *m_fullScreen;
    Qt::WindowFlags m_fixedFlags;
    QSize m_fixedSize;
    QShortcut *m_leave;
    // What full screen hid, and the commands it gave the window itself while
    // the menus are away.
    QList<QPointer<QWidget>> m_hidden;
    QList<QAction *> m_lent;
    Qt::WindowStates m_stateBefore;
    bool m_full = false;
};

} // namespace quorvane
