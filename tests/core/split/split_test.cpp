// Counting a post as forums do, words and reading time, and splitting a post
// into parts: the cut rules on small posts, then the guarantees on thousands
// of generated posts.

#include "forum/forumlength.h"
#include "markup/markupchecker.h"
#include "split/postlength.h"
#include "split/postsplitter.h"
#include "split/posttally.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringList>

#include <set>

using namespace quorvane;

namespace {

const KnownTags &known()
{
    static const KnownTags tags;
    return tags;
}

struct CountCase
{
    const char *what;
    QString text;
    LengthRule rule;
    qsizetype length;
};

class Counting : public testing::TestWithParam<CountCase>
{
};

TEST_P(Counting, CountsAsTheForumDoes)
{
    const CountCase &c = GetParam();
    EXPECT_EQ(postLength(c.text, c.rule, known()), c.length);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, Counting,
    testing::Values(CountCase{"tags count", u"[b]ab[/b]"_qs, {true, 1}, 9},
                    CountCase{"tags do not count", u"[b]ab[/b]"_qs, {false, 1}, 2},
                    CountCase{"unknown tags are text", u"[zz]ab[/zz]"_qs, {false, 1}, 11},
                    CountCase{"tag values do not count", u"[color=red]a[/color]"_qs, {false, 1}, 1},
                    CountCase{"line break as one", u"a\nb\n"_qs, {true, 1}, 4},
                    CountCase{"line break as two", u"a\nb\n"_qs, {true, 2}, 6},
                    CountCase{"CR LF is one break", u"a\r\nb"_qs, {true, 2}, 4},
                    CountCase{"an emoji is one character", u"a\U0001F600b"_qs, {true, 1}, 3},
                    CountCase{"code contents are text", u"[code][b][/code]"_qs, {false, 1}, 3}),
    [](const auto &run) {
        QString name = QString::fromLatin1(run.param.what);
        name.replace(u' ', u'_');
        return name.toStdString();
    });

TEST(Profiles, EachHasALimitAndAKeyOfItsOwnAndCustomIsLast)
{
    std::set<QString> keys;
    const auto profiles = forumProfiles();
    ASSERT_GE(profiles.size(), 3u);
    for (const ForumProfile &profile : profiles) {
        EXPECT_TRUE(keys.insert(QLatin1String(profile.key)).second) << profile.key;
        EXPECT_EQ(findForumProfile(QString::fromLatin1(profile.key)), &profile);
        EXPECT_TRUE(profile.rule.lineBreak == 1 || profile.rule.lineBreak == 2);
        if (&profile != &profiles.back()) {
            EXPECT_GT(profile.limit, 0) << profile.key;
        }
    }
    EXPECT_EQ(profiles.back().limit, 0);
    EXPECT_EQ(findForumProfile(u"nonesuch"), nullptr);
    // A board's counting, end to end: phpBB counts LF, SMF counts CR LF.
    const QString post = u"[b]Hi[/b]\nthere"_qs;
    EXPECT_EQ(postLength(post, findForumProfile(u"phpbb")->rule, known()), 15);
    EXPECT_EQ(postLength(post, findForumProfile(u"smf")->rule, known()), 16);
}

struct WordCase
{
    QString text;
    qsizetype words;
};

class Words : public testing::TestWithParam<WordCase>
{
};

TEST_P(Words, AreCountedAsAReaderSeesThem)
{
    EXPECT_EQ(countWords(GetParam().text, known()), GetParam().words);
}

INSTANTIATE_TEST_SUITE_P(Texts, Words,
                         testing::Values(WordCase{u""_qs, 0}, WordCase{u"one two  three"_qs, 3},
                                         WordCase{u"don't well-known -- ok"_qs, 3},
                                         WordCase{u"[b]bold[/b]er [url=x]link[/url]"_qs, 2},
                                         WordCase{u"[zz]a\nb :) 42"_qs, 4},
                                         WordCase{u"Ünïcode wörds ещё"_qs, 3}));

TEST(ReadingTime, IsWordsOver230RoundedUp)
{
    const std::pair<qsizetype, qsizetype> cases[] = {
        {0, 0}, {1, 1}, {230, 1}, {231, 2}, {2300, 10}};
    for (auto [words, minutes] : cases)
        EXPECT_EQ(readingMinutes(words), minutes) << words;
}

// The tally after any run of edits agrees with counting the text afresh.
TEST(WordTally, FollowsEditsAsCountingAfreshWould)
{
    QRandomGenerator random(7);
    const QStringList pieces{u"word "_qs, u"\n"_qs,   u"[b]"_qs,  u"[/b]"_qs, u"x"_qs,
                             u" "_qs,     u"\n\n"_qs, u"it's"_qs, u"["_qs,    u"b]"_qs};
    QString text = u"Start of the post\nsecond line"_qs;
    WordTally tally(known());
    tally.reset(text);
    for (int step = 0; step < 3000; ++step) {
        const auto position = qsizetype(random.bounded(int(text.size()) + 1));
        const auto removed =
            qsizetype(random.bounded(int(std::min<qsizetype>(6, text.size() - position + 1))));
        const QString added =
            random.bounded(3) == 0 ? QString() : pieces[random.bounded(int(pieces.size()))];
        text.replace(position, removed, added);
        tally.change(text, position, removed, added.size());
        ASSERT_EQ(tally.words(), countWords(text, known())) << step << " " << text.toStdString();
    }
}

struct SplitCase
{
    const char *what;
    QString text;
    qsizetype limit;
    QStringList parts;
    LengthRule rule = {};
    QString label = {};
};

class CutRules : public testing::TestWithParam<SplitCase>
{
};

TEST_P(CutRules, CutWhereTheRulesSay)
{
    const SplitCase &c = GetParam();
    SplitOptions options;
    options.limit = c.limit;
    options.rule = c.rule;
    options.labelTemplate = c.label;
    const SplitResult result = splitPost(c.text, options, known());
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.parts, c.parts);
}

