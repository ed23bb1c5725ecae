#include "forum/forumpage.h"
#include "readerview.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <ostream>
#include <random>

using namespace quorvane;
using quorvane::test::readerView;

namespace {

QString readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("(cannot read %1)").arg(path);
    return QString::fromUtf8(f.readAll());
}

// ---- The sixty samples, each as the three forums render it ----

struct Sample
{
    QString name;
    Forum forum;
};

void PrintTo(const Sample &s, std::ostream *os)
{
    *os << s.name.toStdString() << " on " << forumKey(s.forum).toStdString();
}

std::vector<Sample> samples()
{
    std::vector<Sample> out;
    const QStringList posts = QDir(QStringLiteral(QUORVANE_DIALECTS_DIR))
                                  .entryList({QStringLiteral("*.bbcode")}, QDir::Files, QDir::Name);
    for (const QString &post : posts) {
        for (Forum forum : {Forum::PhpBB, Forum::Smf, Forum::MyBB})
            out.push_back({post.chopped(7), forum});
    }
    return out;
}

class Samples : public testing::TestWithParam<Sample>
{
};

TEST_P(Samples, ReadAsTheForumShowsThem)
{
    const Sample &s = GetParam();
    const QString base = QStringLiteral(QUORVANE_DIALECTS_DIR "/") + s.name;
    const QString post = readFile(base + QStringLiteral(".bbcode"));
    const QString forumHtml = readFile(base + u'.' + forumKey(s.forum) + QStringLiteral(".html"));
    const QString seen = readerView(forumHtml);
    // The comparison reads the forum's own HTML as the stored reading does.
    EXPECT_EQ(seen, readFile(base + u'.' + forumKey(s.forum) + QStringLiteral(".norm")));
    EXPECT_EQ(readerView(renderForumHtml(s.forum, post)), seen);
}

INSTANTIATE_TEST_SUITE_P(Dialects, Samples, testing::ValuesIn(samples()),
                         [](const testing::TestParamInfo<Sample> &p) {
                             QString name = p.param.name + u'_' + forumKey(p.param.forum);
                             name.replace(u'-', u'_');
                             return name.toStdString();
                         });

// ---- Each forum's rules, each once: the post and HTML that shows the same ----

struct Rule
{
    const char *name;
    Forum forum;
    const char *post;
    const char *seen; // HTML a reader sees the same in
};

void PrintTo(const Rule &r, std::ostream *os)
{
    *os << r.name;
}

