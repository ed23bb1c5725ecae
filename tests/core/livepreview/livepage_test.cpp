// The live page: the excerpt of a post around the caret, and the page with
// its line marks, which must leave the conversion exactly as it was.
#include "livepreview/livepage.h"

#include "conversion/previewpage.h"
#include "forum/forumpage.h"

#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QThread>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

QString withoutLineAnchors(QString html)
{
    static const QRegularExpression anchor(QStringLiteral("<a name=\"quorvane-line-\\d+\"></a>"));
    return html.remove(anchor);
}

PostExcerpt whole(const QString &post)
{
    PostExcerpt excerpt;
    excerpt.text = post;
    excerpt.postLines = post.count(QLatin1String("\r\n")) + 1;
    excerpt.lineCount = excerpt.postLines;
    return excerpt;
}

struct MarkCase
{
    const char *name;
    const char16_t *post;
};

class LinePageMarks : public ::testing::TestWithParam<MarkCase>
{
};

// Posts whose tags, smilies and lists run up to, across and right after line
// breaks: taking the marks out must give the browser's page back.
TEST_P(LinePageMarks, LeaveTheConversionAsItIs)
{
    const QString post = QString::fromUtf16(GetParam().post);
    const QString dataDir = QStringLiteral("/data");
    const BlockHeaders headers = BlockHeaders::standard();
    const QString html = livePageHtml(whole(post), dataDir, headers);
    EXPECT_EQ(withoutLineAnchors(html), convertBBCode(post, dataDir, headers));
    EXPECT_EQ(html.count(QLatin1String("<a name=\"quorvane-line-")),
              post.count(QLatin1String("\r\n")) + 1);
}

INSTANTIATE_TEST_SUITE_P(
    Posts, LinePageMarks,
    ::testing::Values(
        MarkCase{"Empty", u""}, MarkCase{"Plain", u"one\r\ntwo\r\n\r\nfour"},
        MarkCase{"TagsAtLineEdges", u"[B]bold\r\n[/B]:)\r\n;)[I]x[/I]\r\n]"},
        MarkCase{"TagAcrossBreak", u"[URL=http://a\r\n]text[/URL]\r\n[IMG]x\r\n.png[/IMG]"},
        MarkCase{"Lists", u"[LIST=1]\r\n[*]a\r\n[*]b\r\n[/LIST]\r\n[LIST]\r\n[*]c\r\n[/LIST]"},
        MarkCase{"Blocks", u"[QUOTE]q\r\n[/QUOTE]\r\n[CODE]c[/CODE]:D\r\n\r\n"},
        MarkCase{"LoneBreakPieces", u"a\rb\nc\r\n\r"}),
    [](const auto &entry) { return std::string(entry.param.name); });

TEST(LivePage, EachLineStartsWhereItsTextIs)
{
    const QString post = QStringLiteral("first [B]line[/B]\r\n\r\n[I]third[/I] :)\r\nfourth");
    auto page = buildLivePage(whole(post), QStringLiteral("/data"), BlockHeaders::standard(),
                              QFont(), QThread::currentThread());
    ASSERT_EQ(page->lineStarts.size(), 4u);
    const QString text = page->document->toPlainText();
    EXPECT_TRUE(text.mid(page->positionOfLine(0)).startsWith(QLatin1String("first line")));
    EXPECT_TRUE(text.mid(page->positionOfLine(2)).startsWith(QLatin1String("third")));
    EXPECT_TRUE(text.mid(page->positionOfLine(3)).startsWith(QLatin1String("fourth")));
    // Past either end: the nearest line.
    EXPECT_EQ(page->positionOfLine(-5), page->positionOfLine(0));
    EXPECT_EQ(page->positionOfLine(99), page->positionOfLine(3));
}

struct ForumMarkCase
{
    const char *name;
    const char16_t *post;
};

class ForumPageMarks : public ::testing::TestWithParam<std::tuple<Forum, ForumMarkCase>>
{
};

// A forum's page with its line anchors taken out is the forum's page of the
// post: a mark never changes what the forum makes of a line.
TEST_P(ForumPageMarks, LeaveTheForumsPageAsItIs)
{
    const auto &[forum, c] = GetParam();
    const QString post = QString::fromUtf16(c.post);
    const QString dataDir = QStringLiteral("/data");
    EXPECT_EQ(withoutLineAnchors(forumLivePageHtml(whole(post), forum, dataDir)),
              forumPageHtml(forum, forumPostText(post), dataDir));
}

