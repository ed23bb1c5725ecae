#include "shell/livecheck.h"

#include "forum/forumwarnings.h"
#include "shell/markuphighlighter.h"

#include <QTextDocument>

namespace quorvane {

LiveCheck::LiveCheck(QTextDocument *document, MarkupHighlighter &highlighter, QObject *parent)
    : QObject(parent), m_document(document), m_highlighter(highlighter)
{
    m_delay.setSingleShot(true);
    m_delay.setInterval(300);
    connect(&m_delay, &QTimer::timeout, this, &LiveCheck::start);
    connect(&highlighter, &MarkupHighlighter::textChanged, &m_delay,
            static_cast<void (QTimer::*)()>(&QTimer::start));
    if (!document->isEmpty())
        m_delay.start();
}

LiveCheck::~LiveCheck()
{
    // The worker ends before the object it reports to; its report, posted
    // already, goes with the object.
    if (m_worker.joinable())
        m_worker.join();
}

bool LiveCheck::isCurrent() const
{
    return m_latest && m_latest->revision == m_highlighter.textRevision();
}

void LiveCheck::checkNow()
{
    m_delay.stop();
    start();
}

void LiveCheck::setForum(Forum forum)
{
    if (forum == m_forum)
        return;
    m_forum = forum;
    // An empty post has no warnings whatever the forum: the window starts
    // without a check.
    if (!m_document->isEmpty())
        checkNow();
}

void LiveCheck::start()
{
    if (m_worker.joinable()) {
        m_again = true;
        return;
    }
    m_again = false;
    auto result = std::make_shared<Result>();
    result->revision = m_highlighter.textRevision();
    // The raw text has one separator per block, so its positions are the
    // document's.
    m_worker = std::thread([this, result, text = m_document->toRawText(),
                            known = m_highlighter.knownTags(), forum = m_forum] {
        result->analysis = analyseMarkup(text, known);
        result->warnings = forumWarnings(forum, text, result->analysis, known);
        // Each list is in order of position; the places walk the text once each.
        auto placesOf = [&text](const std::vector<MarkupProblem> &problems,
                                std::vector<LineColumns::Place> &out) {
            LineColumns places(text);
            out.reserve(problems.size());
            for (const MarkupProblem &problem : problems)
                out.push_back(places.at(problem.position));
        };
        placesOf(result->analysis.problems, result->places);
        placesOf(result->warnings, result->warningPlaces);
        QMetaObject::invokeMethod(
            this, [this, result] { finish(result); }, Qt::QueuedConnection);
    });
}

void LiveCheck::finish(std::shared_ptr<const Result> result)
{
    // The worker posted this as its last act: joining it takes no time.
    m_worker.join();
    m_latest = std::move(result);
    m_highlighter.setProblems(m_latest->analysis.problems, m_latest->warnings, m_latest->revision);
    emit checked();
    if (m_again)
        start();
}

} // namespace quorvane
