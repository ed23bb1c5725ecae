#pragma once

#include <QObject>

class QLabel;
class QLineEdit;
class QPushButton;

namespace quorvane {

class MainForm;

// The Find and Replace panels. At most one is shown; Find selects one hit per
// click, Replace rewrites every occurrence in one undoable step and says in
// the panel how many it replaced.
class SearchPanels : public QObject
{
    Q_OBJECT

public:
    explicit SearchPanels(MainForm &form);

    void showFindPanel();
    void showReplacePanel();
    // Selects the next hit at or after findStart() and gives the editor the
    // keyboard, or says the search is over.
    void findNext();
    void closeFindPanel();
    void replaceAll();
    void closeReplacePanel();

    // Test-only: the 1-based position where the next search begins.
    qsizetype findStart() const { return m_findStart; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum FocusAfterHit { EditorFocus, KeepFocus };
    void find(FocusAfterHit focus);
    void build();
    void buildFindPanel();
    void buildReplacePanel();
    void applyTermRule();
    void setFindCaption(const QString &caption);

    MainForm &m_form;
    QLineEdit *m_findText = nullptr;
    QPushButton *m_findCommand = nullptr;
    QLineEdit *m_findWhat = nullptr;
    QLineEdit *m_replaceWith = nullptr;
    QLabel *m_replaceResult = nullptr;
    // Wide enough for any post: a 16-bit position would stop at 32767.
    qsizetype m_findStart = 1;
    // Replaces that Ctrl+Z in the Replace panel's boxes takes back: those
    // since the boxes and the post last changed otherwise.
    int m_replacesToUndo = 0;
    int m_rewriting = 0;
};

} // namespace quorvane
