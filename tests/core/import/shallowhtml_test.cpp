#include "import/htmlimport.h"
#include "import/shallowhtml.h"
#include "markupcheck.h"
#include "qstringprint.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace quorvane;

namespace {

QByteArray repeated(const char *piece, int times)
{
    return QByteArray(piece).repeated(times);
}

// Documents no deeper than the limit come back byte for byte: the implied
// end tags of sloppy HTML keep them shallow.
struct Shallow
{
    const char *name;
    QByteArray html;
};

class ShallowDocuments : public testing::TestWithParam<Shallow>
{
};

TEST_P(ShallowDocuments, ComeBackAsTheyWere)
{
    const QByteArray html = GetParam().html;
    EXPECT_EQ(shallowHtml(html), html);
}

INSTANTIATE_TEST_SUITE_P(
    Html, ShallowDocuments,
    testing::Values(
        Shallow{"paragraphs_never_closed", "<body>" + repeated("<p>text <b>bold</b>", 500)},
        Shallow{"items_never_closed", "<ul>" + repeated("<li>item <i>it</i>", 500) + "</ul>"},
        Shallow{"items_with_blocks", "<ul>" + repeated("<li><div>a</div><p>b", 500) + "</ul>"},
        Shallow{"definitions", "<dl>" + repeated("<dt>term<dd>meaning", 500) + "</dl>"},
        Shallow{"table_cells_never_closed",
                "<table>" + repeated("<tr><td>a<td>b<th>c", 500) + "</table>"},
        Shallow{"options", "<select>" + repeated("<option>a<option>b", 300)},
        Shallow{"headings", repeated("<h1>a<h2>b", 300)},
        Shallow{"void_elements", repeated("<br><img src=x><hr/><input><wbr>", 300)},
        Shallow{"raw_text_holds_tags", "<style>" + repeated("<div>", 300) + "</style><script>" +
                                           repeated("<div>", 300) + "</script><textarea>" +
                                           repeated("<b>", 300) + "</textarea>"},
        Shallow{"script_escapes",
                "<script><!--<script></script>" + repeated("<div>", 200) + "</script>--></script>"},
        Shallow{"comments_and_quoted_values",
                repeated("<!-- <div> --><a title='<div>' href=\"a>b\">x</a>", 300)},
        Shallow{"svg_self_closing", "<svg>" + repeated("<path d='M0 0'/>", 300) + "</svg>"},
        Shallow{"deep_as_allowed",
                repeated("<div>", 100) + "x" + repeated("</div>", 100) + repeated("<div>", 100)}),
    [](const auto &row) { return std::string(row.param.name); });

TEST(ShallowHtml, CorpusPagesComeBackAsTheyWere)
{
    const QDir corpus(QStringLiteral(QUORVANE_IMPORT_CORPUS_DIR));
    const QStringList pages = corpus.entryList({QStringLiteral("*.html")});
    ASSERT_FALSE(pages.isEmpty());
    for (const QString &page : pages) {
        QFile file(corpus.filePath(page));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray html = file.readAll();
        EXPECT_EQ(shallowHtml(html), html) << page.toStdString();
    }
}

// Deeper structure loses its tags past the limit, with their end tags.
TEST(ShallowHtml, LeavesOutTagsPastTheLimit)
{
    const QByteArray deep = repeated("<div>", 150) + "x" + repeated("</div>", 150) + "after";
    EXPECT_EQ(shallowHtml(deep), repeated("<div>", 100) + "x" + repeated("</div>", 100) + "after");
}

// Markup that nests deeper than it looks, as the parser builds it: past the
// limit the tag named is left out.
struct Nesting
{
    const char *name;
    QByteArray html;
    const char *tag;
};

class DeeperThanItLooks : public testing::TestWithParam<Nesting>
{
};

TEST_P(DeeperThanItLooks, IsCutAtTheLimit)
{
    const Nesting &n = GetParam();
    EXPECT_EQ(shallowHtml(n.html).count(n.tag), kHtmlMaxDepth / 2);
}

INSTANTIATE_TEST_SUITE_P(
    Html, DeeperThanItLooks,
    testing::Values(
        // A section stops an item from closing the one before.
        Nesting{"items_around_sections", repeated("<li><section>", 200), "<li>"},
        // An optgroup closes another only inside a select, which the parser
        // may already have closed (a select in a select does).
        Nesting{"optgroups", repeated("<optgroup><i>", 200), "<optgroup>"},
        // Inside a select the parser ignores other end tags ...
        Nesting{"end_tags_in_a_select",
                repeated("<div><b>", 30) + "<select>" + repeated("</b></div>", 30) + "</select>" +
                    repeated("<div><b>", 30),
                "<div>"},
        // ... and raw-text elements.
        Nesting{"plaintext_in_a_select", "<select><plaintext></select>" + repeated("<b><u>", 200),
                "<b>"},
        // Cells outside a table are ignored, so they close nothing.
        Nesting{"cells_outside_tables", repeated("<td><div>", 200), "<div>"}),
    [](const auto &row) { return std::string(row.param.name); });

TEST(ShallowHtml, KeepsAtMost64AttributesOfATag)
{
    QByteArray tag = "<p";
    for (int i = 0; i < 1000; ++i)
        tag += " a" + QByteArray::number(i) + "='>'";
    const QByteArray out = shallowHtml(tag + ">text</p>");
    EXPECT_EQ(out.count("='>'"), 64);
    EXPECT_TRUE(out.endsWith("a63='>' >text</p>"));
}

// A browser copies formatting left open into every later block; past a few,
// they are closed where the block closes.
TEST(ShallowHtml, ClosesFormattingLeftOpenAcrossManyBlocks)
{
    QByteArray html;
    for (int i = 0; i < 100; ++i)
        html += "<p><b id=" + QByteArray::number(i) + ">x</p>";
    const QByteArray out = shallowHtml(html);
    // Every eighth block closes the eight left open so far.
    EXPECT_EQ(out.count(repeated("</b>", 8) + "</p>"), 100 / 8);
    EXPECT_EQ(out.count("</b>"), 100 / 8 * 8);
}

// 100,000 levels: imported without a stack overflow, the structure flattened.
struct Deep
{
    const char *name;
    QByteArray html;
    QString text;    // the post holds it
    const char *tag; // and at most about the limit of this tag
};

class DeepDocuments : public testing::TestWithParam<Deep>
{
};

TEST_P(DeepDocuments, ImportFlattened)
{
    const Deep &d = GetParam();
    const QString post = htmlToBBCode(QString::fromUtf8(d.html));
    EXPECT_TRUE(post.contains(d.text)) << post.left(200).toStdString();
    EXPECT_LE(post.count(QLatin1String(d.tag)), kHtmlMaxDepth);
    EXPECT_EQ(nestingFault(post), QString());
}

INSTANTIATE_TEST_SUITE_P(
    Html, DeepDocuments,
    testing::Values(
        Deep{"divs", repeated("<div>", 100000) + "deep" + repeated("</div>", 100000), "deep",
             "deep"},
        Deep{"bold_italic", repeated("<b><i>", 100000) + "deep" + repeated("</i></b>", 100000),
             "[B][I]deep[/I][/B]", "[B]"},
        Deep{"lists", repeated("<ul><li>", 100000) + "deep", "deep", "[LIST]"},
        Deep{"quotes", repeated("<blockquote>", 100000) + "deep", "deep", "[QUOTE]"},
        Deep{"tables", repeated("<table><tr><td>", 100000) + "deep", "deep", "deep"},
        Deep{"svg", "<svg>" + repeated("<g>", 100000) + "</svg><p>after", "after", "after"}),
    [](const auto &row) { return std::string(row.param.name); });

} // namespace