INSTANTIATE_TEST_SUITE_P(
    Posts, ForumPageMarks,
    ::testing::Combine(
        ::testing::Values(Forum::PhpBB, Forum::Smf, Forum::MyBB),
        ::testing::Values(
            ForumMarkCase{"Empty", u""}, ForumMarkCase{"Plain", u"one\r\ntwo\r\n\r\nfour"},
            ForumMarkCase{"QuoteOnItsLines", u"[QUOTE=Anna]\r\nBring water\r\n[/QUOTE]\r\nYes"},
            ForumMarkCase{"SmiliesAndLinksAtLineStarts",
                          u"Hi\r\n:) there\r\nhttp://example.com/a\r\nwww.example.org"},
            ForumMarkCase{"Lists", u"[LIST=1]\r\n[*]a\r\n[*]b\r\n[/LIST]\r\nafter"},
            ForumMarkCase{"CodeKeepsItsLines", u"[CODE]\r\nx = 1\r\ny\r\n[/CODE]\r\nz"})),
    [](const auto &entry) {
        return forumKey(std::get<0>(entry.param)).toStdString() + "_" +
               std::get<1>(entry.param).name;
    });

TEST(ForumLivePage, ALineThatStartsWithALetterIsFoundWhereItsTextIs)
{
    const QString post = QStringLiteral("first line\r\n[B]bold[/B]\r\nthird one\r\nfourth");
    auto page = buildLivePage(whole(post), QStringLiteral("/data"), BlockHeaders::standard(),
                              QFont(), QThread::currentThread(), Forum::PhpBB);
    ASSERT_EQ(page->lineStarts.size(), 4u);
    const QString text = page->document->toPlainText();
    EXPECT_TRUE(text.mid(page->positionOfLine(0)).startsWith(QLatin1String("first line")));
    EXPECT_TRUE(text.mid(page->positionOfLine(2)).startsWith(QLatin1String("third")));
    EXPECT_TRUE(text.mid(page->positionOfLine(3)).startsWith(QLatin1String("fourth")));
    // A line that starts with a tag shares the place of the line before.
    EXPECT_EQ(page->positionOfLine(1), page->positionOfLine(0));
}

struct ExcerptCase
{
    const char *name;
    int lines; // lines of 9 characters and a break
    int caretLine;
    int caretColumn;
    int budget;
    qsizetype firstLine, lineCount;
    bool cutLine;
};

class Excerpts : public ::testing::TestWithParam<ExcerptCase>
{
};

TEST_P(Excerpts, TakeWholeLinesAroundTheCaret)
{
    const ExcerptCase &c = GetParam();
    QStringList lines;
    for (int i = 0; i < c.lines; ++i)
        lines << QStringLiteral("line%1").arg(i, 5, 10, QLatin1Char('0'));
    QTextDocument post;
    post.setPlainText(lines.join(QLatin1Char('\n')));
    const PostExcerpt excerpt = excerptAround(post, c.caretLine, c.caretColumn, c.budget);
    EXPECT_EQ(excerpt.firstLine, c.firstLine);
    EXPECT_EQ(excerpt.lineCount, c.lineCount);
    EXPECT_EQ(excerpt.cutLine, c.cutLine);
    EXPECT_EQ(excerpt.postLines, c.lines);
    EXPECT_LE(excerpt.text.size(), qMax<qsizetype>(c.budget, 10 * c.lines) + c.lines);
    if (!c.cutLine) {
        EXPECT_EQ(excerpt.text,
                  lines.mid(int(c.firstLine), int(c.lineCount)).join(QLatin1String("\r\n")));
    }
}

INSTANTIATE_TEST_SUITE_P(Posts, Excerpts,
                         ::testing::Values(
                             // 100 lines of 10 characters each (with the break).
                             ExcerptCase{"FitsWhole", 100, 50, 0, 1000, 0, 100, false},
                             ExcerptCase{"Middle", 100, 50, 0, 100, 45, 10, false},
                             ExcerptCase{"NearTheStart", 100, 1, 0, 100, 0, 10, false},
                             ExcerptCase{"AtTheEnd", 100, 99, 3, 100, 90, 10, false},
                             ExcerptCase{"CaretOutOfRange", 100, 500, 0, 100, 90, 10, false}),
                         [](const auto &entry) { return std::string(entry.param.name); });

TEST(Excerpt, AnOverlongLineIsCutAroundTheCaret)
{
    QTextDocument post;
    post.setPlainText(QStringLiteral("short\n") + QString(1000, QLatin1Char('x')) +
                      QStringLiteral("CARET") + QString(1000, QLatin1Char('y')) +
                      QStringLiteral("\nend"));
    const PostExcerpt excerpt = excerptAround(post, 1, 1002, 100);
    EXPECT_TRUE(excerpt.cutLine);
    EXPECT_EQ(excerpt.firstLine, 1);
    EXPECT_EQ(excerpt.text.size(), 100);
    EXPECT_TRUE(excerpt.text.contains(QLatin1String("CARET")));
    EXPECT_FALSE(excerpt.isWhole());
}

} // namespace
