#include "import/htmlimport.h"
#include "markupcheck.h"
#include "qstringprint.h"

#include <gtest/gtest.h>

using namespace quorvane;

namespace {

struct Case
{
    const char *name;
    const char *html;
    const char *bbcode; // with \n for CR LF
    bool keep = false;  // keep colours and sizes
};

QString crlf(const char *text)
{
    return QString::fromUtf8(text).replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
}

class HtmlRules : public testing::TestWithParam<Case>
{
};

TEST_P(HtmlRules, GiveTheirBBCode)
{
    const Case &c = GetParam();
    ImportOptions options;
    options.keepColoursAndSizes = c.keep;
    const QString post = htmlToBBCode(QString::fromUtf8(c.html), options);
    EXPECT_EQ(post, crlf(c.bbcode));
    EXPECT_EQ(nestingFault(post), QString());
}

const Case kCases[] = {
    // What is kept, written as the toolbar writes it.
    {"weights",
     "<b>b</b> <strong>s</strong> <span style='font-weight:600'>6</span> "
     "<span style=\"font-weight: 500\">5</span> <b style='font-weight:normal'>n</b>",
     "[B]b s 6[/B] 5 n"},
    {"styles",
     "<i>i</i> <em>e</em> <u>u</u> <s>s</s> <del>d</del> "
     "<span style='text-decoration:line-through'>t</span> "
     "<span style='font-style:italic;text-decoration:underline'>both</span>",
     "[I]i e[/I] [U]u[/U] [S]s d t[/S] [I][U]both[/U][/I]"},
    {"nesting", "<i>a<b>b</b>c</i>", "[I]a[B]b[/B]c[/I]"},
    {"misnested", "<b>a<i>b</b>c</i>", "[B]a[I]b[/I][/B][I]c[/I]"},
    {"unclosed", "<p><b>bold <i>both</p><p>next", "[B]bold [I]both[/I][/B]\n\n[B][I]next[/I][/B]"},
    {"links",
     "<a href='https://a.example/'>https://a.example/</a> <a href='http://b.example/x?y=1&amp;z=2'>"
     "text <b>bold</b></a> <a href='mailto:me@example.org'>me@example.org</a> "
     "<a href='mailto:mods@example.org?subject=Hi'>write</a>",
     "[URL]https://a.example/[/URL] [URL=http://b.example/x?y=1&z=2]text [B]bold[/B][/URL] "
     "[EMAIL]me@example.org[/EMAIL] [EMAIL=mods@example.org]write[/EMAIL]"},
    {"links that lead nowhere",
     "<a href='/local'>a</a> <a href='#top'>b</a> "
     "<a href='javascript:x()'>c</a> <a name='x'>d</a>",
     "a b c d"},
    {"bracket in address", "<a href='https://e.example/[1]'>x</a>",
     "[URL=https://e.example/%5B1%5D]x[/URL]"},
    {"images",
     "a<img src='https://e.example/p.png' alt='p'>b<img src='data:image/png;base64,AAAA'>"
     "c<img src='file.png'>d",
     "a[IMG]https://e.example/p.png[/IMG]bcd"},
    {"headings", "<h1>Title</h1><p>text</p><h3><i>Sub</i></h3>",
     "[B]Title[/B]\n\ntext\n\n[B][I]Sub[/I][/B]"},
    {"lists", "<ul><li>a</li><li><p>b</p><p>b2</p><ol><li>c</li></ol></li><li>d<br>e</li></ul>",
     "[LIST]\n[*]a\n[*]b\nb2\n[LIST=1]\n[*]c\n[/LIST]\n[*]d\ne\n[/LIST]"},
    {"list between paragraphs", "<p>before</p><ol><li>one</li></ol><p>after</p>",
     "before\n\n[LIST=1]\n[*]one\n[/LIST]\n\nafter"},
    {"quote", "<p>x</p><blockquote><p>q1</p><p>q2</p></blockquote>y",
     "x\n\n[QUOTE]q1\n\nq2[/QUOTE]\n\ny"},
    // Word's lists end inside the quote or list that holds them.
    {"word_list_in_a_quote", "<blockquote><p class=MsoListParagraph>1. one</blockquote>z",
     "[QUOTE][LIST=1]\n[*]one\n[/LIST][/QUOTE]\n\nz"},
    {"word_list_in_a_list", "<ul><li><p class=MsoListParagraph>a) one</ul>z",
     "[LIST]\n[*][LIST=1]\n[*]one\n[/LIST]\n[/LIST]\n\nz"},
    {"preformatted", "<pre>\nint  a;\n  [B]b[/B]\n</pre><p>after</p><pre>second</pre>",
     "[CODE]int  a;\n  [B]b[/B][/CODE]\n\nafter\n\n[CODE]second[/CODE]"},
    {"code spans", "use <code>[QUOTE]</code> or <code>printf</code>",
     "use [CODE][QUOTE][/CODE] or printf"},
    {"table",
     "<table><tr><th>Name</th><th>Posts</th></tr><tr><td><p>al</p><p>ice</p></td><td></td>"
     "<td><b>3</b></td></tr></table>after",
     "Name\tPosts\nal ice\t\t[B]3[/B]\n\nafter"},
    {"paragraphs and breaks", "<p>a</p><p></p><p>&nbsp;</p><p>b<br>c<br><br>d</p><div>e</div>f",
     "a\n\nb\nc\n\nd\n\ne\nf"},
    {"spaces", "<p>  a \n\t b&nbsp;&nbsp;&nbsp;c &nbsp;d&nbsp;</p>", "a b   c  d"},
    {"entities", "&lt;b&gt; &amp; &eacute;&#x263A;&#8364;&nosuch; &amp", "<b> & é☺€&nosuch; &"},
    // What is dropped.
    {"noise",
     "<html><head><title>T</title><style>p{color:red}</style><script>var x;</script></head>"
     "<body style='color:#333'><p class=x style='font-family:Arial;font-size:20pt;color:red'>"
     "<font face='Arial' size=5 color=red>text</font></p><!-- c --><![if !supportLists]>"
     "<span style='display:none'>hidden</span><![endif]></body></html>",
     "text"},
    // Only the part the user copied.
    {"fragment",
     "<html><body><p>before</p><b><!--StartFragment-->in <i>it</i>"
     "<!--EndFragment--></b><p>after</p></body></html>",
     "[B]in [I]it[/I][/B]"},
    {"windows clipboard header",
     "Version:0.9\r\nStartHTML:0000000105\r\n<html><body><!--StartFragment-->x<!--EndFragment-->",
     "x"},
    // Colours and sizes, when asked for.
    {"colours and sizes",
     "<body style='color:#222;font-size:12pt'><p>a <span style='color:#e00000'>red "
     "<span style='color:rgb(255,0,0)'>still</span> <font color=navy>navy</font></span> "
     "<span style='font-size:18pt'>big</span> <font size=1>small</font> "
     "<a href='https://e.example/' style='color:#0563C1'>link</a> "
     "<span style='color:black'>plain</span></p></body>",
     "a [Color=Red]red still[/Color] [Color=Navy]navy[/Color] [Size=5]big[/Size] "
     "[Size=1]small[/Size] [URL=https://e.example/]link[/URL] plain",
     true},
    {"colours dropped by default", "<span style='color:red;font-size:30px'>x</span>", "x"},
};

INSTANTIATE_TEST_SUITE_P(Import, HtmlRules, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case> &row) {
                             std::string name;
                             for (const char *c = row.param.name; *c; ++c)
                                 name += std::isalnum(uchar(*c)) ? *c : '_';
                             return name;
                         });

