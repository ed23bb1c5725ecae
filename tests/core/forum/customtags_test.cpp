#include "forum/bbcodeparser.h"
#include "forum/customtags.h"
#include "forum/forumpage.h"
#include "forum/forumwriter.h"
#include "markup/markupchecker.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <gumbo.h>

#include <functional>

using namespace quorvane;

namespace {

QString render(const ForumTagSet &set, const QString &post)
{
    return writeForumHtml(*set.dialect, parseForumPost(*set.dialect, post));
}

// ---- Definitions, their rendering and their values ----

struct Rendered
{
    Forum forum;
    const char *usage;
    const char *replacement;
    const char *post;
    const char *html; // the forum's HTML of the post
};

class CustomRendering : public testing::TestWithParam<Rendered>
{
};

TEST_P(CustomRendering, ShowsTheReplacementOrTheText)
{
    const Rendered &r = GetParam();
    const QString usage = QString::fromUtf8(r.usage);
    ASSERT_EQ(usageProblem(usage), QString());
    const auto set = makeForumTagSet(r.forum, {{usage, QString::fromUtf8(r.replacement)}});
    EXPECT_EQ(render(*set, QString::fromUtf8(r.post)), QString::fromUtf8(r.html));
}

// Each token once, with a value its rule takes and one it refuses (the tag
// then stays text, as on the board).
INSTANTIATE_TEST_SUITE_P(
    Tokens, CustomRendering,
    testing::Values(
        Rendered{Forum::PhpBB, "[spoiler={TEXT1}]{TEXT2}[/spoiler]",
                 "<details><summary>{TEXT1}</summary>{TEXT2}</details>",
                 "[spoiler=Ending]He [b]lives[/b][/spoiler]",
                 "<details><summary>Ending</summary>He <strong class=\"text-strong\">lives"
                 "</strong></details>"},
        Rendered{Forum::PhpBB, "[face={SIMPLETEXT}]{TEXT}[/face]",
                 "<span style=\"font-family: {SIMPLETEXT}\">{TEXT}</span>",
                 "[face=Arial, sans]a[/face][face=A;b]c[/face]",
                 "<span style=\"font-family: Arial, sans\">a</span>[face=A;b]c[/face]"},
        Rendered{Forum::Smf, "[name={INTTEXT}]{TEXT}[/name]", "<b title=\"{INTTEXT}\">{TEXT}</b>",
                 "[name=Zoë Ñ]x[/name][name=a:b]y[/name]",
                 "<b title=\"Zoë Ñ\">x</b>[name=a:b]y[/name]"},
        Rendered{Forum::PhpBB, "[go]{URL}[/go]", "<a href=\"{URL}\">go</a>",
                 "[go]https://example.org/a[/go] [go]javascript:alert(1)[/go]",
                 "<a href=\"https://example.org/a\">go</a> [go]javascript:alert(1)[/go]"},
        Rendered{Forum::PhpBB, "[local={LOCAL_URL}]{TEXT}[/local]",
                 "<a href=\"{LOCAL_URL}\">{TEXT}</a>",
                 "[local=viewtopic.php?t=3]t[/local][local=a:b]u[/local]",
                 "<a href=\"viewtopic.php?t=3\">t</a>[local=a:b]u[/local]"},
        Rendered{Forum::MyBB, "[mail={EMAIL}]{TEXT}[/mail]",
                 "<a href=\"mailto:{EMAIL}\">{TEXT}</a>",
                 "[mail=a@example.org]me[/mail] [mail=nobody]x[/mail]",
                 "<a href=\"mailto:a@example.org\">me</a> [mail=nobody]x[/mail]"},
        Rendered{Forum::PhpBB, "[box={NUMBER}]{TEXT}[/box]",
                 "<div style=\"width: {NUMBER}px\">{TEXT}</div>",
                 "[box=120]a[/box][box=12a]b[/box]",
                 "<div style=\"width: 120px\">a</div>[box=12a]b[/box]"},
        Rendered{Forum::PhpBB, "[hl={COLOR}]{TEXT}[/hl]",
                 "<span style=\"background-color: {COLOR}\">{TEXT}</span>",
                 "[hl=#ff0]a[/hl][hl=red;x]b[/hl]",
                 "<span style=\"background-color: #ff0\">a</span>[hl=red;x]b[/hl]"},
        Rendered{Forum::PhpBB, "[anchor]{IDENTIFIER}[/anchor]", "<a href=\"#{IDENTIFIER}\">#</a>",
                 "[anchor]part-2[/anchor][anchor]a b[/anchor]",
                 "<a href=\"#part-2\">#</a>[anchor]a b[/anchor]"},
        Rendered{Forum::PhpBB, "[dice]", "<b>6</b>", "[dice] [DICE]", "<b>6</b> <b>6</b>"}));

// ---- Hostile replacements: nothing in them ever runs or fetches ----

struct Hostile
{
    const char *usage;
    const char *replacement;
    const char *post;
};

class HostileReplacement : public testing::TestWithParam<Hostile>
{
};

// Every element and attribute of the page a browser would build.
void walk(const GumboNode *node, const std::function<void(const GumboElement &)> &visit)
{
    if (node->type != GUMBO_NODE_ELEMENT)
        return;
    visit(node->v.element);
    const GumboVector &children = node->v.element.children;
    for (unsigned i = 0; i < children.length; ++i)
        walk(static_cast<const GumboNode *>(children.data[i]), visit);
}

TEST_P(HostileReplacement, CannotRunOrFetch)
{
    const Hostile &h = GetParam();
    for (Forum forum : {Forum::PhpBB, Forum::Smf, Forum::MyBB}) {
        const auto set = makeForumTagSet(
            forum, {{QString::fromUtf8(h.usage), QString::fromUtf8(h.replacement)}});
        const QByteArray html = render(*set, QString::fromUtf8(h.post)).toUtf8();
        GumboOutput *out = gumbo_parse(html.constData());
        walk(out->root, [&](const GumboElement &e) {
            const QString tag = QString::fromUtf8(gumbo_normalized_tagname(e.tag));
            for (const char *bad : {"script", "style", "iframe", "object", "embed", "svg", "link",
                                    "meta", "base", "form"})
                EXPECT_NE(tag, QLatin1String(bad)) << html.constData();
            for (unsigned i = 0; i < e.attributes.length; ++i) {
                const auto *a = static_cast<const GumboAttribute *>(e.attributes.data[i]);
                const QString name = QString::fromUtf8(a->name).toLower();
                QString value = QString::fromUtf8(a->value).toLower().simplified();
                EXPECT_FALSE(name.startsWith(u"on")) << html.constData();
                EXPECT_FALSE(value.remove(u' ').contains(u"javascript:")) << html.constData();
                EXPECT_FALSE(value.contains(u"url(")) << html.constData();
                if (name == u"src") {
                    EXPECT_FALSE(value.contains(u"evil")) << html.constData();
                }
                EXPECT_NE(name, QLatin1String("srcset"));
                EXPECT_NE(name, QLatin1String("background"));
            }
        });
        gumbo_destroy_output(&kGumboDefaultOptions, out);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Replacements, HostileReplacement,
    testing::Values(
        Hostile{"[x]{TEXT}[/x]", "<script>alert(1)</script>{TEXT}", "[x]a[/x]"},
        Hostile{"[x]{TEXT}[/x]", "<SCRIPT SRC=//evil.example/a.js></SCRIPT>{TEXT}", "[x]a[/x]"},
        Hostile{"[x]{URL}[/x]", "<img src=\"{URL}\" onerror=\"alert(1)\">",
                "[x]http://example.org/a.png[/x]"},
        Hostile{"[x]{TEXT}[/x]", "<b ONMOUSEOVER=alert(1)>{TEXT}</b>", "[x]a[/x]"},
        Hostile{"[x]{TEXT}[/x]", "<a href=\"javascript:alert(1)\">{TEXT}</a>", "[x]a[/x]"},
        Hostile{"[x]{TEXT}[/x]", "<a href=\"java&#115;cript:alert(1)\">{TEXT}</a>", "[x]a[/x]"},
        Hostile{"[x]{TEXT}[/x]", "<a href=\" javascript:alert(1)\">{TEXT}</a>", "[x]a[/x]"},
        Hostile{"[x={TEXT1}]{TEXT2}[/x]", "<a href=\"{TEXT1}\">{TEXT2}</a>",
                "[x=javascript:alert(1)]a[/x]"},
        Hostile{"[x={EMAIL}]{TEXT}[/x]", "<a href=\"{EMAIL}\">{TEXT}</a>",
                "[x=javascript:alert(1)//@a.b]a[/x]"},
        Hostile{"[x]{TEXT}[/x]",
                "<span style=\"background:url(http://evil.example/t)\">{TEXT}</span>", "[x]a[/x]"},
        Hostile{"[x={TEXT1}]{TEXT2}[/x]", "<span style=\"color:{TEXT1}\">{TEXT2}</span>",
                "[x=red;background:url(//evil.example/t)]a[/x]"},
        Hostile{"[x]{TEXT}[/x]", "<img src=\"http://evil.example/t.png\">{TEXT}", "[x]a[/x]"},
        Hostile{"[x]{TEXT}[/x]", "<img src=//evil.example/t.png>{TEXT}", "[x]a[/x]"},
        Hostile{"[x]{TEXT}[/x]", "<iframe src=\"http://evil.example\"></iframe>{TEXT}", "[x]a[/x]"},
        Hostile{"[x]{TEXT}[/x]", "<svg onload=alert(1)><circle/></svg>{TEXT}", "[x]a[/x]"},
        Hostile{"[x]{TEXT}[/x]", "<style>*{background:url(//evil.example)}</style>{TEXT}",
                "[x]a[/x]"},
        Hostile{"[x]{TEXT}[/x]", "<link rel=stylesheet href=//evil.example/s.css>{TEXT}",
                "[x]a[/x]"},
        Hostile{"[x={TEXT1}]{TEXT2}[/x]", "<b title='{TEXT1}'>{TEXT2}</b>",
                "[x=' onmouseover='alert(1)]a[/x]"},
        Hostile{"[x={TEXT1}]{TEXT2}[/x]", "<b title={TEXT1}>{TEXT2}</b>",
                "[x=a onmouseover=alert(1)]a[/x]"},
        Hostile{"[x]{TEXT}[/x]", "<b <script>alert(1)</script>>{TEXT}</b>", "[x]a[/x]"},
        // The parsed contents inside an attribute: the forum's own quotes
        // around a link would end it.
        Hostile{"[x]{TEXT}[/x]", "<b title=\"{TEXT}\">{TEXT}</b>",
                "[x][url=http://a.example/ onmouseover=alert(1)]y[/url][/x]"},
        Hostile{"[x]{TEXT}[/x]", "<!--><script>alert(1)</script>-->{TEXT}", "[x]a[/x]"},
        Hostile{"[x]{TEXT}[/x]", "<meta http-equiv=refresh content=0;url=//evil.example>{TEXT}",
                "[x]a[/x]"},
        Hostile{"[x]{TEXT}[/x]", "<form action=//evil.example><input></form>{TEXT}", "[x]a[/x]"}));

// ---- The file: read, refused with its line, written back ----

struct Malformed
{
    const char *file;
    int line;
    const char *reason; // a part of it
};

class MalformedFile : public testing::TestWithParam<Malformed>
{
};

TEST_P(MalformedFile, IsRefusedWholeWithItsLine)
{
    const Malformed &m = GetParam();
    const CustomTagsRead read = readCustomTags(QByteArray(m.file));
    ASSERT_FALSE(read.ok());
    EXPECT_EQ(read.error->line, m.line);
    EXPECT_TRUE(read.error->reason.contains(QString::fromUtf8(m.reason)))
        << read.error->reason.toStdString();
    EXPECT_TRUE(read.tags.empty()); // never half-applied
}

INSTANTIATE_TEST_SUITE_P(
    Files, MalformedFile,
    testing::Values(
        Malformed{"[b2]{TEXT}[/b2]\n<b>{TEXT}</b>\n\nspoiler]{TEXT}\n<i>{TEXT}</i>\n", 4,
                  "starts with \"[\""},
        Malformed{"[x]{TEXT}[/x]\n", 2, "replacement line of the usage on line 1"},
        Malformed{"[x]{TEXT}[/x]\n\n<b>{TEXT}</b>\n", 2, "replacement line"},
        Malformed{"[x]{TEXT}[/x]\n<b>{TEXT}</b>\n[y]{TEXT}[/y]\n<i>{TEXT}</i>\n", 3,
                  "blank line must follow"},
        Malformed{"\n\n[x={FOO}]{TEXT}[/x]\n<b>{TEXT}</b>\n", 3, "{FOO} is not a token"},
        Malformed{"[x={TEXT}]{TEXT}[/x]\n<b>{TEXT}</b>\n", 1, "used twice"},
        Malformed{"[x]{URL}[/x]\n<a href=\"{URL2}\">x</a>\n", 2, "{URL2} is not in the usage"},
        Malformed{"[x]{TEXT}[/y]\n<b>{TEXT}</b>\n", 1, "[/x]"},
        Malformed{"[x={NUMBER}{NUMBER}]{TEXT}[/x]\n<b>{TEXT}</b>\n", 1, "character between"},
        Malformed{"[x]{TEXT}[/x]\r\n<b>{TEXT}</b>\r\n\r\n[\xc3\x28]\n<b>a</b>\n", 0, "UTF-8"}));

TEST(CustomTags, FileRoundTripsThroughATemporaryFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::vector<CustomTag> tags = {
        {QStringLiteral("[spoiler={TEXT1}]{TEXT2}[/spoiler]"),
         QStringLiteral("<details><summary>{TEXT1}</summary>{TEXT2}</details>")},
        {QStringLiteral("[größe={NUMBER}]{TEXT}[/größe]"), QStringLiteral("<b>{TEXT}</b>")},
        {QStringLiteral("[hr2]"), QStringLiteral("<hr class=\"zweite\">")},
        {QStringLiteral("[note title={SIMPLETEXT}]{TEXT}[/note]"),
         QStringLiteral("<div title=\"{SIMPLETEXT} — ü\">{TEXT}</div>")},
    };
    // A name that is not ASCII letters is refused; the rest go round.
    const std::vector<CustomTag> good = {tags[0], tags[2], tags[3]};
    const QString path = dir.filePath(QStringLiteral("board.txt"));
    QString error;
    ASSERT_TRUE(writeCustomTagsFile(path, good, &error)) << error.toStdString();
    const CustomTagsRead read = readCustomTagsFile(path);
    ASSERT_TRUE(read.ok()) << read.error->reason.toStdString();
    EXPECT_EQ(read.tags, good);
    EXPECT_FALSE(usageProblem(tags[1].usage).isEmpty());

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("[spoiler={TEXT1}]{TEXT2}[/spoiler]\n<details>"));
}

// ---- The set the program uses ----

TEST(CustomTags, InstalledSetRendersAndNamesStayText)
{
    auto set = makeForumTagSet(Forum::Smf,
                               {{QStringLiteral("[spoiler]{TEXT}[/spoiler]"),
                                 QStringLiteral("<div class=\"spoiler\">{TEXT}</div>")},
                                {QStringLiteral("[b]{TEXT}[/b]"), QStringLiteral("<i>{TEXT}</i>")}},
                               {QStringLiteral("ABBR")});
    installForumTagSet(set);
    EXPECT_EQ(renderForumHtml(Forum::Smf, QStringLiteral("[spoiler]x[/spoiler] [abbr]y[/abbr]")),
              QStringLiteral("<div class=\"spoiler\">x</div> [abbr]y[/abbr]"));
    // The forum's own [b] wins over a custom one of that name.
    EXPECT_EQ(renderForumHtml(Forum::Smf, QStringLiteral("[b]z[/b]")), QStringLiteral("<b>z</b>"));
    EXPECT_EQ(forumTagSet(Forum::Smf)->customNames,
              QStringList({QStringLiteral("spoiler"), QStringLiteral("b")}));
    EXPECT_NE(forumDialect(Forum::Smf)->tag(u"abbr"), nullptr);
    installForumTagSet(makeForumTagSet(Forum::Smf, {}));
    EXPECT_EQ(renderForumHtml(Forum::Smf, QStringLiteral("[spoiler]x[/spoiler]")),
              QStringLiteral("[spoiler]x[/spoiler]"));
}

TEST(CustomTags, OpenTagProblemNamesTheFailingToken)
{
    const auto set = makeForumTagSet(Forum::PhpBB, {{QStringLiteral("[box={NUMBER}]{TEXT}[/box]"),
                                                     QStringLiteral("<b>{TEXT}</b>")}});
    EXPECT_EQ(openTagProblem(*set->dialect, u"[box=12]"), QString());
    EXPECT_EQ(openTagProblem(*set->dialect, u"[box=1x]"),
              QStringLiteral("\"1x\" is not a {NUMBER} value"));
    EXPECT_EQ(openTagProblem(*set->dialect, u"[box]"),
              QStringLiteral("the tag is written [box={NUMBER}]{TEXT}[/box]"));
}

// ---- The checker knows them and checks their values ----

struct Checked
{
    const char *post;
    const char *problems; // one a line
};

class CustomChecking : public testing::TestWithParam<Checked>
{
};

TEST_P(CustomChecking, KnowsTheTagsAndChecksTheirValues)
{
    const auto set = makeForumTagSet(
        Forum::PhpBB,
        {{QStringLiteral("[spoiler={TEXT1}]{TEXT2}[/spoiler]"), QStringLiteral("<b>{TEXT2}</b>")},
         {QStringLiteral("[box={NUMBER}]{TEXT}[/box]"), QStringLiteral("<b>{TEXT}</b>")},
         {QStringLiteral("[dice]"), QStringLiteral("<b>6</b>")},
         {QStringLiteral("[go]{URL}[/go]"), QStringLiteral("<a href=\"{URL}\">go</a>")}},
        {QStringLiteral("ABBR")});
    KnownTags tags(set->plainNames);
    tags.addBoardTags(set->customNames, set->singleNames, set->dialect);
    QStringList found;
    for (const MarkupProblem &p : analyseMarkup(QString::fromUtf8(GetParam().post), tags).problems)
        found.append(p.message);
    EXPECT_EQ(found.join(u'\n'), QString::fromUtf8(GetParam().problems));
}

INSTANTIATE_TEST_SUITE_P(
    Posts, CustomChecking,
    testing::Values(Checked{"[spoiler=End]a[/spoiler] [box=12]b[/box]", ""},
                    Checked{"[box=1x]b[/box]", "[box=1x]: \"1x\" is not a {NUMBER} value"},
                    Checked{"[box]b[/box]", "[box]: the tag is written [box={NUMBER}]{TEXT}[/box]"},
                    Checked{"[dice] and [DICE]", ""}, Checked{"[abbr]x[/abbr]", ""},
                    Checked{"[go]https://example.org[/go] [go]javascript:alert(1)[/go]",
                            "[go]: \"javascript:alert(1)\" is not a {URL} value"},
                    Checked{"[nope]x[/nope]",
                            "[nope] is not a known tag\n[/nope] is not a known tag"}));

} // namespace
