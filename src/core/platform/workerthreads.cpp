#include "platform/workerthreads.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <unistd.h>

namespace quorvane {

namespace {

// The name Qt gives every thread of a QThreadPool.
constexpr QLatin1StringView kPooled("Thread (pooled)");

QString nameOf(const QString &task)
{
    QFile comm(QStringLiteral("/proc/self/task/%1/comm").arg(task));
    if (!comm.open(QIODevice::ReadOnly))
        return QString(); // ended while we looked
    return QString::fromUtf8(comm.readAll()).trimmed();
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

namespace {

// Polls until no other thread passes `counts`, or the deadline.
template <typename Counts> bool waitForThreads(const QDeadlineTimer &deadline, Counts counts)
{
    for (;;) {
        const QStringList threads = otherThreads();
        if (std::none_of(threads.begin(), threads.end(), counts))
            return true;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(1);
    }
}

} // namespace

bool endWorkerThreads(std::chrono::milliseconds timeout)
{
    const QDeadlineTimer deadline(timeout);
    return QThreadPool::globalInstance()->waitForDone(int(deadline.remainingTime())) &&
           waitForThreads(deadline,
                          [](const QString &thread) { return thread.startsWith(kPooled); });
}

bool waitUntilOnlyThread(std::chrono::milliseconds timeout)
{
    return waitForThreads(QDeadlineTimer(timeout), [](const QString &) { return true; });
}

} // namespace quorvane
