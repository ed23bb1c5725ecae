#pragma once

#include "windows/auxiliarywindow.h"

#include <QStringList>
#include <QTextCharFormat>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace quorvane {

// A draft beside the text of the file it was opened from, read only and
// wrapped, with what only the draft has and what only the file has marked
// (lines, then the words within them), the first difference in view, and
// Restore at hand.
class CompareWindow : public AuxiliaryWindow
{
    Q_OBJECT

public:
    CompareWindow(const QString &draftTitle, const QString &draftText, const QString &fileTitle,
                  const QString &fileText, const QIcon &icon);

    // Green: only in the draft. Red and struck out: only in the file.
    static QTextCharFormat onlyInDraft();
    static QTextCharFormat onlyInFile();

    // The window used for another pair of texts (a post and its adapted
    // form): its title, the list of changes above the summary, and the
    // action button's caption and name instead of Restore's.
    void showChanges(const QString &title, const QStringList &changes, const QString &summary,
                     const QString &action, const char *actionName);

    QPlainTextEdit *draftView() const { return m_draft; }
    QPlainTextEdit *fileView() const { return m_file; }

signals:
    // The action button: Restore, or the one showChanges names.
    void restoreChosen();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void bringFirstChangesIntoView();

    QPlainTextEdit *m_draft = nullptr;
    QPlainTextEdit *m_file = nullptr;
    QLabel *m_summary = nullptr;
    QPushButton *m_action = nullptr;
    qsizetype m_firstInDraft = -1;
    qsizetype m_firstInFile = -1;
};

} // namespace quorvane
