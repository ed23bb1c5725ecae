// What each forum does to a post other than what its writer meant: one table
// per forum, each rule once, and posts that forum shows as meant.

#include "forum/forumwarnings.h"

#include <QString>

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <random>

using namespace quorvane;

namespace {

struct Expected
{
    qsizetype position;
    QString message;
    bool operator==(const Expected &) const = default;
};

void PrintTo(const Expected &e, std::ostream *os)
{
    *os << e.position << ": " << e.message.toStdString();
}

struct WarningCase
{
    const char *what;
    QString post;
    std::vector<Expected> warnings;
};

void PrintTo(const WarningCase &c, std::ostream *os)
{
    *os << c.what;
}

std::vector<Expected> warningsOf(Forum forum, const QString &post)
{
    const KnownTags tags;
    std::vector<Expected> out;
    for (const MarkupProblem &w : forumWarnings(forum, post, analyseMarkup(post, tags), tags)) {
        // A warning sits on the whole tag it concerns.
        EXPECT_EQ(post.at(w.position), u'[') << w.message.toStdString();
        EXPECT_EQ(post.at(w.position + w.length - 1), u']') << w.message.toStdString();
        out.push_back({w.position, w.message});
    }
    return out;
}

std::string nameOf(const testing::TestParamInfo<WarningCase> &info)
{
    return info.param.what;
}

class PhpBBWarnings : public testing::TestWithParam<WarningCase>
{
};
TEST_P(PhpBBWarnings, Found)
{
    EXPECT_EQ(warningsOf(Forum::PhpBB, GetParam().post), GetParam().warnings);
}
INSTANTIATE_TEST_SUITE_P(
    Rules, PhpBBWarnings,
    testing::Values(
        WarningCase{"a_tag_it_lacks_is_text_once_a_pair",
                    u"a [s]x[/s]"_qs,
                    {{2, u"phpBB 3.3 shows [s] as text"_qs}}},
        WarningCase{"sizes_over_200_refused",
                    u"[size=250]x[/size]"_qs,
                    {{0, u"phpBB 3.3 refuses sizes over 200"_qs}}},
        WarningCase{"size_5_is_five_percent",
                    u"[size=5]x[/size]"_qs,
                    {{0, u"[size=5] is 5 % on phpBB 3.3, nearly invisible"_qs}}},
        WarningCase{"address_without_scheme_is_relative",
                    u"[url=example.com]x[/url] [url]/faq[/url]"_qs,
                    {{0, u"phpBB 3.3 makes [url=example.com] a link relative to the forum"_qs}}},
        WarningCase{"fourth_quote_removed_with_what_it_holds",
                    u"[quote][quote][quote][quote]x[s]y[/s][/quote][/quote][/quote][/quote]"_qs,
                    {{21, u"phpBB 3.3 removes quotes nested deeper than 3"_qs}}},
        WarningCase{"places_past_a_trimmed_start_and_CR_LF",
                    u" \r\n[b]\r\nx[/b] [s]"_qs,
                    {{14, u"phpBB 3.3 shows [s] as text"_qs}}},
        WarningCase{"the_editors_line_separators",
                    u"a\u2029[s]x[/s]"_qs,
                    {{2, u"phpBB 3.3 shows [s] as text"_qs}}},
        WarningCase{"shown_as_meant",
                    u"[b]x[/b] [size=150]y[/size] [url=https://example.com]z[/url] "
                    u"[list=1][*]a[/list] [quote][quote][quote]q[/quote][/quote][/quote]"_qs,
                    {}}),
    nameOf);

class SmfWarnings : public testing::TestWithParam<WarningCase>
{
};
TEST_P(SmfWarnings, Found)
{
    EXPECT_EQ(warningsOf(Forum::Smf, GetParam().post), GetParam().warnings);
}
INSTANTIATE_TEST_SUITE_P(
    Rules, SmfWarnings,
    testing::Values(
        WarningCase{"numbered_list_is_text",
                    u"[list=1][*]a[/list]"_qs,
                    {{0, u"SMF 2.1 shows [list=1] as text: use [list type=decimal]"_qs}}},
        WarningCase{"an_item_has_no_close",
                    u"[list][*]a[/*][/list]"_qs,
                    {{10, u"SMF 2.1 shows [/*] as text"_qs}}},
        WarningCase{"sizes_over_7_refused",
                    u"[size=50]x[/size]"_qs,
                    {{0, u"SMF 2.1 refuses sizes over 7"_qs}}},
        WarningCase{"a_close_that_crossed_is_text",
                    u"[b]x [i]y[/b] z[/i]"_qs,
                    {{15, u"SMF 2.1 shows [/i] as text"_qs}}},
        WarningCase{"places_past_an_empty_pair_it_drops",
                    u"[b] [/b][strike]x[/strike]"_qs,
                    {{8, u"SMF 2.1 shows [strike] as text"_qs}}},
        WarningCase{"shown_as_meant",
                    u"[size=5]x[/size] [url=example.com]y[/url] [list type=decimal][*]a[/list]"_qs,
                    {}}),
    nameOf);

class MyBBWarnings : public testing::TestWithParam<WarningCase>
{
};
TEST_P(MyBBWarnings, Found)
{
    EXPECT_EQ(warningsOf(Forum::MyBB, GetParam().post), GetParam().warnings);
}
INSTANTIATE_TEST_SUITE_P(
    Rules, MyBBWarnings,
    testing::Values(
        WarningCase{"an_unclosed_tag_is_text",
                    u"x [b]never closed"_qs,
                    {{2, u"MyBB 1.8 shows [b] as text"_qs}}},
        WarningCase{"size_3_is_three_points",
                    u"[size=3]x[/size]"_qs,
                    {{0, u"[size=3] is 3 pt on MyBB 1.8, smaller than the text around it"_qs}}},
        WarningCase{"an_item_has_no_close",
                    u"[list][*]a[/*][/list]"_qs,
                    {{10, u"MyBB 1.8 shows [/*] as text"_qs}}},
        WarningCase{"shown_as_meant",
                    u"[b]x[/b] [size=20]y[/size] [url=example.com]z[/url] [list=1][*]a[/list]"_qs,
                    {}}),
    nameOf);

// Posts of random tags, text and line breaks of every kind: each warning sits
// on a whole tag of the post (warningsOf checks), in order of position.
TEST(ForumWarnings, SitOnTheTagsOfGeneratedPosts)
{
    const char16_t *const pieces[] = {
        u"[b]",     u"[/b]",    u"[list=1]", u"[list]",     u"[/list]",    u"[*]",
        u"[/*]",    u"[quote]", u"[/quote]", u"[size=5]",   u"[size=250]", u"[/size]",
        u"[url=a]", u"[/url]",  u"[s]",      u"[/s]",       u" ",          u"\r\n",
        u"word",    u"[",       u"\u2029",   u"[url]x.org", u"[b] [/b]"};
    std::mt19937 random(11);
    for (int round = 0; round < 300; ++round) {
        QString post;
        for (int n = 0; n < 30; ++n)
            post += QString::fromUtf16(pieces[random() % std::size(pieces)]);
        for (Forum forum : {Forum::PhpBB, Forum::Smf, Forum::MyBB}) {
            const std::vector<Expected> found = warningsOf(forum, post);
            EXPECT_TRUE(std::is_sorted(
                found.begin(), found.end(),
                [](const Expected &a, const Expected &b) { return a.position < b.position; }))
                << post.toStdString();
        }
    }
}

TEST(GenericWarnings, NoneWhateverThePost)
{
    EXPECT_TRUE(warningsOf(Forum::Generic, u"[b]x [size=250][s]"_qs).empty());
}

} // namespace
