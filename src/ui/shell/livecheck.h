#pragma once

#include "forum/forum.h"
#include "markup/markupchecker.h"
#include "markup/markupreport.h"

#include <QObject>
#include <QTimer>

#include <memory>
#include <thread>
#include <vector>

class QTextDocument;

namespace quorvane {

class MarkupHighlighter;

// Checks the post's mark-up off the UI thread a moment after typing stops and
// hands the problems to the highlighter, with the chosen forum's warnings
// (forum/forumwarnings). Positions are the document's.
class LiveCheck : public QObject
{
    Q_OBJECT

public:
    struct Result
    {
        MarkupAnalysis analysis;
        std::vector<LineColumns::Place> places; // one per problem
        // What the forum does other than what was meant, in order of position.
        std::vector<MarkupProblem> warnings;
        std::vector<LineColumns::Place> warningPlaces; // one per warning
        quint64 revision = 0;                          // the highlighter's text revision checked
    };

    LiveCheck(QTextDocument *document, MarkupHighlighter &highlighter, QObject *parent);
    ~LiveCheck() override;

    // The last finished check, or null before the first.
    const Result *latest() const { return m_latest.get(); }
    // True when the last finished check is of the text as it is now.
    bool isCurrent() const;
    // Time from the last change to the check.
    void setDelay(int milliseconds) { m_delay.setInterval(milliseconds); }
    // Checks again now (the known tags changed, or a test waits).
    void checkNow();
    // The forum whose warnings the check gives; a new one checks again.
    void setForum(Forum forum);
    Forum forum() const { return m_forum; }

signals:
    void checked();

private:
    void start();
    // On the UI thread once the worker is done with `result`.
    void finish(std::shared_ptr<const Result> result);

    QTextDocument *m_document;
    MarkupHighlighter &m_highlighter;
    QTimer m_delay;
    std::thread m_worker; // joinable while a check runs
    bool m_again = false;
    Forum m_forum = Forum::Generic;
    std::shared_ptr<const Result> m_latest;
};

} // namespace quorvane
