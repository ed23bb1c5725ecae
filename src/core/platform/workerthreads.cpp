#include "platform/workerthreads.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <unistd.h>
#include <vector>

namespace quorvane {

namespace {

QString nameOf(const QString &task)
{
    QFile comm(QStringLiteral("/proc/self/task/%1/comm").arg(task));
    if (!comm.open(QIODevice::ReadOnly))
        return QString(); // ended while we looked
    return QString::fromUtf8(comm.readAll()).trimmed();
}

bool isRunning(pid_t thread)
{
    return QFileInfo::exists(QStringLiteral("/proc/self/task/%1").arg(thread));
}

// Polls until `done`, or the deadline.
template <typename Done> bool pollUntil(const QDeadlineTimer &deadline, Done done)
{
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(1);
    }
    return true;
}

// The system ids of the pool's threads: one probe on each, every probe held
// until all have started, so that no thread runs two. (Qt names the threads
// of every pool alike, the host lookups' too, so names cannot tell them.)
// Probes queue behind tasks still running, so this waits for those too.
std::vector<pid_t> threadIdsOf(QThreadPool &pool, const QDeadlineTimer &deadline)
{
    struct Probes
    {
        std::mutex mutex;
        std::condition_variable changed;
        std::vector<pid_t> ids;
        bool released = false;
    };
    const auto probes = std::make_shared<Probes>();
    const size_t count = size_t(std::max(1, pool.maxThreadCount()));
    for (size_t i = 0; i < count; ++i) {
        pool.start([probes, count] {
            std::unique_lock lock(probes->mutex);
            probes->ids.push_back(::gettid());
            probes->changed.notify_all();
            probes->changed.wait(lock,
                                 [&] { return probes->released || probes->ids.size() == count; });
        });
    }
    std::unique_lock lock(probes->mutex);
    probes->changed.wait_for(lock, std::chrono::milliseconds(deadline.remainingTime()),
                             [&] { return probes->ids.size() == count; });
    probes->released = true;
    probes->changed.notify_all();
    return probes->ids;
}

} // namespace

QStringList otherThreads()
{
    const QString self = QString::number(::gettid());
    QStringList threads;
    const QStringList tasks =
        QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &task : tasks) {
        if (task == self)
            continue;
        const QString name = nameOf(task);
        if (!name.isEmpty())
            threads.append(QStringLiteral("%1 (%2)").arg(name, task));
    }
    return threads;
}

bool endWorkerThreads(std::chrono::milliseconds timeout)
{
    const QDeadlineTimer deadline(timeout);
    QThreadPool &pool = *QThreadPool::globalInstance();
    const std::vector<pid_t> threads = threadIdsOf(pool, deadline);
    if (!pool.waitForDone(int(std::max<qint64>(0, deadline.remainingTime()))))
        return false;
    // Qt's threads are detached: waitForDone() returns while they unwind.
    return pollUntil(deadline,
                     [&] { return std::none_of(threads.begin(), threads.end(), isRunning); });
}

bool waitUntilOnlyThread(std::chrono::milliseconds timeout)
{
    return pollUntil(QDeadlineTimer(timeout), [] { return otherThreads().isEmpty(); });
}

} // namespace quorvane
