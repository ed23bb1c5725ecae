#pragma once

#include "settings/postlimit.h"
#include "split/posttally.h"

#include <QObject>
#include <QTimer>

class QLabel;

namespace quorvane {

class MainForm;

// The compact status beside the character count: words, reading time and,
// with a limit, how much of it is left ("2,140 left", red "-315 over"). The
// counts follow the document's changes line by line (PostTally), so a key
// press reads only its own line.
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
    QLabel *label() const { return m_label; }
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
    QLabel *m_label;
    QTimer m_settle;
    QString m_text;
    bool m_over = false;
};

} // namespace quorvane