const Rule kRules[] = {
    // phpBB 3.3
    {"phpbb_closes_unclosed_tags", Forum::PhpBB, "[b]bold", "<b>bold</b>"},
    {"phpbb_reopens_crossed_tags", Forum::PhpBB, "[b]a[i]b[/b]c[/i]", "<b>a<i>b</i></b><i>c</i>"},
    {"phpbb_stray_close_is_text", Forum::PhpBB, "a[/b]", "a[/b]"},
    {"phpbb_size_is_percent", Forum::PhpBB, "[size=5]x[/size]",
     "<span style='font-size:5%'>x</span>"},
    {"phpbb_refuses_size_over_200", Forum::PhpBB, "[size=201]x[/size]", "[size=201]x[/size]"},
    {"phpbb_keeps_schemeless_link_relative", Forum::PhpBB, "[url=example.com]x[/url]",
     "<a href='example.com'>x</a>"},
    {"phpbb_refuses_javascript_link", Forum::PhpBB, "[url=javascript:x()]y[/url]",
     "[url=javascript:x()]y[/url]"},
    {"phpbb_links_bare_www", Forum::PhpBB, "go www.a.org now",
     "go <a href='http://www.a.org'>www.a.org</a> now"},
    {"phpbb_links_bare_email", Forum::PhpBB, "to a@b.org",
     "to <a href='mailto:a@b.org'>a@b.org</a>"},
    {"phpbb_quote_heading", Forum::PhpBB, "[quote=Ann]x[/quote]",
     "<blockquote><cite>Ann wrote:</cite>x</blockquote>"},
    {"phpbb_removes_quotes_deeper_than_3", Forum::PhpBB,
     "[quote]1[quote]2[quote]3[quote]4[/quote][/quote][/quote][/quote]",
     "<blockquote>1<blockquote>2<blockquote>3</blockquote></blockquote></blockquote>"},
    {"phpbb_quote_takes_named_author", Forum::PhpBB, "[quote author=Bo time=1]x[/quote]",
     "<blockquote><cite>Bo wrote:</cite>x</blockquote>"},
    {"phpbb_swallows_break_after_block", Forum::PhpBB, "[quote]x[/quote]\ny",
     "<blockquote>x</blockquote>y"},
    {"phpbb_list_type_letters", Forum::PhpBB, "[list=a][*]x[/list]",
     "<ol style='list-style-type:lower-alpha'><li>x</li></ol>"},
    {"phpbb_item_close", Forum::PhpBB, "[list][*]x[/*][/list]", "<ul><li>x</li></ul>"},
    {"phpbb_img_value_is_address", Forum::PhpBB, "[img=a.png]b[/img]", "<img src='a.png'>"},
    {"phpbb_trims_post", Forum::PhpBB, "\n\n x \n", "x"},
    {"phpbb_emoji_picture", Forum::PhpBB, "\U0001F600",
     "<img class='smilies' "
     "src='//cdn.jsdelivr.net/gh/twitter/twemoji@latest/assets/svg/1f600.svg'>"},
    {"phpbb_smiley", Forum::PhpBB, "a :)", "a <img class='smilies' src='icon_e_smile.gif'>"},
    {"phpbb_has_no_strike", Forum::PhpBB, "[s]x[/s]", "[s]x[/s]"},
    {"phpbb_shortens_long_address_text", Forum::PhpBB,
     "https://example.com/aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa/end.html",
     "<a href='https://example.com/aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa/"
     "end.html'>https://example.com/aaaaaaaaaaaaaaaaaaa ... a/end.html</a>"},
    {"phpbb_list_text_before_first_item_is_an_item", Forum::PhpBB, "[list]x[*]y[/list]",
     "<ul><li>x</li><li>y</li></ul>"},
    {"phpbb_list_takes_any_plain_type", Forum::PhpBB, "[list=square][*]x[/list]",
     "<ul style='list-style-type:square'><li>x</li></ul>"},
    // SMF 2.1
    {"smf_closes_crossed_tags_early", Forum::Smf, "[b]a[i]b[/b]c[/i]", "<b>a<i>b</i></b>c[/i]"},
    {"smf_closes_unclosed_tags", Forum::Smf, "[i]x", "<i>x</i>"},
    {"smf_size_scale", Forum::Smf, "[size=5]x[/size]", "<span style='font-size:2em'>x</span>"},
    {"smf_size_with_unit", Forum::Smf, "[size=14px]x[/size]",
     "<span style='font-size:14px'>x</span>"},
    {"smf_refuses_size_8", Forum::Smf, "[size=8]x[/size]", "[size=8]x[/size]"},
    {"smf_prefixes_schemeless_link", Forum::Smf, "[url=a.org]x[/url]",
     "<a href='http://a.org'>x</a>"},
    {"smf_disarms_javascript_link", Forum::Smf, "[url=javascript:x()]y[/url]",
     "<a href='about:invalid'>y</a>"},
    {"smf_links_bare_www_without_scheme", Forum::Smf, "www.a.org",
     "<a href='//www.a.org'>www.a.org</a>"},
    {"smf_removes_empty_tags", Forum::Smf, "[i] [/i]x", "x"},
    {"smf_list_number_is_text", Forum::Smf, "[list=1][*]x[/list]",
     "<ul></ul>[list=1]<ul><li>x</li></ul>"},
    // Each [*] item says "disc" itself, whatever type the list names.
    {"smf_item_marker_is_disc", Forum::Smf, "[list type=square][*]x[/list]", "<ul><li>x</li></ul>"},
    {"smf_item_close_is_text", Forum::Smf, "[list][*]x[/*][/list]", "<ul><li>x[/*]</li></ul>"},
    {"smf_quote_heading", Forum::Smf, "[quote=Ann]x[/quote]",
     "<blockquote><cite>Quote from: Ann</cite>x</blockquote>"},
    {"smf_quote_link_and_date", Forum::Smf, "[quote author=Ann link=msg=5 date=0]x[/quote]",
     "<blockquote><cite><a href='https://forum.example/index.php?msg=5'>Quote from: Ann on "
     "January 1, 1970, 12:00:00 AM</a></cite>x</blockquote>"},
    {"smf_keeps_runs_of_spaces", Forum::Smf, "a   b", "a&nbsp;&nbsp;&nbsp;b"},
    {"smf_colours_php", Forum::Smf, "[php]$a[/php]", "<span style='color:#0000bb'>$a</span>"},
    {"smf_nobbc", Forum::Smf, "[nobbc][b]x[/b][/nobbc]", "[b]x[/b]"},
    {"smf_table", Forum::Smf, "[table][tr][td]a[/td][/tr][/table]",
     "<table><tr><td>a</td></tr></table>"},
    {"smf_code_language", Forum::Smf, "[code=c]x[/code]", "Code (c)<pre>x</pre>"},
    {"smf_block_ends_bold", Forum::Smf, "[b]a[quote]q[/quote]b[/b]",
     "<b>a</b><blockquote><cite>Quote</cite>q</blockquote>b[/b]"},
    {"smf_swallows_one_break_after_block", Forum::Smf, "[center]x[/center]\n\ny",
     "<div align=center>x</div><br>y"},
    {"smf_list_holds_only_items", Forum::Smf, "[list][b]x[/b][*]y[/list]",
     "<ul></ul>[b]x[/b]<ul><li>y</li></ul>"},
    // MyBB 1.8
    {"mybb_leaves_unclosed_tags_as_text", Forum::MyBB, "[b]x", "[b]x"},
    {"mybb_pairs_first_open_with_first_close", Forum::MyBB, "[b]a[b]b[/b]c[/b]",
     "<b>a[b]b</b>c[/b]"},
    {"mybb_crossed_tags_as_the_browser_nests_them", Forum::MyBB, "[b]a[i]b[/b]c[/i]",
     "<b>a<i>b</i>c</b>"},
    {"mybb_size_in_points_at_most_50", Forum::MyBB, "[size=90]x[/size]",
     "<span style='font-size:50pt'>x</span>"},
    {"mybb_size_name", Forum::MyBB, "[size=small]x[/size]",
     "<span style='font-size:small'>x</span>"},
    {"mybb_refuses_schemeless_picture", Forum::MyBB, "[img]a.png[/img]", "[img]a.png[/img]"},
    {"mybb_picture_size", Forum::MyBB, "[img=1x2]http://a/b.png[/img]",
     "<img src='http://a/b.png' width='1' height='2'>"},
    {"mybb_quote_heading_with_date", Forum::MyBB, "[quote=\"Ann\" dateline=\"0\"]x[/quote]",
     "<blockquote><cite> (01-01-1970, 12:00 AM)Ann Wrote:</cite>x</blockquote>"},
    {"mybb_does_not_link_bare_email", Forum::MyBB, "a@b.org", "a@b.org"},
    {"mybb_keeps_numeric_references", Forum::MyBB, "&#66;", "B"},
    {"mybb_numbered_list_on_a_line_of_its_own", Forum::MyBB, "[list=1][*]x[/list]",
     "<br><ol><li>x</li></ol>"},
    {"mybb_drops_break_after_block", Forum::MyBB, "a[hr]\nb", "a<hr>b"},
    {"mybb_shortens_long_address_text", Forum::MyBB,
     "[url]https://example.com/aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa/end.html[/url]",
     "<a href='https://example.com/aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa/end.html'>"
     "https://example.com/aaaaaaaaaaaaaaaaaaaa...a/end.html</a>"},
    {"mybb_links_bare_address_after_blank_or_tag_only", Forum::MyBB,
     "a,http://b.org [b]http://c.org.[/b]",
     "a,http://b.org <b><a href='http://c.org'>http://c.org</a>.</b>"},
    {"mybb_align", Forum::MyBB, "[align=right]x[/align]", "<div align=right>x</div>"},
    {"mybb_video", Forum::MyBB, "[video=youtube]https://youtu.be/abcdefghijk[/video]",
     "<iframe src='//www.youtube-nocookie.com/embed/abcdefghijk'></iframe>"},
};

