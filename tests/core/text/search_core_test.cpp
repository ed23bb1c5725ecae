#include "text/search.h"

#include <gtest/gtest.h>

using namespace quorvane;

TEST(FindCaseless, FindsFromTheStartPositionIgnoringCase)
{
    const QString text = QStringLiteral("ABC abc");
    EXPECT_EQ(findCaseless(text, u"abc", 0), 0);
    EXPECT_EQ(findCaseless(text, u"abc", 1), 4);
    EXPECT_EQ(findCaseless(text, u"abc", 5), -1);
    EXPECT_EQ(findCaseless(text, u"ABC", 4), 4);
    EXPECT_EQ(findCaseless(text, u"xyz", 0), -1);
}

TEST(FindCaseless, FindsOverlappingHitsOneStepApart)
{
    const QString text = QStringLiteral("aaaa");
    EXPECT_EQ(findCaseless(text, u"aa", 0), 0);
    EXPECT_EQ(findCaseless(text, u"aa", 1), 1);
    EXPECT_EQ(findCaseless(text, u"aa", 2), 2);
    EXPECT_EQ(findCaseless(text, u"aa", 3), -1);
}

TEST(FindCaseless, FoldsLettersBeyondAscii)
{
    EXPECT_EQ(findCaseless(u"Caf\u00E9", u"CAF\u00C9", 0), 0);
    EXPECT_EQ(findCaseless(u"\u041F\u0420\u0418\u0412\u0415\u0422", u"\u043F\u0440\u0438", 0), 0);
    EXPECT_EQ(findCaseless(u"x \u03A3\u039F\u03A6\u0399\u0391", u"\u03C3\u03BF\u03C6", 0), 2);
    // Letters outside the first plane fold too (Deseret capital and small).
    EXPECT_EQ(findCaseless(u"ab\U00010400", u"\U00010428", 0), 2);
}

TEST(FindCaseless, EmptyTermAndStartsOutsideTheTextFindNothing)
{
    EXPECT_EQ(findCaseless(u"abc", u"", 0), -1);
    EXPECT_EQ(findCaseless(u"abc", u"c", 3), -1);
    EXPECT_EQ(findCaseless(u"abc", u"c", 40000), -1);
    EXPECT_EQ(findCaseless(u"abc", u"a", -1), -1);
    EXPECT_EQ(findCaseless(u"", u"a", 0), -1);
}

TEST(ReplaceAllCaseless, ReplacesEveryOccurrenceWithTheTextAsGiven)
{
    qsizetype count = -1;
    EXPECT_EQ(replaceAllCaseless(u"Cat CAT cat", u"cat", u"dog", &count),
              QStringLiteral("dog dog dog"));
    EXPECT_EQ(count, 3);
    EXPECT_EQ(replaceAllCaseless(u"Cat", u"CAT", u"DoG"), QStringLiteral("DoG"));
    EXPECT_EQ(replaceAllCaseless(u"\u00C9t\u00E9", u"\u00E9", u"e"), QStringLiteral("ete"));
}

TEST(ReplaceAllCaseless, DoesNotOverlapOrRescanTheReplacement)
{
    EXPECT_EQ(replaceAllCaseless(u"aaa", u"aa", u"b"), QStringLiteral("ba"));
    EXPECT_EQ(replaceAllCaseless(u"aa", u"a", u"aa"), QStringLiteral("aaaa"));
    EXPECT_EQ(replaceAllCaseless(u"abab", u"ab", u"bab"), QStringLiteral("babbab"));
}

TEST(ReplaceAllCaseless, EmptyTermOrNoHitLeavesTheTextAndCountsNothing)
{
    qsizetype count = -1;
    EXPECT_EQ(replaceAllCaseless(u"abc", u"", u"x", &count), QStringLiteral("abc"));
    EXPECT_EQ(count, 0);
    EXPECT_EQ(replaceAllCaseless(u"abc", u"d", u"x", &count), QStringLiteral("abc"));
    EXPECT_EQ(count, 0);
}

TEST(ReplaceAllCaseless, EmptyReplacementDeletesAndHitsAtBothEndsAreKept)
{
    EXPECT_EQ(replaceAllCaseless(u"xaxbx", u"x", u""), QStringLiteral("ab"));
    EXPECT_EQ(replaceAllCaseless(u"x", u"x", u""), QString());
    EXPECT_EQ(replaceAllCaseless(u"cat\r\ncat", u"CAT", u"dog"), QStringLiteral("dog\r\ndog"));
}

TEST(RewriteAllCaseless, CoversOnlyTheStretchFromTheFirstToTheEndOfTheLastOccurrence)
{
    const Rewrite rewrite = rewriteAllCaseless(u"one Cat two CAT three", u"cat", u"dog");
    EXPECT_EQ(rewrite.count, 2);
    EXPECT_EQ(rewrite.start, 4);
    EXPECT_EQ(rewrite.length, 11);
    EXPECT_EQ(rewrite.text, QStringLiteral("dog two dog"));

    const Rewrite single = rewriteAllCaseless(u"xaay", u"aa", u"");
    EXPECT_EQ(single.start, 1);
    EXPECT_EQ(single.length, 2);
    EXPECT_TRUE(single.text.isEmpty());
    EXPECT_EQ(single.count, 1);

    EXPECT_EQ(rewriteAllCaseless(u"abc", u"x", u"y").count, 0);
}
