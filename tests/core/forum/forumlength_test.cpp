// Each forum's count of a post against its limit: posts at the limit where
// counting characters as an editor does gives the other answer, and every
// sample as the forum itself counted it.

#include "forum/forumlength.h"

#include <QFile>
#include <QString>

#include <gtest/gtest.h>

#include <ostream>

using namespace quorvane;

namespace {

QString times(qsizetype n, QStringView piece)
{
    return piece.toString().repeated(n);
}

struct LimitCase
{
    const char *what;
    QString post;
    qsizetype counted;
};

void PrintTo(const LimitCase &c, std::ostream *os)
{
    *os << c.what;
}

// Checks the count; the verdict follows from it and the limit.
void expectCount(Forum forum, const LimitCase &c, qsizetype limit)
{
    const ForumLength length = forumLength(forum, c.post);
    EXPECT_EQ(length.counted, c.counted);
    EXPECT_EQ(length.limit, limit);
    EXPECT_EQ(length.fits(), c.counted <= limit);
}

class PhpBBLimit : public testing::TestWithParam<LimitCase>
{
};

TEST_P(PhpBBLimit, CountsTheEscapedTrimmedPost)
{
    expectCount(Forum::PhpBB, GetParam(), 60000);
}

INSTANTIATE_TEST_SUITE_P(
    AroundTheLimit, PhpBBLimit,
    testing::Values(LimitCase{"three_quotes_make_59993_letters_too_long",
                              times(59990, u"a") + u"\"\"\""_qs, 60008},
                    LimitCase{"ampersands_count_five", times(59985, u"a") + u"&&&"_qs, 60000},
                    LimitCase{"angle_brackets_count_four", times(59996, u"a") + u"<>"_qs, 60004},
                    LimitCase{"an_apostrophe_counts_one", times(59999, u"a") + u"'"_qs, 60000},
                    LimitCase{"CR_LF_is_one_line_break",
                              times(29999, u"a") + u"\r\n"_qs + times(30000, u"a"), 60000},
                    LimitCase{"a_lone_CR_is_one_line_break",
                              times(29999, u"a") + u"\r"_qs + times(30001, u"a"), 60001},
                    LimitCase{"blank_ends_are_trimmed",
                              u" \t\r\n"_qs + times(60000, u"a") + u"\n \u000b"_qs, 60000},
                    LimitCase{"a_no_break_space_is_not_trimmed", u"\u00a0"_qs + times(60000, u"a"),
                              60001},
                    LimitCase{"byte_order_marks_and_NUL_are_dropped",
                              u"\ufeff"_qs + times(60000, u"a") + QChar(0) + u"\ufeff"_qs, 60000},
                    LimitCase{"decomposed_letters_are_composed", times(60000, u"e\u0301"), 60000},
                    LimitCase{"a_letter_and_mark_with_no_composed_form_stay_two",
                              times(30001, u"q\u0301"), 60002},
                    LimitCase{"an_emoji_is_one_character", times(60000, u"\U0001F600"), 60000},
                    LimitCase{"one_emoji_more_is_over", times(60001, u"\U0001F600"), 60001}));

class SmfLimit : public testing::TestWithParam<LimitCase>
{
};

TEST_P(SmfLimit, CountsThePostAsABrowserSendsIt)
{
    expectCount(Forum::Smf, GetParam(), 20000);
}

INSTANTIATE_TEST_SUITE_P(
    AroundTheLimit, SmfLimit,
    testing::Values(
        LimitCase{"a_line_break_counts_two", times(19999, u"a") + u"\n"_qs, 20001},
        LimitCase{"CR_LF_counts_two", times(9999, u"a") + u"\r\n"_qs + times(9999, u"a"), 20000},
        LimitCase{"a_lone_CR_counts_two", times(9999, u"a") + u"\r"_qs + times(9999, u"a"), 20000},
        LimitCase{"nothing_is_trimmed", u" "_qs + times(20000, u"a"), 20001},
        LimitCase{"escaped_characters_count_one", times(5000, u"&\"<>"), 20000},
        LimitCase{"typed_entities_count_one",
                  times(4000, u"&amp;&quot;&lt;&gt;&nbsp;") + u"&#65;"_qs, 20001},
        LimitCase{"numbers_of_eight_digits_and_other_names_are_text",
                  times(19983, u"a") + u"&#12345678;&euro;"_qs, 20000},
        LimitCase{"a_letter_outside_ASCII_counts_one", times(20000, u"\u00e9"), 20000},
        LimitCase{"a_decomposed_letter_counts_two", times(10001, u"e\u0301"), 20002},
        LimitCase{"an_emoji_is_one_character", times(20000, u"\U0001F600"), 20000}));

class MyBBLimit : public testing::TestWithParam<LimitCase>
{
};

TEST_P(MyBBLimit, CountsUtf8BytesOfTheTrimmedPost)
{
    expectCount(Forum::MyBB, GetParam(), 65535);
}

INSTANTIATE_TEST_SUITE_P(
    AroundTheLimit, MyBBLimit,
    testing::Values(
        LimitCase{"an_accented_letter_is_two_bytes", times(32768, u"\u00e9"), 65536},
        LimitCase{"one_byte_less_fits", times(32767, u"\u00e9") + u"a"_qs, 65535},
        LimitCase{"a_euro_sign_is_three_bytes", times(21845, u"\u20ac"), 65535},
        LimitCase{"an_emoji_is_four_bytes", times(16384, u"\U0001F600"), 65536},
        LimitCase{"a_line_break_is_two_bytes", times(32766, u"a") + u"\n"_qs + times(32767, u"a"),
                  65535},
        LimitCase{"CR_LF_is_two_bytes", times(32766, u"a") + u"\r\n"_qs + times(32768, u"a"),
                  65536},
        LimitCase{"blank_ends_are_trimmed",
                  u"\u00a0\u3000 \n"_qs + times(65535, u"a") + u"\u200b\r\n\t"_qs, 65535},
        LimitCase{"blanks_inside_are_counted", u"a\u00a0"_qs + times(65533, u"a"), 65536},
        LimitCase{"a_word_joiner_is_trimmed_at_the_end_only",
                  u"\u2060"_qs + times(65532, u"a") + u"\u2060"_qs, 65535}));

// ---- Every sample, as the forum counted it (lengths.tsv) ----

struct Counted
{
    QString post;
    Forum forum = Forum::Generic;
    qsizetype count = 0;
    qsizetype limit = 0;
    bool fits = true;
};

void PrintTo(const Counted &c, std::ostream *os)
{
    *os << c.post.toStdString() << " on " << forumKey(c.forum).toStdString();
}

std::vector<Counted> countedSamples()
{
    std::vector<Counted> out;
    QFile tsv(QStringLiteral(QUORVANE_DIALECTS_DIR "/lengths.tsv"));
    if (!tsv.open(QIODevice::ReadOnly))
        return out;
    tsv.readLine(); // the heading
    while (!tsv.atEnd()) {
        const QStringList fields = QString::fromUtf8(tsv.readLine()).trimmed().split(u'\t');
        if (fields.size() < 5)
            continue;
        out.push_back({fields[0], forumFromKey(fields[1]).value_or(Forum::Generic),
                       fields[2].toLongLong(), fields[3].toLongLong(), fields[4] == u"fits"_qs});
    }
    return out;
}

class CountedSample : public testing::TestWithParam<Counted>
{
};

TEST_P(CountedSample, CountsAsTheForumDid)
{
    const Counted &c = GetParam();
    ASSERT_NE(c.forum, Forum::Generic);
    QFile post(QStringLiteral(QUORVANE_DIALECTS_DIR "/") + c.post + u".bbcode"_qs);
    ASSERT_TRUE(post.open(QIODevice::ReadOnly));
    const ForumLength length = forumLength(c.forum, QString::fromUtf8(post.readAll()));
    EXPECT_EQ(length.counted, c.count);
    EXPECT_EQ(length.limit, c.limit);
    EXPECT_EQ(length.fits(), c.fits);
}

INSTANTIATE_TEST_SUITE_P(Samples, CountedSample, testing::ValuesIn(countedSamples()));

TEST(CountedSamples, AreAllThere)
{
    EXPECT_EQ(countedSamples().size(), 180u);
}

// The parts of a post add up to the whole away from its ends: what lets an
// editor keep the count line by line.
TEST(ForumCounting, IsTheSumOfTheCharactersWeights)
{
    const QString middle = u"x&\"<>'\u00e9\u20ac\U0001F600\n"_qs;
    for (Counting counting : {Counting::Escaped, Counting::Sent, Counting::Bytes}) {
        qsizetype sum = 0;
        for (char32_t c :
             {U'x', U'&', U'"', U'<', U'>', U'\'', U'\u00e9', U'\u20ac', U'\U0001F600'})
            sum += characterWeight(counting, c);
        sum += lineBreakWeight(counting);
        EXPECT_EQ(countedLength(counting, u"a"_qs + middle + u"a"_qs), sum + 2);
    }
}

} // namespace
