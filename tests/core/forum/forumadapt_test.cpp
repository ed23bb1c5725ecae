// Adapting a post for each forum: one case per rule and forum, and on random
// tag soup the forum's own parser shows none of the writer's tags as text,
// keeps every word in order, and adapting again changes nothing.

#include "forum/bbcodeparser.h"
#include "forum/forumadapt.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QString>

#include <gtest/gtest.h>

#include <ostream>

using namespace quorvane;

void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

struct AdaptCase
{
    const char *what;
    Forum forum;
    QString post;
    QString adapted;
};

void PrintTo(const AdaptCase &c, std::ostream *os)
{
    *os << forumKey(c.forum).toStdString() << ": " << c.what;
}

const AdaptCase kCases[] = {
    // phpBB 3.3
    {"chooser size as a percentage", Forum::PhpBB, u"[size=5]Big[/size]"_qs,
     u"[size=150]Big[/size]"_qs},
    {"size over the largest", Forum::PhpBB, u"[size=300]x[/size]"_qs, u"[size=200]x[/size]"_qs},
    {"a percentage it reads stays", Forum::PhpBB, u"[size=85]x[/size]"_qs, u"[size=85]x[/size]"_qs},
    {"link given a scheme", Forum::PhpBB, u"[url=example.com]site[/url]"_qs,
     u"[url=http://example.com]site[/url]"_qs},
    {"address given a scheme", Forum::PhpBB, u"[url]example.com/a[/url]"_qs,
     u"[url]http://example.com/a[/url]"_qs},
    {"no strike: text kept", Forum::PhpBB, u"a [s]b[/s] c"_qs, u"a b c"_qs},
    {"no alignment: text kept", Forum::PhpBB, u"[center]mid[/center]"_qs, u"mid"_qs},
    {"quote deeper than 3 flattened", Forum::PhpBB,
     u"[quote]a[quote]b[quote]c[quote]d[/quote][/quote][/quote][/quote]"_qs,
     u"[quote]a[quote]b[quote]c\nd[/quote][/quote][/quote]"_qs},
    {"a flattened quote keeps its heading", Forum::PhpBB,
     u"[quote][quote][quote]c[quote=\"Al\"]d[/quote][/quote][/quote][/quote]"_qs,
     u"[quote][quote][quote]c\nAl wrote:\nd[/quote][/quote][/quote]"_qs},
    {"no table: cells kept apart", Forum::PhpBB, u"[table][tr][td]a[/td][td]b[/td][/tr][/table]"_qs,
     u"a\nb"_qs},
    {"no rule: the words around it kept apart", Forum::PhpBB, u"a[hr]b"_qs, u"a\nb"_qs},
    {"php as code", Forum::PhpBB, u"[php]$a = 1;[/php]"_qs, u"[code=php]$a = 1;[/code]"_qs},
    {"youtube as a link", Forum::PhpBB, u"[youtube]dQw4w9WgXcQ[/youtube]"_qs,
     u"[url]https://www.youtube.com/watch?v=dQw4w9WgXcQ[/url]"_qs},
    // SMF 2.1
    {"numbered list", Forum::Smf, u"[list=1][*]one[/*][*]two[/list]"_qs,
     u"[list type=decimal][*]one[*]two[/list]"_qs},
    {"chooser size as a name", Forum::Smf, u"[size=2]small[/size]"_qs,
     u"[size=small]small[/size]"_qs},
    {"largest chooser size in points", Forum::Smf, u"[size=7]x[/size]"_qs,
     u"[size=36pt]x[/size]"_qs},
    {"text before the first item", Forum::Smf, u"[list]a[*]b[/list]"_qs,
     u"[list][*]a[*]b[/list]"_qs},
    {"a block ends bold", Forum::Smf, u"[b]a[quote]b[/quote]c[/b]"_qs,
     u"[b]a[/b][quote][b]b[/b][/quote][b]c[/b]"_qs},
    {"align as its own tag", Forum::Smf, u"[align=right]r[/align]"_qs, u"[right]r[/right]"_qs},
    {"strike as s", Forum::Smf, u"[strike]x[/strike]"_qs, u"[s]x[/s]"_qs},
    // MyBB 1.8
    {"unclosed bold closed at its paragraph", Forum::MyBB, u"[b]one\n\ntwo"_qs,
     u"[b]one[/b]\n\ntwo"_qs},
    {"unclosed bold closed at the post's end", Forum::MyBB, u"[b]one\n"_qs, u"[b]one[/b]\n"_qs},
    {"bold inside bold", Forum::MyBB, u"[b]a[b]b[/b]c[/b]"_qs, u"[b]abc[/b]"_qs},
    {"crossed tags", Forum::MyBB, u"[b]a[i]b[/b]c[/i]"_qs, u"[b]a[i]b[/i][/b][i]c[/i]"_qs},
    {"center as align", Forum::MyBB, u"[center]c[/center]"_qs, u"[align=center]c[/align]"_qs},
    {"typed list as a numbered one", Forum::MyBB, u"[list type=lower-alpha][*]a[/list]"_qs,
     u"[list=a][*]a[/list]"_qs},
    {"quote with an author", Forum::MyBB, u"[quote author=Alice]hi[/quote]"_qs,
     u"[quote=Alice]hi[/quote]"_qs},
    {"chooser size as a name", Forum::MyBB, u"[size=1]tiny[/size]"_qs,
     u"[size=x-small]tiny[/size]"_qs},
    {"stray close removed", Forum::MyBB, u"a[/b] b"_qs, u"a b"_qs},
    {"highlight as bold red", Forum::MyBB, u"[highlight]h[/highlight]"_qs,
     u"[b][color=#FF0000]h[/color][/b]"_qs},
    {"unclosed code closed at the end", Forum::MyBB, u"[code]x [b]"_qs, u"[code]x [b][/code]"_qs},
};

