#pragma once

#include <QObject>

class QAction;
class QLineEdit;

namespace quorvane {

class MainForm;

// What the window shows of the post as it changes: the character count in the
// toolbar, and the hidden Undo item, off until the post first changes.
class PostStatus : public QObject
{
    Q_OBJECT

public:
    explicit PostStatus(MainForm &form);

    // Test-only: the Undo item's state. (A hidden QAction always reports
    // itself disabled, so it is kept here.)
    bool isUndoEnabled() const { return m_undoEnabled; }

private:
    void postChanged();

    MainForm &m_form;
    QAction *m_undo;
    QLineEdit *m_count;
    bool m_undoEnabled = false;
};

} // namespace quorvane
