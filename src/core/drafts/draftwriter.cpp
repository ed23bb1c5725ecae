#include "drafts/draftwriter.h"

#include <QDateTime>

#include <algorithm>

namespace quorvane::drafts {

DraftWriter::DraftWriter(const QString &folder, QObject *parent)
    : QObject(parent), m_store(folder), m_thread([this] { run(); })
{}

DraftWriter::~DraftWriter()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void DraftWriter::enqueue(Job job)
{
    {
        std::lock_guard lock(m_mutex);
        if (job.kind == Job::Write) {
            // Only the newest text of a post matters; it takes the older one's
            // place unless the post was moved to history in between.
            for (auto it = m_queue.rbegin(); it != m_queue.rend(); ++it) {
                if (it->header.postId != job.header.postId)
                    continue;
                if (it->kind == Job::Write) {
                    *it = std::move(job);
                    return;
                }
                break;
            }
            if (m_haveRetry && m_retry.header.postId == job.header.postId)
                m_haveRetry = false;
        }
        m_queue.push_back(std::move(job));
    }
    m_wake.notify_all();
}

void DraftWriter::submit(const SnapshotHeader &header, const QString &text)
{
    enqueue({Job::Write, header, text, {}});
}

void DraftWriter::moveToHistory(const QString &postId)
{
    SnapshotHeader header;
    header.postId = postId;
    enqueue({Job::History, header, {}, {}});
}

void DraftWriter::revive(const Recoverable &snapshot)
{
    enqueue({Job::Revive, snapshot.header, {}, snapshot});
}

void DraftWriter::markRunning()
{
    enqueue({Job::Running, {}, {}, {}});
}

void DraftWriter::markCleanEnd()
{
    enqueue({Job::CleanEnd, {}, {}, {}});
}

bool DraftWriter::waitUntilIdle(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_mutex);
    return m_idle.wait_for(lock, timeout, [this] { return m_queue.empty() && !m_busy; });
}

bool DraftWriter::isFailing() const
{
    std::lock_guard lock(m_mutex);
    return m_failing;
}

void DraftWriter::setRetryInterval(std::chrono::milliseconds interval)
{
    {
        std::lock_guard lock(m_mutex);
        m_retryInterval = interval;
    }
    m_wake.notify_all();
}

void DraftWriter::setFault(DraftStore::Fault fault)
{
    std::lock_guard lock(m_mutex);
    m_fault = std::move(fault);
    m_faultChanged = true;
}

void DraftWriter::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        if (m_queue.empty()) {
            m_idle.notify_all();
            if (m_stopping)
                return;
            // Sleeps without waking unless there is a failed snapshot to retry.
            if (m_haveRetry) {
                const bool woken = m_wake.wait_for(
                    lock, m_retryInterval, [this] { return m_stopping || !m_queue.empty(); });
                if (!woken && m_haveRetry) {
                    m_queue.push_back(std::move(m_retry));
                    m_haveRetry = false;
                }
            } else {
                m_wake.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
            }
            continue;
        }
        Job job = std::move(m_queue.front());
        m_queue.pop_front();
        m_busy = true;
        if (m_faultChanged) {
            m_store.setFault(m_fault);
            m_faultChanged = false;
        }
        lock.unlock();

        QString error;
        const bool ok = perform(job, &error);
        if (ok && job.kind == Job::Write)
            emit written(job.header.postId, job.header.sequence);

        lock.lock();
        m_busy = false;
        if (!ok && job.kind == Job::Write && !m_stopping) {
            // Unless a newer snapshot of the post is already waiting.
            const bool newer = std::any_of(m_queue.begin(), m_queue.end(), [&](const Job &j) {
                return j.kind == Job::Write && j.header.postId == job.header.postId;
            });
            if (!newer) {
                m_retry = std::move(job);
                m_haveRetry = true;
            }
        }
        lock.unlock();
        noteOutcome(ok, error);
        lock.lock();
    }
}

bool DraftWriter::perform(Job &job, QString *error)
{
    switch (job.kind) {
    case Job::Write: {
        job.header.writtenMs = QDateTime::currentMSecsSinceEpoch();
        if (!m_store.write(job.header, job.text, error))
            return false;
        m_store.prune(job.header.writtenMs);
        return true;
    }
    case Job::History:
        return m_store.moveToHistory(job.header.postId, error);
    case Job::Revive:
        return m_store.revive(job.snapshot, error);
    case Job::Running:
        return m_store.markRunning(error);
    case Job::CleanEnd:
        m_store.markCleanEnd();
        return true;
    }
    return true;
}

void DraftWriter::noteOutcome(bool ok, const QString &error)
{
    bool report = false;
    {
        std::lock_guard lock(m_mutex);
        report = ok == m_failing;
        m_failing = !ok;
    }
    if (!report)
        return;
    if (ok)
        emit resumed();
    else
        emit failing(error);
}

} // namespace quorvane::drafts
