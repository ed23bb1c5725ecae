#include "platform/signalwatcher.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

#include <csignal>

namespace {

TEST(SignalWatcher, TurnsTerminationSignalsIntoEvents)
{
    quorvane::SignalWatcher watcher({SIGTERM, SIGHUP, SIGINT});
    ASSERT_TRUE(watcher.isActive());
    QSignalSpy spy(&watcher, &quorvane::SignalWatcher::received);
    for (int number : {SIGTERM, SIGHUP, SIGINT}) {
        spy.clear();
        ::raise(number); // the default action would end this test program
        ASSERT_TRUE(spy.wait(5000)) << number;
        EXPECT_EQ(spy.first().first().toInt(), number);
    }
}

} // namespace
