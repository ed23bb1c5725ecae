#pragma once

#include "settings/postlimit.h"
#include "split/postsplitter.h"

#include <QTimer>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace quorvane {

class PostSource;

// Split Post...: the post cut into parts that each fit the limit, listed with
// their counted lengths and first words, a Copy button each, and Copy next to
// post them one after another. Optional part labels ("(1/3)" at the top or
// bottom). The post itself is never changed; the list follows it while the
// window is open.
class SplitWindow : public QWidget
{
    Q_OBJECT

public:
    SplitWindow(PostSource &post, const KnownTags &tags, QWidget *parent = nullptr);

    void setChoice(const postlimit::Choice &choice);
    // Splits the post as it is now.
    void refresh();

    const QStringList &parts() const { return m_result.parts; }
    bool isSplit() const { return m_result.ok; }
    // The options the parts were made with.
    SplitOptions options() const;
    // The part Copy next copied last (0-based), -1 before the first.
    int lastCopied() const { return m_lastCopied; }
    void copyPart(int index);
    void copyNext();

signals:
    // The writer asked to see where the post cannot be split (a position of
    // the post as the editor counts it).
    void showInPost(qsizetype position);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void labelsChanged();
    void fill();

    PostSource &m_post;
    const KnownTags &m_tags;
    postlimit::Choice m_choice;
    SplitResult m_result;
    qsizetype m_failedPosition = -1;
    int m_lastCopied = -1;
    QLabel *m_summary;
    QPushButton *m_showFailure;
    QTableWidget *m_list;
    QPushButton *m_copyNext;
    QLabel *m_copied;
    QCheckBox *m_labels;
    QLineEdit *m_template;
    QComboBox *m_where;
    QTimer m_follow;
};

} // namespace quorvane