class Rules : public testing::TestWithParam<Rule>
{
};

TEST_P(Rules, ShowWhatTheForumShows)
{
    const Rule &r = GetParam();
    EXPECT_EQ(readerView(renderForumHtml(r.forum, QString::fromUtf8(r.post))),
              readerView(QString::fromUtf8(r.seen)));
}

INSTANTIATE_TEST_SUITE_P(Forums, Rules, testing::ValuesIn(kRules),
                         [](const testing::TestParamInfo<Rule> &p) {
                             return std::string(p.param.name);
                         });

// ---- Any post: tags opened, crossed and left open at random ----

TEST(AnyPost, KeepsEveryWordOnEveryForum)
{
    static const char *const pieces[] = {
        "[b]",      "[/b]",        "[i]",          "[/i]",     "[u]",     "[/u]",     "[s]",
        "[/s]",     "[color=red]", "[/color]",     "[size=3]", "[/size]", "[font=x]", "[/font]",
        "[list]",   "[list=1]",    "[/list]",      "[*]",      "[/*]",    "[code]",   "[/code]",
        "[center]", "[/center]",   "[align=left]", "[/align]", "[table]", "[tr]",     "[td]",
        "[/td]",    "[/tr]",       "[/table]",     "[hr]",     "[nobbc]", "[/nobbc]", "\n",
        " ",        ":)",          "www.a.org ",   "[",        "]",       "&",        "<"};
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        QString post;
        QStringList words;
        for (int k = 0; k < 30; ++k) {
            if (random() % 3 == 0) {
                words << QStringLiteral("w%1x").arg(k);
                post += u' ' + words.back() + u' ';
            } else {
                post += QString::fromLatin1(pieces[random() % std::size(pieces)]);
            }
        }
        for (Forum forum : {Forum::PhpBB, Forum::Smf, Forum::MyBB}) {
            const QString html = renderForumHtml(forum, post);
            for (const QString &word : words)
                ASSERT_TRUE(html.contains(word))
                    << forumKey(forum).toStdString() << ": " << post.toStdString();
        }
    }
}

// ---- The page ----

TEST(ForumPage, ShowsTheProgramsOwnSmileyUnderTheForumsCode)
{
    QTemporaryDir dir;
    const QString page = forumPageHtml(Forum::Smf, u"Hi :) [quote=Ann]x[/quote]", dir.path());
    EXPECT_TRUE(page.contains(QStringLiteral("<style>")));
    EXPECT_TRUE(page.contains(QStringLiteral("Quote from: Ann")));
    EXPECT_TRUE(page.contains(QUrl::fromLocalFile(dir.path() + QStringLiteral("/Smilies/Smile.gif"))
                                  .toString(QUrl::FullyEncoded)));
    EXPECT_FALSE(page.contains(QStringLiteral("forum.example/Smileys")));
}

TEST(ForumPage, GenericIsThePreviewPage)
{
    const QString page = forumPageHtml(Forum::Generic, u"[b]x[/b]", QStringLiteral("/data"));
    EXPECT_TRUE(page.contains(QStringLiteral("<b>x</b>"), Qt::CaseInsensitive));
}

} // namespace
