// Remote pictures against a real HTTP server on the loopback address: each
// way a server can answer ends in a picture or a failure, never a hang.
#include "httpserver.h"
#include "windows/remoteimages.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

struct FetchCase
{
    const char *path;
    RemoteImages::State expected;
};

class RemoteFetch : public ::testing::TestWithParam<FetchCase>
{
};

TEST_P(RemoteFetch, EndsInAPictureOrAFailure)
{
    test::PictureServer server;
    RemoteImages images;
    images.setLimits({1024 * 1024, 1500, 4096 * 4096});
    const QUrl url(server.url(GetParam().path));
    QSignalSpy done(&images, &RemoteImages::finished);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(images.fetch(url), RemoteImages::State::Pending);
    ASSERT_TRUE(done.wait(10000));
    // The time-out bounds the slow ones; the size limit ends the huge ones early.
    EXPECT_LT(clock.elapsed(), 5000);
    QImage image;
    EXPECT_EQ(images.fetch(url, &image), GetParam().expected);
    if (GetParam().expected == RemoteImages::State::Ready) {
        EXPECT_EQ(image.size(), QSize(7, 5));
    }
    // Asked again, the answer comes from the session's memory.
    EXPECT_EQ(server.requests.value(GetParam().path), 1);
}

INSTANTIATE_TEST_SUITE_P(Answers, RemoteFetch,
                         ::testing::Values(FetchCase{"/picture.png", RemoteImages::State::Ready},
                                           FetchCase{"/slow.png", RemoteImages::State::Failed},
                                           FetchCase{"/huge.png", RemoteImages::State::Failed},
                                           FetchCase{"/endless.png", RemoteImages::State::Failed},
                                           FetchCase{"/missing.png", RemoteImages::State::Failed},
                                           FetchCase{"/text.png", RemoteImages::State::Failed}),
                         [](const auto &entry) {
                             QString name = QString::fromLatin1(entry.param.path).mid(1);
                             name.chop(4);
                             return name.toStdString();
                         });

} // namespace
