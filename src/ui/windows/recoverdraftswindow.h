#pragma once

#include "drafts/draftstore.h"
#include "windows/auxiliarywindow.h"

class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace quorvane {

// Every draft and history entry, newest first, with the selected one's text;
// Restore hands the chosen one to the program.
class RecoverDraftsWindow : public AuxiliaryWindow
{
    Q_OBJECT

public:
    RecoverDraftsWindow(const QString &folder, const QIcon &icon);

    // Reads the folder again.
    void refresh();
    QTreeWidget *list() const { return m_list; }
    QPlainTextEdit *textView() const { return m_text; }

signals:
    void restoreChosen(const drafts::Recoverable &draft);
    // Beside the file it was opened from.
    void compareChosen(const drafts::Recoverable &draft);

private:
    void showSelected();
    void restoreSelected();

    drafts::DraftStore m_store;
    QList<drafts::DraftFile> m_files; // in list order
    QTreeWidget *m_list = nullptr;
    QPlainTextEdit *m_text = nullptr;
    QPushButton *m_restore = nullptr;
    QPushButton *m_compare = nullptr;
    drafts::Recoverable m_shown;
    bool m_shownOk = false;
};

} // namespace quorvane