class AdaptTable : public testing::TestWithParam<AdaptCase>
{
};

TEST_P(AdaptTable, AdaptsAsTheForumNeeds)
{
    const AdaptCase &c = GetParam();
    const AdaptedPost adapted = adaptPost(dialect(c.forum), c.post);
    EXPECT_EQ(adapted.text, c.adapted);
    EXPECT_EQ(adapted.changes.empty(), c.post == c.adapted);
}

INSTANTIATE_TEST_SUITE_P(Forums, AdaptTable, testing::ValuesIn(kCases));

TEST(Adapt, ChangesNameTheirLine)
{
    const AdaptedPost adapted = adaptPost(dialect(Forum::PhpBB), u"one\ntwo [s]x[/s]\n"_qs);
    ASSERT_EQ(adapted.changes.size(), 1u);
    EXPECT_EQ(adapted.changes.front().line, 2);
    EXPECT_TRUE(adapted.changes.front().description.contains(u"phpBB 3.3"));
}

// ---- Random tag soup ----

const QString kNames =
    u"b|i|u|s|strike|sub|sup|tt|font|color|size|highlight|url|email|iurl|left|center|right|"
    u"justify|align|indent|spoiler|table|tr|td|th|quote|list|\\*|li|code|php|html|nobbc|"
    u"noparse|img|youtube|video|hr|pre|del"_qs;

// A writer's tag shown as text: "[b]", "[/quote]", "[size=5]" ...
const QRegularExpression &shownTag()
{
    static const QRegularExpression re(u"\\[/?(?:%1)(?:[= ][^\\]\\[\\n]*)?\\]"_qs.arg(kNames),
                                       QRegularExpression::CaseInsensitiveOption);
    return re;
}