INSTANTIATE_TEST_SUITE_P(
    SmallPosts, CutRules,
    testing::Values(
        SplitCase{
            "a post that fits is one part", u"Short post. Fits."_qs, 17, {u"Short post. Fits."_qs}},
        SplitCase{"the last paragraph break before a later sentence end",
                  u"Aa bb.\n\nCc dd. Ee ff. Gg"_qs,
                  20,
                  {u"Aa bb."_qs, u"Cc dd. Ee ff. Gg"_qs}},
        SplitCase{"a sentence end before a later space",
                  u"Aa bb. Cc dd ee ff gg"_qs,
                  15,
                  {u"Aa bb."_qs, u"Cc dd ee ff gg"_qs}},
        SplitCase{"a sentence ends behind quotes and tags",
                  u"He said [i]\"Stop.\"[/i] Then ran off"_qs,
                  30,
                  {u"He said [i]\"Stop.\"[/i]"_qs, u"Then ran off"_qs}},
        SplitCase{"else the last space", u"aaa bbb ccc ddd"_qs, 10, {u"aaa bbb"_qs, u"ccc ddd"_qs}},
        SplitCase{"never inside a tag's value",
                  u"x [quote=Ann Lee]yy[/quote]"_qs,
                  25,
                  {u"x"_qs, u"[quote=Ann Lee]yy[/quote]"_qs}},
        SplitCase{"never inside an address written as the contents",
                  u"See [url]http://e.com/a b[/url] now"_qs,
                  28,
                  {u"See"_qs, u"[url]http://e.com/a b[/url]"_qs, u"now"_qs}},
        SplitCase{"open tags closed innermost first and reopened with values",
                  u"[color=red][b]aa bb[/b][/color]"_qs,
                  30,
                  {u"[color=red][b]aa[/b][/color]"_qs, u"[color=red][b]bb[/b][/color]"_qs}},
        SplitCase{"a list reopens with its own tag",
                  u"[list=1][*]one\n[*]two\n[*]three[/list]"_qs,
                  30,
                  {u"[list=1][*]one\n[*]two[/list]"_qs, u"[list=1][*]three[/list]"_qs}},
        SplitCase{"a long code block splits between lines, indentation kept",
                  u"[code]if (a)\n    b();\nc();[/code]"_qs,
                  28,
                  {u"[code]if (a)\n    b();[/code]"_qs, u"[code]c();[/code]"_qs}},
        SplitCase{"code cut between lines keeps a CR LF whole",
                  u"[code]aaaa\r\nbbbb\r\ncccc[/code]"_qs,
                  22,
                  {u"[code]aaaa\r\nbbbb[/code]"_qs, u"[code]cccc[/code]"_qs}},
        SplitCase{"line breaks after the last cut make no part",
                  u"[code]aaaa\nbbbb\n"_qs,
                  15,
                  {u"[code]aaaa\nbbbb"_qs}},
        SplitCase{"code is never cut at its spaces",
                  u"[code]a b c d e f[/code] g"_qs,
                  24,
                  {u"[code]a b c d e f[/code]"_qs, u"g"_qs}},
        SplitCase{"without tags only the text counts",
                  u"[b]aaaa[/b] [i]bbbb[/i]"_qs,
                  9,
                  {u"[b]aaaa[/b] [i]bbbb[/i]"_qs},
                  LengthRule{false, 1}},
        SplitCase{"a line break counted as two",
                  u"aa\nbb\ncc"_qs,
                  7,
                  {u"aa\nbb"_qs, u"cc"_qs},
                  LengthRule{true, 2}},
        SplitCase{"labels count against the limit",
                  u"aaa bbb ccc"_qs,
                  12,
                  {u"(1/3)\naaa"_qs, u"(2/3)\nbbb"_qs, u"(3/3)\nccc"_qs},
                  LengthRule{},
                  u"(%1/%2)"_qs}),
    [](const auto &run) {
        QString name = QString::fromLatin1(run.param.what);
        name.replace(QRegularExpression(u"[^A-Za-z0-9]+"_qs), u"_"_qs);
        return name.toStdString();
    });

