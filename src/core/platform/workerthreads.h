#pragma once

#include <QStringList>

#include <chrono>

namespace quorvane {

// The threads of this process other than the calling one, as "name (id)"
// (Linux: /proc/self/task).
QStringList otherThreads();

// Before main returns: waits until the tasks handed to Qt's global thread
// pool (dictionary loads, file reads, picture decoding, live preview pages)
// have run to their ends and the pool's threads are gone from the system.
// Qt's threads are detached, so QThreadPool::waitForDone() returns while a
// thread may still be unwinding. The program's own threads (the drafts
// writer, the mark-up check) are joined by their owners. Returns false when
// time ran out.
bool endWorkerThreads(std::chrono::milliseconds timeout);

// Ends the worker threads when it goes: declared in main before the window,
// it goes after the window has.
class WorkerThreadsEnd
{
public:
    explicit WorkerThreadsEnd(std::chrono::milliseconds timeout) : m_timeout(timeout) {}
    ~WorkerThreadsEnd() { endWorkerThreads(m_timeout); }
    WorkerThreadsEnd(const WorkerThreadsEnd &) = delete;
    WorkerThreadsEnd &operator=(const WorkerThreadsEnd &) = delete;

private:
    std::chrono::milliseconds m_timeout;
};

// Waits until the calling thread is the process's only one; false when time
// ran out.
bool waitUntilOnlyThread(std::chrono::milliseconds timeout);

} // namespace quorvane