QString soup(QRandomGenerator &random)
{
    static const QStringList pieces = {
        u"[size=0]"_qs,
        u"[size=5%]"_qs,
        u"[size=small]"_qs,
        u"[size=2em]"_qs,
        u"[size=+2]"_qs,
        u"[size=85]"_qs,
        u"[b]"_qs,
        u"[/b]"_qs,
        u"[i]"_qs,
        u"[/i]"_qs,
        u"[u]"_qs,
        u"[/u]"_qs,
        u"[s]"_qs,
        u"[/s]"_qs,
        u"[size=5]"_qs,
        u"[size=300]"_qs,
        u"[size=12pt]"_qs,
        u"[/size]"_qs,
        u"[color=red]"_qs,
        u"[color=#12]"_qs,
        u"[/color]"_qs,
        u"[font=Arial]"_qs,
        u"[/font]"_qs,
        u"[center]"_qs,
        u"[/center]"_qs,
        u"[align=right]"_qs,
        u"[/align]"_qs,
        u"[quote]"_qs,
        u"[quote=Alice]"_qs,
        u"[quote author=Bob]"_qs,
        u"[/quote]"_qs,
        u"[list]"_qs,
        u"[list=1]"_qs,
        u"[list type=circle]"_qs,
        u"[/list]"_qs,
        u"[*]"_qs,
        u"[/*]"_qs,
        u"[li]"_qs,
        u"[/li]"_qs,
        u"[url=example.com]"_qs,
        u"[/url]"_qs,
        u"[highlight]"_qs,
        u"[/highlight]"_qs,
        u"[indent]"_qs,
        u"[/indent]"_qs,
        u"[code]"_qs,
        u"[/code]"_qs,
        u"[sub]"_qs,
        u"[/sub]"_qs,
        u"[table]"_qs,
        u"[tr]"_qs,
        u"[td]"_qs,
        u"[/td]"_qs,
        u"[/tr]"_qs,
        u"[/table]"_qs,
        u"[hr]"_qs,
        u"[/hr]"_qs,
        u"[spoiler]"_qs,
        u"[/spoiler]"_qs,
        u"[php]"_qs,
        u"[/php]"_qs,
        u"[nobbc]"_qs,
        u"[/nobbc]"_qs,
        u"[url]example.com[/url]"_qs,
        u"[img]http://x.org/a.png[/img]"_qs,
        u"[email]a@b.org[/email]"_qs,
        u"[youtube]dQw4w9WgXcQ[/youtube]"_qs,
        u"[url]"_qs,
        u"[img]"_qs,
        u"\n"_qs,
        u"\n\n"_qs,
        u" "_qs,
        u"[x]"_qs,
        u"[b"_qs,
    };
    QString post;
    const int length = 5 + int(random.bounded(40));
    for (int k = 0; k < length; ++k) {
        if (random.bounded(3) == 0)
            post += u"w%1 "_qs.arg(random.bounded(1000));
        else
            post += pieces[qsizetype(random.bounded(quint32(pieces.size())))];
    }
    return post;
}

// The words outside tags, in order.
QStringList words(const QString &post)
{
    static const QRegularExpression word(u"w\\d+"_qs);
    QString text = post;
    text.replace(shownTag(), u" "_qs);
    QStringList out;
    for (auto it = word.globalMatch(text); it.hasNext();)
        out << it.next().captured();
    return out;
}

// The tags the forum's own parser leaves as text, outside code.
QStringList tagsShownAsText(Forum forum, const QString &post)
{
    const ParsedPost parsed = parseForumPost(dialect(forum), post);
    QStringList shown;
    for (const Event &ev : parsed.events) {
        if (ev.kind != Event::Text)
            continue;
        const QString text = parsed.source.mid(ev.begin, ev.end - ev.begin);
        for (auto it = shownTag().globalMatch(text); it.hasNext();)
            shown << it.next().captured();
    }
    return shown;
}

class AdaptEachForum : public testing::TestWithParam<Forum>
{
};

TEST_P(AdaptEachForum, NoTagShownAsTextNoWordLostAndAgainChangesNothing)
{
    const Forum forum = GetParam();
    QRandomGenerator random(2026 + quint32(forum));
    for (int n = 0; n < 400; ++n) {
        const QString post = soup(random);
        const AdaptedPost once = adaptPost(dialect(forum), post);
        SCOPED_TRACE(post.toStdString() + "\n=> " + once.text.toStdString());
        ASSERT_EQ(tagsShownAsText(forum, once.text), QStringList());
        ASSERT_EQ(words(once.text), words(post));
        const AdaptedPost twice = adaptPost(dialect(forum), once.text);
        ASSERT_EQ(twice.text, once.text);
        ASSERT_TRUE(twice.changes.empty()) << twice.changes.front().description.toStdString();
    }
}

// The forums' own sample posts, each rule of theirs once.
TEST_P(AdaptEachForum, EverySampleAdaptsToOneThatShowsNoTagAsText)
{
    const Forum forum = GetParam();
    const QStringList names = QDir(QStringLiteral(QUORVANE_DIALECTS_DIR))
                                  .entryList({QStringLiteral("*.bbcode")}, QDir::Files);
    ASSERT_GE(names.size(), 60);
    for (const QString &name : names) {
        QFile file(QStringLiteral(QUORVANE_DIALECTS_DIR "/") + name);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString post = QString::fromUtf8(file.readAll());
        const AdaptedPost once = adaptPost(dialect(forum), post);
        SCOPED_TRACE(name.toStdString() + "\n=> " + once.text.toStdString());
        EXPECT_EQ(tagsShownAsText(forum, once.text), QStringList());
        EXPECT_EQ(adaptPost(dialect(forum), once.text).text, once.text);
    }
}

INSTANTIATE_TEST_SUITE_P(Forums, AdaptEachForum,
                         testing::Values(Forum::PhpBB, Forum::Smf, Forum::MyBB),
                         [](const testing::TestParamInfo<Forum> &param) {
                             return forumKey(param.param).toStdString();
                         });

} // namespace
