// The socket a later start hands its file to the running copy through.
#include "platform/instancechannel.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <future>
#include <optional>

using namespace quorvane;
using namespace std::chrono_literals;

namespace {

class InstanceChannel : public testing::TestWithParam<OpenRequest>
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString path() const { return m_dir.filePath(QStringLiteral("quorvane.socket")); }

    QTemporaryDir m_dir;
};

TEST_P(InstanceChannel, ARequestArrivesAndIsAcknowledged)
{
    // A socket file left by a killed copy is no obstacle.
    QFile stale(path());
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();

    InstanceServer server;
    ASSERT_TRUE(server.listen(path())) << server.errorString().toStdString();
    QSignalSpy requested(&server, &InstanceServer::requested);
    const OpenRequest sent = GetParam();
    auto answer = std::async(std::launch::async, [&] { return handOff(path(), sent, 30s); });
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return answer.wait_for(0s) == std::future_status::ready; }, 30000));
    EXPECT_EQ(answer.get(), QString());
    ASSERT_TRUE(QTest::qWaitFor([&] { return requested.size() == 1; }, 30000));
    const auto got = requested.first().first().value<OpenRequest>();
    EXPECT_EQ(got.file, sent.file);
    EXPECT_EQ(got.activationToken, sent.activationToken);
    EXPECT_EQ(got.startupId, sent.startupId);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, InstanceChannel,
    testing::Values(OpenRequest{QStringLiteral("/home/w/posts/caf\u00e9 \u2603.txt"), {}, {}},
                    // Come to the front, nothing to open.
                    OpenRequest{
                        {}, QStringLiteral("token-1"), QStringLiteral("launcher-7_TIME42")}));

TEST_F(InstanceChannel, ACopyThatDoesNotAnswerIsNotWaitedOnForEver)
{
    // Listening but never serving its event loop, as a stopped copy; then no
    // socket at all, as a copy that never got as far as listening.
    std::optional<InstanceServer> hung(std::in_place);
    ASSERT_TRUE(hung->listen(path()));
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        EXPECT_EQ(handOff(path(), OpenRequest{QStringLiteral("/p.txt"), {}, {}}, 300ms),
                  QStringLiteral("the running copy did not answer within 0.3 seconds"));
        hung.reset();
        EXPECT_FALSE(QFile::exists(path()));
    }
}

TEST_F(InstanceChannel, ARequestGivenUpOnIsNotCarriedOut)
{
    // The running copy serves its event loop only after the later start has
    // stopped waiting (as a copy stopped and then continued).
    InstanceServer server;
    ASSERT_TRUE(server.listen(path()));
    QSignalSpy requested(&server, &InstanceServer::requested);
    auto answer = std::async(std::launch::async, [&] {
        return handOff(path(), OpenRequest{QStringLiteral("/p.txt"), {}, {}}, 300ms);
    });
    ASSERT_EQ(answer.wait_for(30s), std::future_status::ready);
    EXPECT_EQ(answer.get(), QStringLiteral("the running copy did not answer within 0.3 seconds"));
    // Then a request in time is served: the first was read and dropped.
    auto inTime = std::async(std::launch::async, [&] {
        return handOff(path(), OpenRequest{QStringLiteral("/q.txt"), {}, {}}, 30s);
    });
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return inTime.wait_for(0s) == std::future_status::ready; }, 30000));
    EXPECT_EQ(inTime.get(), QString());
    // Requests are served in order: a dropped first one would come first.
    ASSERT_TRUE(QTest::qWaitFor([&] { return requested.size() == 1; }, 30000));
    EXPECT_EQ(requested.first().first().value<OpenRequest>().file, QStringLiteral("/q.txt"));
}

} // namespace
