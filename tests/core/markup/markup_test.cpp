// The mark-up model: which brackets are tags, the problems of a post with
// their places, and what is open at a position.

#include "markup/markupchecker.h"
#include "markup/markupreport.h"

#include <gtest/gtest.h>

#include <QStringList>

using namespace quorvane;

namespace {

// "LINE:COLUMN message" for each problem, in order.
QStringList problemsOf(const QString &post, const KnownTags &tags = KnownTags())
{
    const MarkupAnalysis analysis = analyseMarkup(post, tags);
    LineColumns places(post);
    QStringList out;
    for (const MarkupProblem &problem : analysis.problems) {
        const LineColumns::Place place = places.at(problem.position);
        out << QStringLiteral("%1:%2 %3").arg(place.line).arg(place.column).arg(problem.message);
    }
    return out;
}

struct ProblemCase
{
    const char *what;
    const char16_t *post;
    QStringList expected;
};

class Problems : public testing::TestWithParam<ProblemCase>
{
};

TEST_P(Problems, AreFoundAtTheirTags)
{
    const ProblemCase &c = GetParam();
    EXPECT_EQ(problemsOf(QString::fromUtf16(c.post)).join(u'\n').toStdString(),
              c.expected.join(u'\n').toStdString());
}

const ProblemCase kProblemCases[] = {
    {"a clean post in mixed case", u"[b]bold[/B] [Url=http://x]x[/URL] [size=7]big[/SIZE]", {}},
    {"never closed", u"[QUOTE]said\r\nmore", {"1:1 [QUOTE] is never closed"}},
    {"closes nothing", u"text[/B]", {"1:5 [/B] closes nothing"}},
    {"crossing tags report once",
     u"[B][I]x[/B][/I]",
     {"1:8 [/B] closes inside [I]; close [/I] first"}},
    {"names as written", u"[b][i]x[/b][/i]", {"1:8 [/b] closes inside [i]; close [/i] first"}},
    {"unknown tag",
     u"[CENTRE]x[/CENTRE]",
     {"1:1 [CENTRE] is not a known tag", "1:10 [/CENTRE] is not a known tag"}},
    {"size out of range", u"[SIZE=8]x[/SIZE]", {"1:1 [SIZE=8]: sizes run from 1 to 7"}},
    {"size without a value", u"[SIZE]x[/SIZE]", {"1:1 [SIZE]: sizes run from 1 to 7"}},
    {"empty link target", u"[URL=]x[/URL]", {"1:1 [URL=] has no address"}},
    {"empty link contents",
     u"[URL] [/URL] [IMG][/IMG]",
     {"1:1 [URL] has no address", "1:14 [IMG] has no address"}},
    {"empty colour and font",
     u"[COLOR=]x[/COLOR][FONT=]y[/FONT]",
     {"1:1 [COLOR=] needs a colour", "1:18 [FONT=] needs a font name"}},
    {"a value where none belongs", u"[B=1]x[/B]", {"1:1 [B=1]: [B] takes no value"}},
    {"list style",
     u"[LIST=x][*]a[/LIST][LIST=A][*]b[/LIST]",
     {"1:1 [LIST=x]: lists are numbered with 1, a, A, i or I"}},
    {"item outside a list",
     u"[*]a\n[LIST][*]b[/*][/LIST][/*]",
     {"1:1 [*] is outside a list", "2:22 [/*] is outside a list"}},
    {"nested lists", u"[LIST][*]a[LIST=1][*]b[/LIST][*]c[/LIST]", {}},
    {"tags inside code are text",
     u"[CODE]a[0] [B] [/I] [QUOTE][/code] [HTML]<b>[x][/HTML] [php]$a[1];[/PHP] "
     u"[NOPARSE][B][/NOPARSE]",
     {}},
    {"code never closed", u"x\n[CODE][B]", {"2:1 [CODE] is never closed"}},
    {"pair lines apart", u"[QUOTE=Ann]\r\nfirst\r\n\r\n[B]x\r\ny[/B]\r\n[/QUOTE]", {}},
    {"lines apart and crossing",
     u"[QUOTE]\r\n[B]\r\n[/QUOTE]\r\n[/B]",
     {"3:1 [/QUOTE] closes inside [B]; close [/B] first"}},
    {"brackets that are not tags", u"a[0] = b[i+1]; [ here ] 5 > 3 ] [] [/] [1] [=x] [b ]", {}},
    {"look-alike letters are not tags this program knows",
     u"[\u0412]x[/\u0412] [\uff22]",
     {"1:1 [\u0412] is not a known tag", "1:5 [/\u0412] is not a known tag",
      "1:10 [\uff22] is not a known tag"}},
    {"columns count code points and a tab as one",
     u"\U0001F600\t[/U]",
     {"1:3 [/U] closes nothing"}},
    {"order of position with late finds",
     u"[I]a[/B]",
     {"1:1 [I] is never closed", "1:5 [/B] closes nothing"}},
};

INSTANTIATE_TEST_SUITE_P(Posts, Problems, testing::ValuesIn(kProblemCases),
                         [](const testing::TestParamInfo<ProblemCase> &param) {
                             return std::to_string(param.index);
                         });

TEST(KnownTagsTest, UserNamesAreNeitherFlaggedNorLeftUnpaired)
{
    const KnownTags tags({QStringLiteral("centre"), QStringLiteral("not a name")});
    EXPECT_TRUE(problemsOf(QStringLiteral("[Centre]x[/CENTRE]"), tags).isEmpty());
    EXPECT_EQ(problemsOf(QStringLiteral("[CENTRE]x"), tags),
              QStringList{QStringLiteral("1:1 [CENTRE] is never closed")});
    EXPECT_EQ(tags.userNames(), QStringList{QStringLiteral("CENTRE")});
}

struct OpenCase
{
    const char16_t *post; // "|" marks the position
    const char *open;     // names of the open tags, outermost first
};

class OpenAt : public testing::TestWithParam<OpenCase>
{
};

TEST_P(OpenAt, ListsTheOpenTagsOutermostFirst)
{
    QString post = QString::fromUtf16(GetParam().post);
    const qsizetype pos = post.indexOf(u'|');
    post.remove(pos, 1);
    QStringList names;
    for (const OpenTag &open : openTagsAt(post, pos, KnownTags()))
        names << open.tag.name(post).toString();
    EXPECT_EQ(names.join(u' ').toStdString(), GetParam().open);
}

const OpenCase kOpenCases[] = {
    {u"[B]x|[/B]", "B"},
    {u"[B]x[/B]|", ""},
    {u"[QUOTE=a]\n[I][U]|\n[/U][/I][/QUOTE]", "QUOTE I U"},
    {u"[B][/|B]", "B"},
    {u"[CODE][B]|[/CODE]", "CODE"},
    {u"[B][I][/B]|", "I"},
    {u"[LIST][*]|", "LIST"},
};

INSTANTIATE_TEST_SUITE_P(Posts, OpenAt, testing::ValuesIn(kOpenCases));

TEST(MarkupAnalysisTest, PairsPartnersAcrossLines)
{
    const QString post = QStringLiteral("[QUOTE]\n[b]xy[/B]\n[/quote][/I]");
    const MarkupAnalysis analysis = analyseMarkup(post, KnownTags());
    ASSERT_EQ(analysis.tags.size(), 5u);
    EXPECT_EQ(analysis.partners, (std::vector<qsizetype>{3, 2, 1, 0, -1}));
    EXPECT_EQ(analysis.tagAt(0), 0);
    EXPECT_EQ(analysis.tagAt(7), 0); // just after the "]"
    EXPECT_EQ(analysis.tagAt(post.indexOf(u'y')), -1);
}

TEST(MarkupScannerTest, ScansLineByLineAsAWhole)
{
    // An editor scans block by block, carrying only the verbatim tag.
    const QString post = QStringLiteral("[CODE]\n[B]\n[/CODE][I]\n[/I]");
    const KnownTags known;
    std::vector<qsizetype> whole;
    MarkupScanner all(known);
    all.scan(post, 0, post.size(), [&](const MarkupTag &tag) { whole.push_back(tag.start); });
    std::vector<qsizetype> pieces;
    MarkupScanner lines(known);
    qsizetype from = 0;
    for (const QStringView line : QStringView(post).split(u'\n')) {
        lines.scan(post, from, from + line.size(),
                   [&](const MarkupTag &tag) { pieces.push_back(tag.start); });
        from += line.size() + 1;
    }
    EXPECT_EQ(pieces, whole);
    EXPECT_EQ(whole, (std::vector<qsizetype>{0, 11, 18, 22}));
}

} // namespace
