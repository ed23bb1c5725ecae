#pragma once

#include <QObject>

class QAction;
class QSplitter;

namespace quorvane {

class LivePreviewCommands;
class MainForm;
class PreviewDock;

// View > Preview Beside Editor: Live Preview docked at the right of the
// editor, in a splitter whose place is kept; off, it is a window of its own
// again. The window needs room for both, so a fixed window is made
// resizable (and the writer is told). Nothing is built while it is off; on
// at start, the preview comes in after the window's first paint.
class PreviewBesideCommands : public QObject
{
    Q_OBJECT

public:
    PreviewBesideCommands(MainForm &form, LivePreviewCommands &preview);

    QSplitter *splitter() const { return m_splitter; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setBeside(bool beside);
    void dock();
    void undock();
    void build();
    void makeRoom();

    MainForm &m_form;
    LivePreviewCommands &m_preview;
    QAction *m_command;
    QSplitter *m_splitter = nullptr;
    PreviewDock *m_dock = nullptr;
};

} // namespace quorvane