TEST(CutRules, APieceLongerThanAPartIsReportedWhereItStarts)
{
    SplitOptions options;
    options.limit = 10;
    const SplitResult result = splitPost(u"ok fine averyveryverylongword end"_qs, options, known());
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.parts.isEmpty());
    EXPECT_EQ(result.failedAt, 8);
    EXPECT_EQ(result.failedLength, 21);
}

// A post of paragraphs with nested tags, lists, quotes and long CODE blocks,
// well formed, from a seed.
class PostMaker
{
public:
    explicit PostMaker(quint32 seed) : m_random(seed) {}

    QString post()
    {
        QString out;
        const int blocks = 1 + pick(12);
        for (int b = 0; b < blocks; ++b) {
            if (b > 0)
                out += pick(3) == 0 ? u"\n"_qs : u"\n\n"_qs;
            switch (pick(5)) {
            case 0:
                out += list();
                break;
            case 1:
                out += code();
                break;
            case 2:
                out += (pick(2) == 0 ? u"[quote=Bob Lee]"_qs : u"[quote]"_qs) + paragraph(2) +
                       u"[/quote]"_qs;
                break;
            default:
                out += paragraph(3);
            }
        }
        return out;
    }

private:
    int pick(int n) { return int(m_random.bounded(n)); }

    QString word()
    {
        static const QStringList words{
            u"alpha"_qs,  u"beta"_qs, u"gamma"_qs,          u"délta"_qs,   u"e"_qs,
            u"it's"_qs,   u":)"_qs,   u"http://e.org/x"_qs, u"a[0]"_qs,    u"\U0001F600"_qs,
            u"zeta-9"_qs, u"[5 ]"_qs, u"R&amp;D"_qs,        u"<\"q\">"_qs, u"e\u0301"_qs};
        return words[pick(int(words.size()))];
    }

    QString sentence()
    {
        QString out = word();
        const int n = pick(12);
        for (int i = 0; i < n; ++i)
            out += u' ' + word();
        static const QStringList ends{u"."_qs, u"!"_qs, u"?"_qs, u""_qs, u".\""_qs};
        return out + ends[pick(int(ends.size()))];
    }

    QString styled(int depth)
    {
        if (depth == 0 || pick(3) != 0)
            return sentence();
        static const QStringList opens{u"[b]"_qs,
                                       u"[i]"_qs,
                                       u"[color=#a0b]"_qs,
                                       u"[size=4]"_qs,
                                       u"[url=http://e.org/p q]"_qs,
                                       u"[spoiler=Plot twist]"_qs};
        const QString open = opens[pick(int(opens.size()))];
        const QString name = open.mid(1, open.indexOf(QRegularExpression(u"[=\\]]"_qs)) - 1);
        QString inner = styled(depth - 1);
        if (pick(2) == 0)
            inner += u' ' + styled(depth - 1);
        return open + inner + u"[/"_qs + name + u']';
    }

    QString paragraph(int depth)
    {
        QString out = styled(depth);
        const int n = pick(6);
        for (int i = 0; i < n; ++i)
            out += u' ' + styled(depth);
        return out;
    }

    QString list()
    {
        QString out = pick(2) == 0 ? u"[list]"_qs : u"[list=1]"_qs;
        const int n = 1 + pick(8);
        for (int i = 0; i < n; ++i)
            out += u"\n[*]"_qs + paragraph(2);
        return out + u"\n[/list]"_qs;
    }

    QString code()
    {
        QString out = u"[code]"_qs;
        const int n = 1 + pick(60);
        for (int i = 0; i < n; ++i) {
            if (i > 0)
                out += u'\n';
            out += QString(pick(3) * 4, u' ') + u"call(x[i], \"[b]\");"_qs;
        }
        return out + u"[/code]"_qs;
    }

