#include "shell/livecheck.h"

#include "shell/markuphighlighter.h"

#include <QTextDocument>
#include <QThread>

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
    if (m_running) {
        m_running->wait();
        delete m_running;
    }
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

void LiveCheck::start()
{
    if (m_running) {
        m_again = true;
        return;
    }
    m_again = false;
    auto result = std::make_shared<Result>();
    result->revision = m_highlighter.textRevision();
    // The raw text has one separator per block, so its positions are the
    // document's.
    QThread *thread = QThread::create(
        [result, text = m_document->toRawText(), known = m_highlighter.knownTags()] {
            result->analysis = analyseMarkup(text, known);
            LineColumns places(text);
            result->places.reserve(result->analysis.problems.size());
            for (const MarkupProblem &problem : result->analysis.problems)
                result->places.push_back(places.at(problem.position));
        });
    m_running = thread;
    connect(thread, &QThread::finished, this, [this, thread, result] {
        thread->deleteLater();
        m_running = nullptr;
        m_latest = result;
        m_highlighter.setProblems(result->analysis.problems, result->revision);
        emit checked();
        if (m_again)
            start();
    });
    thread->start(QThread::LowPriority);
}

} // namespace quorvane
