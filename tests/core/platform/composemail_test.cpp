#include "platform/composemail.h"
#include "support/scripted.h"

#include <QUrl>
#include <gtest/gtest.h>

namespace quorvane {
namespace {

QString compose(const QString &recipient, const QString &subject, const QString &body,
                const QString &cc = {}, const QString &bcc = {}, const QString &attachment = {})
{
    return composeMailAddress(recipient, subject, body, cc, bcc, attachment);
}

TEST(ComposeMail, EscapesOnlyTheBodysSpacesAmpersandsAndBreaks)
{
    EXPECT_EQ(compose("a", "S", "x y&z"), "mailto:a?Subject=S&Body=x%20y%26z%0D%0A");
    // The subject goes as it is, spaces and all.
    EXPECT_EQ(compose("", "I Like Quorvane", ""), "mailto:?Subject=I Like Quorvane");
    // Escapes already in the text are not escaped again, and "%" is no escape
    // character here.
    EXPECT_EQ(compose("", "", "50% off %20 & more"),
              "mailto:?Body=50%%20off%20%20%20%26%20more%0D%0A");
    EXPECT_EQ(compose("", "", "?=#"), "mailto:?Body=?=#%0D%0A");
}

TEST(ComposeMail, LineBreaksBecomeOneEscapeEach)
{
    EXPECT_EQ(compose("", "", "one\r\ntwo"), "mailto:?Body=one%0D%0Atwo%0D%0A");
    EXPECT_EQ(compose("", "", "a\rb\nc"), "mailto:?Body=a%0Db%0Ac%0D%0A");
    // LF CR is two lone breaks, not a pair.
    EXPECT_EQ(compose("", "", "a\n\rb"), "mailto:?Body=a%0A%0Db%0D%0A");
    EXPECT_EQ(compose("", "", "\r\n\r\n"), "mailto:?Body=%0D%0A%0D%0A%0D%0A");
}

TEST(ComposeMail, EmptyPartsAreLeftOut)
{
    EXPECT_EQ(compose("", "", ""), "mailto:");
    EXPECT_EQ(compose("a@b.example", "", ""), "mailto:a@b.example");
    EXPECT_EQ(compose("", "", "", "c@d.example"), "mailto:?CC=c@d.example");
    EXPECT_EQ(compose("", "", "", "", "e@f.example"), "mailto:?BCC=e@f.example");
    EXPECT_EQ(compose("", "", "", "", "", "/tmp/a b.txt"), "mailto:?Attacth=\"/tmp/a b.txt\"");
    EXPECT_EQ(compose("r", "S", "b", "c c", "d d", "/f"),
              "mailto:r?Subject=S&Body=b%0D%0A&CC=c c&BCC=d d&Attacth=\"/f\"");
}

// What reaches the desktop keeps the body's escapes: an ampersand decoded on
// the way would cut the body short.
TEST(ComposeMail, OpensTheAddressThroughTheLauncher)
{
    test::RecordingLauncher launcher;
    ComposeMail(launcher, "a", "S", "x y&z", "", "", "");
    ASSERT_EQ(launcher.urls.size(), 1);
    const QUrl &url = launcher.urls.front();
    EXPECT_EQ(url.scheme(), "mailto");
    EXPECT_EQ(url.path(), "a");
    EXPECT_EQ(url.query(QUrl::FullyEncoded), "Subject=S&Body=x%20y%26z%0D%0A");

    launcher.urls.clear();
    ComposeMail(launcher, "", "", "", "", "", "");
    ASSERT_EQ(launcher.urls.size(), 1);
    EXPECT_EQ(launcher.urls.front().toString(QUrl::FullyEncoded), "mailto:");
}

} // namespace
} // namespace quorvane
