#pragma once

#include "settings/postlimit.h"
#include "split/posttally.h"

#include <QObject>
#include <QTimer>

class QLabel;

namespace quorvane {

class MainForm;

// The compact status of the post's length: beside the character count, how
// much of the limit is left ("2,140 left", red "-315 over"); at the end of
// the toolbar's second row, the words and the reading time. The counts follow
// the document's changes line by line (PostTally), so a key press reads only
// its own line.
class LengthStatus : public QObject
{
    Q_OBJECT

public:
    LengthStatus(MainForm &form, const KnownTags &tags);

    void setChoice(const postlimit::Choice &choice);
    const postlimit::Choice &choice() const { return m_choice; }

    // The post's length under the chosen rule, as the status counts it.
    qsizetype length() const { return m_tally.length(m_choice.rule); }
    qsizetype words() const { return m_tally.words(); }
    bool isSettled() const { return m_tally.isSettled(); }
    QLabel *budgetLabel() const { return m_budget; }
    QLabel *wordsLabel() const { return m_words; }
    // The status as plain text, and whether it shows the post over the limit.
    QString text() const { return m_text; }
    bool isOver() const { return m_over; }

private:
    void contentsChange(int from, int removed, int added);
    void settle();
    void show();

    MainForm &m_form;
    PostTally m_tally;
    postlimit::Choice m_choice;
    QLabel *m_budget;
    QLabel *m_words;
    QTimer m_settle;
    QString m_text;
    bool m_over = false;
};

} // namespace quorvane