    QRandomGenerator m_random;
};

QStringList textWords(const QString &text)
{
    return withoutTags(text, known()).split(QRegularExpression(u"\\s+"_qs), Qt::SkipEmptyParts);
}

// Under each forum's counting, the tally kept line by line (lines in pieces
// too) agrees with counting the whole post, through edits at its ends.
TEST(PostTallyForumCounting, AgreesWithCountingTheWholePost)
{
    QRandomGenerator random(25);
    const QStringList bits{u" "_qs,     u"\t"_qs,     u"\u00a0"_qs,  u"\u2060"_qs,     u"\ufeff"_qs,
                           u"a"_qs,     u"&"_qs,      u"\""_qs,      u"<b>"_qs,        u"&amp;"_qs,
                           u"&#65;"_qs, u"\u00e9"_qs, u"e\u0301"_qs, u"\U0001F600"_qs, u"'"_qs};
    for (int round = 0; round < 400; ++round) {
        std::vector<PostTally::Line> lines;
        QString post;
        const int count = 1 + int(random.bounded(6));
        for (int l = 0; l < count; ++l) {
            PostTally::Line line;
            for (int b = int(random.bounded(5)); b > 0; --b)
                line.text += bits[int(random.bounded(bits.size()))];
            line.continues = l > 0 && random.bounded(4) == 0;
            post += (l > 0 && !line.continues ? u"\n"_qs : QString()) + line.text;
            lines.push_back(line);
        }
        PostTally tally(known());
        tally.replace(0, 0, count);
        ASSERT_TRUE(tally.settle([&](qsizetype i) { return lines[size_t(i)]; }, 1 << 20));
        for (quorvane::Counting counting :
             {quorvane::Counting::Escaped, quorvane::Counting::Sent, quorvane::Counting::Bytes}) {
            // Pieces cut between a letter and its mark count it as two.
            if (post.contains(u"e\u0301"_qs) && counting == quorvane::Counting::Escaped)
                continue;
            ASSERT_EQ(tally.length(forumLengthRule(counting)), countedLength(counting, post))
                << int(counting) << " " << post.toStdString();
        }
    }
}

TEST(SplitGuarantees, HoldOnThousandsOfGeneratedPosts)
{
    PostMaker maker(20261208);
    QRandomGenerator random(99);
    qsizetype split = 0;
    for (int i = 0; i < 3000; ++i) {
        const QString post = maker.post();
        ASSERT_TRUE(analyseMarkup(post, known()).problems.empty()) << post.toStdString();
        SplitOptions options;
        options.limit = 160 + random.bounded(600);
        options.rule = LengthRule{random.bounded(2) == 0, 1 + int(random.bounded(2))};
        if (const int forum = int(random.bounded(5)); forum < 3)
            options.rule = forumLengthRule(quorvane::Counting(forum)); // each forum's counting too
        if (random.bounded(3) == 0) {
            options.labelTemplate = u"[b]Part %1 of %2[/b]"_qs;
            options.labelAtTop = random.bounded(2) == 0;
        }
        const SplitResult result = splitPost(post, options, known());
        ASSERT_TRUE(result.ok) << i << " at " << result.failedAt << "\n" << post.toStdString();
        split += result.parts.size() > 1 ? 1 : 0;
        QString joined;
        for (qsizetype p = 0; p < result.parts.size(); ++p) {
            const QString &part = result.parts[p];
            // Every part fits as the rule counts it.
            ASSERT_LE(postLength(part, options.rule, known()), options.limit)
                << i << " part " << p << "\n"
                << part.toStdString();
            // Every part passes the checker.
            const auto problems = analyseMarkup(part, known()).problems;
            ASSERT_TRUE(problems.empty())
                << i << " part " << p << ": " << problems.front().message.toStdString() << "\n"
                << part.toStdString();
            QString body = part;
            if (!options.labelTemplate.isEmpty()) {
                const QString label = partLabel(options.labelTemplate, p + 1, result.parts.size());
                ASSERT_TRUE(options.labelAtTop ? body.startsWith(label + u'\n')
                                               : body.endsWith(u'\n' + label));
                body = options.labelAtTop ? body.mid(label.size() + 1)
                                          : body.chopped(label.size() + 1);
            }
            joined += body + u'\n';
        }
        // No character lost or doubled: the same words in the same order.
        ASSERT_EQ(textWords(joined), textWords(post)) << i << "\n" << post.toStdString();
    }
    EXPECT_GT(split, 1000); // most posts were long enough to split
}

} // namespace
