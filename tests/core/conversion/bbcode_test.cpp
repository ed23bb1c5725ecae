#include "conversion/bbcode.h"
#include "printing.h"

#include <gtest/gtest.h>

using namespace quorvane;

namespace {

const QString kDir = QStringLiteral("/opt/Composer");

QString img(const QString &dir, const QString &file)
{
    return QStringLiteral("<img src=\"") + dir + QStringLiteral("/Smilies/") + file +
           QStringLiteral("\">");
}

QString img(const QString &file)
{
    return img(kDir, file);
}

struct Row
{
    QString document;
    QString expected; // the page text without the title that ends it
    QString dataDir = kDir;
};

// Both the literal passes and the one-pass conversion must give `expected`.
void expectRows(const std::vector<Row> &rows)
{
    const BlockHeaders headers = BlockHeaders::standard();
    for (const Row &row : rows) {
        SCOPED_TRACE(row.document.toStdString());
        const QString page = row.expected + previewPageTitle.toString();
        EXPECT_EQ(convertBBCodeReference(row.document, row.dataDir, headers), page);
        EXPECT_EQ(convertBBCode(row.document, row.dataDir, headers), page);
    }
}

} // namespace

TEST(BlockHeaders, StandardHeadersAreLabelFrameAndEmptyLine)
{
    const BlockHeaders h = BlockHeaders::standard();
    EXPECT_EQ(h.quote.size(), 182);
    EXPECT_EQ(h.code.size(), 181);
    EXPECT_EQ(h.html.size(), 181);
    EXPECT_EQ(h.php.size(), 180);
    const QString frame = QStringLiteral(
        "<div style=\"border-style: solid; border-width: 1px; padding-left: 4px; padding-right: "
        "4px; padding-top: 1px; padding-bottom: 1px\">\r\n&nbsp;\r\n");
    EXPECT_EQ(h.quote, "<font size=\"1\" face=\"Tahoma\">Quote:</font>" + frame);
    EXPECT_EQ(h.code, "<font face=\"Tahoma\" size=\"1\">Code:</font>" + frame);
    EXPECT_EQ(h.html, "<font face=\"Tahoma\" size=\"1\">HTML:</font>" + frame);
    EXPECT_EQ(h.php, "<font face=\"Tahoma\" size=\"1\">PHP:</font>" + frame);
}

TEST(BBCodeSubstitutions, EightyEightAsciiEntriesTwoOfThemExact)
{
    const SubstitutionList list = bbcodeSubstitutions(kDir, BlockHeaders::standard());
    ASSERT_EQ(list.size(), 88);
    QStringList exact;
    for (const SubstitutionEntry &e : list) {
        for (QChar c : e.find)
            EXPECT_LT(c.unicode(), 128) << e.find.toStdString();
        if (e.mode == MatchMode::Exact)
            exact << e.find;
    }
    EXPECT_EQ(exact, QStringList({"\r\n", "[/Font]"}));
    EXPECT_EQ(list.front().find, "\r\n");
    EXPECT_EQ(list.back().find, "]");
}

TEST(ConvertBBCode, DocumentedCases)
{
    const QString quote = BlockHeaders::standard().quote;
    expectRows({
        {"", ""},
        {"[b]Bold[/B]", "<b>Bold</b>"},
        {"[B]open", "<b>open"},
        {"line one\r\nline two", "line one<p>&nbsp;</p>line two"},
        {"last line\r\n", "last line<p>&nbsp;</p>"},
        {"[Size=8]big[/Size]", "[Size=8>big</font>"},
        {"[Font=Verdana]x[/FONT]", "<font face=\"Verdana\">x[/FONT>"},
        {"[Font=Verdana]x[/Font]", "<font face=\"Verdana\">x</font>"},
        {"[color=navy]x[/color]", "<font color=\"#000080\">x</font>"},
        {"[URL=target]Home[/URL]", "<a href=target>Home</a>"},
        {"[EMAIL=someone]Mail[/EMAIL]", "<a href=mailto:someone>Mail</a>"},
        {"[URL]target[/URL]", "[URL>target</a>"},
        {"[HIGHLIGHT]x[/HIGHLIGHT]", "<b><font color=\"#FF0000\">x</font></b>"},
        {"[IMG]pic.gif[/IMG]", "<img src=\"pic.gif\">"},
        {":)", img("Smile.gif")},
        {"Note:Done", "Note" + img("Grin.gif") + "one"},
        {"a[1]", "a[1>"},
        {"[LIST]\r\n[*]x\r\n[/LIST]", "<ul><p>&nbsp;</p><li>x<p>&nbsp;</p></ul>"},
        {"[QUOTE]hi[/QUOTE]", quote + "hi</div>"},
    });
}