// Hostile input still gives closed tags, in order, and in bounded time.
TEST(HtmlImport, DamagedMarkupGivesClosedTags)
{
    const QString deep =
        QStringLiteral("<div><b><i><blockquote><ul><li>").repeated(500) + QStringLiteral("text");
    const QString inputs[] = {
        deep,
        QStringLiteral("<b><i><u><s><a href='http://x/'>").repeated(500) + QStringLiteral("y"),
        QStringLiteral("<table><tr><td><ul><li><pre>a</td><blockquote>b</table>c</pre>"),
        QStringLiteral("<p class=MsoListParagraph style='mso-list:l0 level9 lfo1'>x</p><table>"
                       "<tr><td><p class=MsoListParagraph style='mso-list:l0 level1'>y</td></tr>"),
        QString::fromLatin1("\x01<\x02\xff</b></i></ul>]]><![CDATA[z<p"),
    };
    for (const QString &input : inputs) {
        EXPECT_EQ(nestingFault(htmlToBBCode(input)), QString()) << input.left(80).toStdString();
    }
}

TEST(HtmlImport, DropsControlCharacters)
{
    EXPECT_EQ(htmlToBBCode(QStringLiteral("a\0b\u0001c<b>\0</b>")), QStringLiteral("abc"));
}

TEST(HtmlImport, DecodesAsTheFileSays)
{
    EXPECT_EQ(decodeHtml("<meta charset=\"windows-1252\">\x80"),
              QStringLiteral("<meta charset=\"windows-1252\">€"));
    EXPECT_EQ(decodeHtml("\xEF\xBB\xBF\xC3\xA9"), QStringLiteral("é"));
    EXPECT_EQ(decodeHtml("caf\xE9"), QStringLiteral("café"));
    EXPECT_EQ(decodeHtml(QByteArray("\xFF\xFEh\0i\0", 6)), QStringLiteral("hi"));
}

} // namespace
