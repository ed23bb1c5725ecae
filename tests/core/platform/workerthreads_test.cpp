// The end of the worker threads before main returns, on Qt's real pool.

#include "platform/workerthreads.h"

#include <gtest/gtest.h>

#include <QSemaphore>
#include <QTest>
#include <QThreadPool>

#include <atomic>
#include <thread>

using namespace quorvane;
using namespace std::chrono_literals;

namespace {

bool anyPooled()
{
    const QStringList threads = otherThreads();
    return std::any_of(threads.begin(), threads.end(),
                       [](const QString &t) { return t.startsWith(u"Thread (pooled)"); });
}

TEST(WorkerThreads, EndAfterTheirTasksAndAreGoneFromTheSystem)
{
    QSemaphore release;
    std::atomic<int> done = 0;
    for (int i = 0; i < 3; ++i) {
        QThreadPool::globalInstance()->start([&] {
            release.acquire();
            ++done;
        });
    }
    // A thread takes its name once it runs.
    ASSERT_TRUE(QTest::qWaitFor(anyPooled, 30000));
    // A task still running: time runs out, and nothing is cut short.
    EXPECT_FALSE(endWorkerThreads(50ms));
    EXPECT_EQ(done, 0);

    release.release(3);
    EXPECT_TRUE(endWorkerThreads(60s));
    EXPECT_EQ(done, 3);
    EXPECT_FALSE(anyPooled()) << otherThreads().join(u' ').toStdString();
}

TEST(WorkerThreads, WaitingUntilAloneSeesAThreadEnd)
{
    QSemaphore release;
    std::thread helper([&] { release.acquire(); });
    EXPECT_FALSE(waitUntilOnlyThread(20ms));
    release.release();
    helper.join();
    EXPECT_TRUE(waitUntilOnlyThread(30s)) << otherThreads().join(u' ').toStdString();
}

} // namespace
