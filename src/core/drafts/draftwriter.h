#pragma once

#include "drafts/draftstore.h"

#include <QObject>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace quorvane::drafts {

// Writes snapshots on its own thread so the caller never waits for the disk.
// Requests run in the order given; a snapshot still waiting is replaced by a
// newer one of the same post. While writes fail, the latest is tried again
// every retry interval until one succeeds.
class DraftWriter : public QObject
{
    Q_OBJECT

public:
    explicit DraftWriter(const QString &folder = DraftStore::defaultFolder(),
                         QObject *parent = nullptr);
    // Finishes what was asked, then stops the thread.
    ~DraftWriter() override;

    // `text` is an implicitly shared copy; the caller keeps editing its own.
    // The header's sequence is given by the store.
    void submit(const SnapshotHeader &header, const QString &text);
    void moveToHistory(const QString &postId);
    void revive(const Recoverable &snapshot);
    void markRunning();
    // Removes the running marker once everything before it is on disk.
    void markCleanEnd();
    // Blocks until every request so far is done; false on time-out.
    bool waitUntilIdle(std::chrono::milliseconds timeout);

    bool isFailing() const;
    void setRetryInterval(std::chrono::milliseconds interval);
    // Test hook: passed to the store on the writer's thread.
    void setFault(DraftStore::Fault fault);

signals:
    void written(const QString &postId, quint64 sequence);
    // Once when drafts stop reaching the disk, with the reason.
    void failing(const QString &reason);
    // Once when they reach it again.
    void resumed();

private:
    struct Job
    {
        enum Kind { Write, History, Revive, Running, CleanEnd } kind;
        SnapshotHeader header;
        QString text;
        Recoverable snapshot; // the history snapshot a Revive makes live
    };

    void enqueue(Job job);
    void run();
    bool perform(Job &job, QString *error);
    void noteOutcome(bool ok, const QString &error);

    DraftStore m_store;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<Job> m_queue;
    bool m_busy = false;
    bool m_stopping = false;
    bool m_failing = false;
    bool m_haveRetry = false;
    Job m_retry{Job::Write, {}, {}, {}};
    std::chrono::milliseconds m_retryInterval{5000};
    DraftStore::Fault m_fault;
    bool m_faultChanged = false;
    std::thread m_thread;
};

} // namespace quorvane::drafts