TEST(ConvertBBCode, TagsAndTextAsTheChoosersWriteThem)
{
    expectRows({
        // Only a CR LF pair is a line break.
        {"a\rb\nc\n\r", "a\rb\nc\n\r"},
        // The typeface is written as in the table, whatever the post's case;
        // a typeface that is a prefix of another is told apart.
        {"[font=comic sans ms]x[FONT=ARIAL]y[Font=Arial Narrow]z",
         "<font face=\"Comic Sans MS\">x<font face=\"Arial\">y<font face=\"Arial Narrow\">z"},
        {"[Font=Wingdings]x", "[Font=Wingdings>x"},
        {"[Color=Orange][Color=Pink][Color=Teal]",
         "<font color=\"#FF9900\"><font color=\"#FF00FF\">[Color=Teal>"},
        {"[Size=1][size=7][Size=0]", "<font size=\"1\"><font size=\"7\">[Size=0>"},
        {"[center]c[/CENTER][Left]l[/left][RIGHT]r[/Right]",
         "<p align=\"Center\">c</p><p align=\"left\">l</p><p align=\"right\">r</p>"},
        {"[INDENT][i]x[/I][u]y[/U][/indent]", "<blockquote><i>x</i><u>y</u></blockquote>"},
        {"[highlight]x[/HighLight]", "<b><font color=\"#FF0000\">x</font></b>"},
        // Nothing the user typed is escaped.
        {"<b>&amp;\"</b>", "<b>&amp;\"</b>"},
        {"[URL=a]b]", "<a href=a>b>"},
        {"[email]x", "[email>x"},
        {"[CODE]<b>x</b>[/code][PHP]p[/PHP][html]h[/HTML]",
         BlockHeaders::standard().code + "<b>x</b></div>" + BlockHeaders::standard().php +
             "p</div>" + BlockHeaders::standard().html + "h</div>"},
        {"[*]", "<li>"},
    });
}

TEST(ConvertBBCode, CaseInsensitivityIsAsciiOnly)
{
    expectRows({
        {QStringLiteral("[\u017Fize=1]x"), QStringLiteral("[\u017Fize=1>x")},
        {QStringLiteral("[\u0131MG]x"), QStringLiteral("[\u0131MG>x")},
        {"{b}x{/b}", "{b}x{/b}"},
    });
}

TEST(ConvertBBCode, SmileyCodesInEveryCaseAndInsideWords)
{
    expectRows({
        {":O:P:d;)", img("Embarrassment.gif") + img("Stick Out Tongue.gif") + img("Grin.gif") +
                         img("Wink.gif")},
        {"x:(y:MAD:z:Cool:w:EEK::RollEyes::Roll Eyes:",
         "x" + img("Frown.gif") + "y" + img("Mad.gif") + "z" + img("Cool.gif") + "w" +
             img("EEK.gif") + img("Roll Eyes.gif") + ":Roll Eyes:"},
        {":rolleyes:", img("Roll Eyes.gif")},
        // Adjacent codes that share no character.
        {":):(;):D", img("Smile.gif") + img("Frown.gif") + img("Wink.gif") + img("Grin.gif")},
        // A code ending in ':' shares it with the next code; the entry that
        // comes first in the list wins, not the code that comes first.
        {":cool:o", ":cool" + img("Embarrassment.gif")},
        {":mad:)", ":mad" + img("Smile.gif")},
        {":eek:mad:", ":eek" + img("Mad.gif")},
        {":mad:eek:", img("Mad.gif") + "eek:"},
        {":mad:mad:mad:", img("Mad.gif") + "mad" + img("Mad.gif")},
        {":rolleyes:D", img("Roll Eyes.gif") + "D"},
        {":D:)", img("Grin.gif") + img("Smile.gif")},
        {":cool:mad:rolleyes:", ":cool" + img("Mad.gif") + "rolleyes:"},
        // Codes are not found across a converted tag or a line break.
        {":[B])", ":<b>)"},
        {":\r\n)", ":<p>&nbsp;</p>)"},
    });
}

