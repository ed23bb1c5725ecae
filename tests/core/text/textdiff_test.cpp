// The difference between a file and a draft: lines first, then the words of
// the changed lines; the marks shown as [-removed-] in the text before and
// {+inserted+} in the text after.
#include "text/textdiff.h"

#include <QString>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

QString marked(QStringView text, const std::vector<DiffSpan> &spans, const char *open,
               const char *close)
{
    QString out;
    qsizetype at = 0;
    for (const DiffSpan &s : spans) {
        EXPECT_GE(s.start, at);
        EXPECT_GT(s.length, 0);
        out += text.sliced(at, s.start - at);
        out += QLatin1String(open);
        out += text.sliced(s.start, s.length);
        out += QLatin1String(close);
        at = s.start + s.length;
    }
    out += text.sliced(at);
    return out;
}

struct DiffCase
{
    const char *name;
    const char16_t *before;
    const char16_t *after;
    const char16_t *beforeMarked;
    const char16_t *afterMarked;
};

class Diff : public testing::TestWithParam<DiffCase>
{
};

TEST_P(Diff, MarksWhatEachSideHasAlone)
{
    const DiffCase &c = GetParam();
    const QString before = QString::fromUtf16(c.before);
    const QString after = QString::fromUtf16(c.after);
    const TextDiff diff = diffTexts(before, after);
    EXPECT_EQ(marked(before, diff.removed, "[-", "-]").toStdString(),
              QString::fromUtf16(c.beforeMarked).toStdString());
    EXPECT_EQ(marked(after, diff.inserted, "{+", "+}").toStdString(),
              QString::fromUtf16(c.afterMarked).toStdString());
}

const DiffCase kDiffCases[] = {
    {"same", u"one\ntwo\n", u"one\ntwo\n", u"one\ntwo\n", u"one\ntwo\n"},
    {"both empty", u"", u"", u"", u""},
    {"all new", u"", u"a post\n", u"", u"{+a post\n+}"},
    {"all gone", u"a post\n", u"", u"[-a post\n-]", u""},
    {"a sentence added at the end of a line", u"Hi there.\nBye.\n",
     u"Hi there. An added sentence past the edge.\nBye.\n", u"Hi there.\nBye.\n",
     u"Hi there.{+ An added sentence past the edge.+}\nBye.\n"},
    {"one word changed in the middle line", u"one\ntwo three four\nfive\n",
     u"one\ntwo 3 four\nfive\n", u"one\ntwo [-three-] four\nfive\n",
     u"one\ntwo {+3+} four\nfive\n"},
    {"a line removed", u"a\nb\nc\n", u"a\nc\n", u"a\n[-b\n-]c\n", u"a\nc\n"},
    {"a line inserted", u"a\nc\n", u"a\nb\nc\n", u"a\nc\n", u"a\n{+b\n+}c\n"},
    {"a last line without a break", u"a", u"a\nb", u"a", u"a{+\nb+}"},
    {"accents and emoji are whole words and characters", u"na\u00efve caf\u00e9 \U0001F600\n",
     u"naive caf\u00e9 \U0001F601\n", u"[-na\u00efve-] caf\u00e9 [-\U0001F600-]\n",
     u"{+naive+} caf\u00e9 {+\U0001F601+}\n"},
    {"a changed title and a new last line", u"[B]Title[/B]\n\nFirst para.\n",
     u"[B]New title[/B]\n\nFirst para.\nSecond para.\n", u"[B][-Title-][/B]\n\nFirst para.\n",
     u"[B]{+New title+}[/B]\n\nFirst para.\n{+Second para.\n+}"},
};

INSTANTIATE_TEST_SUITE_P(Pairs, Diff, testing::ValuesIn(kDiffCases),
                         [](const testing::TestParamInfo<DiffCase> &row) {
                             std::string name = row.param.name;
                             for (char &ch : name)
                                 ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                             return name;
                         });

// A big post with one change in the middle: only that is marked.
TEST(DiffLarge, OneChangeInABigPost)
{
    QString before;
    for (int i = 0; i < 100000; ++i)
        before += QStringLiteral("Line %1 of a long post, with some words.\n").arg(i);
    QString after = before;
    const qsizetype at = after.indexOf(QStringLiteral("Line 50000 "));
    after.insert(at, QStringLiteral("An added line.\n"));
    after.replace(QStringLiteral("Line 70000 of"), QStringLiteral("Line 70000 in"));
    const TextDiff diff = diffTexts(before, after);
    ASSERT_EQ(diff.inserted.size(), 2u);
    EXPECT_EQ(diff.inserted[0], (DiffSpan{at, 15}));
    EXPECT_EQ(after.sliced(diff.inserted[1].start, diff.inserted[1].length), QStringLiteral("in"));
    ASSERT_EQ(diff.removed.size(), 1u);
    EXPECT_EQ(before.sliced(diff.removed[0].start, diff.removed[0].length), QStringLiteral("of"));
}

// Two big posts with nothing in common line by line finish at once: past the
// bound the region is replaced whole, still marking every character.
TEST(DiffLarge, UnrelatedPostsAreReplacedWhole)
{
    QString before, after;
    for (int i = 0; i < 50000; ++i) {
        before += QStringLiteral("first %1\n").arg(i);
        after += QStringLiteral("second %1 %1\n").arg(i);
    }
    const TextDiff diff = diffTexts(before, after);
    qsizetype removed = 0, inserted = 0;
    for (const DiffSpan &s : diff.removed)
        removed += s.length;
    for (const DiffSpan &s : diff.inserted)
        inserted += s.length;
    EXPECT_GT(removed, 0);
    EXPECT_GT(inserted, 0);
    EXPECT_LE(removed, before.size());
    EXPECT_LE(inserted, after.size());
}

// A word replaced on every line of a big post: too many differences for one
// word diff, so the lines are compared pair by pair and only the words show.
TEST(DiffLarge, AWordReplacedOnEveryLine)
{
    QString before;
    for (int i = 0; i < 20000; ++i)
        before += QStringLiteral("Hello everyone, this is line %1.\n").arg(i);
    QString after = before;
    after.replace(QStringLiteral("everyone"), QStringLiteral("all"));
    const TextDiff diff = diffTexts(before, after);
    ASSERT_EQ(diff.removed.size(), 20000u);
    ASSERT_EQ(diff.inserted.size(), 20000u);
    for (const DiffSpan &s : diff.removed)
        ASSERT_EQ(before.sliced(s.start, s.length), QStringLiteral("everyone"));
    for (const DiffSpan &s : diff.inserted)
        ASSERT_EQ(after.sliced(s.start, s.length), QStringLiteral("all"));
}

} // namespace