TEST(ConvertBBCode, LaterEntriesReachTheSmileySources)
{
    expectRows({
        {":)", img("/a>b", "Smile.gif"), "/a]b"},
        // The ":p" entry runs after the ":)" entry and converts the code in
        // the source it wrote; a source is never rescanned by its own entry.
        {":)", "<img src=\"/x" + img("/x:p", "Stick Out Tongue.gif") + "/Smilies/Smile.gif\">",
         "/x:p"},
        {":p", img("/x:p", "Stick Out Tongue.gif"), "/x:p"},
        {":D", img("/x:)", "Grin.gif"), "/x:)"},
        {":)", img("/<li>", "Smile.gif"), "/[*]"},
        {":)", img("/[B>", "Smile.gif"), "/[B]"},
        {":)", img("/a\r\nb", "Smile.gif"), "/a\r\nb"},
        {":)", img("/" + BlockHeaders::standard().quote, "Smile.gif"), "/[QUOTE]"},
        {":)", "<img src=\"<a href=x>/Smilies/Smile.gif\">", "[URL=x]"},
    });
}

TEST(ConvertBBCode, ListClosesAsItWasOpened)
{
    expectRows({
        {"[LIST=1][*]a[/LIST]", "<ol><li>a</ol>"},
        {"[list][*]a[/list]", "<ul><li>a</ul>"},
        {"[LIST][LIST=1][*]a[/LIST][*]b[/LIST]", "<ul><ol><li>a</ol><li>b</ul>"},
        {"[LIST=1][LIST][/LIST][/LIST]", "<ol><ul></ul></ol>"},
        // A closing tag with no list open, and lists never closed.
        {"[/LIST][LIST=1][/LIST][/LIST]", "</ul><ol></ol></ul>"},
        {"[LIST=1][LIST=1]", "<ol><ol>"},
        {"[LIST=2][/LIST]", "[LIST=2></ul>"},
        // A list tag in a smiley's source opens a list like any other.
        {":)[/LIST]", img("/<ol>", "Smile.gif") + "</ol>", "/[LIST=1]"},
    });
}

TEST(ConvertBBCode, BlockHeadersMeetTheEntriesAfterTheirOwn)
{
    struct HeaderRow
    {
        QString quote, document, expected;
    };
    const std::vector<HeaderRow> rows = {
        {"<q>", "[QUOTE]x[/QUOTE]", "<q>x</div>"},
        {"[CODE]", "[QUOTE]", BlockHeaders::standard().code},
        {"[B]", "[QUOTE]", "[B>"},
        // A header can complete a tag with the text around it.
        {"ODE", "[/C[QUOTE]]", "</div>"},
        {"", "[/CO[QUOTE]DE]", "</div>"},
        {"RL=x", "[U[QUOTE]]", "<a href=x>"},
    };
    for (const HeaderRow &row : rows) {
        SCOPED_TRACE(row.quote.toStdString() + " / " + row.document.toStdString());
        BlockHeaders headers = BlockHeaders::standard();
        headers.quote = row.quote;
        const QString page = row.expected + previewPageTitle.toString();
        EXPECT_EQ(convertBBCodeReference(row.document, kDir, headers), page);
        EXPECT_EQ(convertBBCode(row.document, kDir, headers), page);
    }
}
