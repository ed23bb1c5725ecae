#include "import/rtfimport.h"
#include "markupcheck.h"
#include "qstringprint.h"

#include <gtest/gtest.h>

using namespace quorvane;

namespace {

struct Case
{
    const char *name;
    const char *body; // inside {\rtf1 ... } after the tables below
    const char *bbcode;
    bool keep = false;
};

class RtfRules : public testing::TestWithParam<Case>
{
};

TEST_P(RtfRules, GiveTheirBBCode)
{
    const Case &c = GetParam();
    const QByteArray rtf =
        QByteArray("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman Times;}"
                   "{\\f1\\fmodern Courier New;}{\\f2\\froman Consolas;}}"
                   "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue1;}") +
        c.body + "}";
    ImportOptions options;
    options.keepColoursAndSizes = c.keep;
    const QString post = rtfToBBCode(rtf, options);
    EXPECT_EQ(post,
              QString::fromUtf8(c.bbcode).replace(QStringLiteral("\n"), QStringLiteral("\r\n")));
    EXPECT_EQ(nestingFault(post), QString());
}

const Case kCases[] = {
    {"character formats",
     "a {\\b b}{\\i i}{\\ul u}{\\strike s} {\\b\\i x\\b0 y\\plain z}{\\ul w\\ulnone v}\\par",
     "a [B]b[/B][I]i[/I][U]u[/U][S]s[/S] [B][I]x[/I][/B][I]y[/I]z[U]w[/U]v"},
    {"links",
     "{\\field{\\*\\fldinst{HYPERLINK \"https://e.example/\"}}{\\fldrslt{\\ul\\cf2 site}}} "
     "{\\field{\\*\\fldinst HYPERLINK \"mailto:me@e.example\"}{\\fldrslt me@e.example}} "
     "{\\field{\\*\\fldinst{PAGE}}{\\fldrslt 3}}\\par",
     "[URL=https://e.example/]site[/URL] [EMAIL]me@e.example[/EMAIL] 3"},
    {"labelled lists",
     "{\\pard\\ls1\\ilvl0{\\listtext \\'95\\tab}one\\par}"
     "{\\pard\\ls1\\ilvl1{\\listtext 1.\\tab}deep\\par}"
     "{\\pard\\ls1\\ilvl0{\\listtext \\'95\\tab}two\\par}\\pard after\\par",
     "[LIST]\n[*]one\n[LIST=1]\n[*]deep\n[/LIST]\n[*]two\n[/LIST]\n\nafter"},
    {"typed labels",
     "{\\pard\\li360\\fi-360 1.\\tab one\\par}{\\pard\\li720\\fi-360 \\endash\\tab sub\\par}"
     "{\\pard\\li360\\fi-360 2.\\tab two\\par}{\\pard 3.\\tab not indented\\par}",
     "[LIST=1]\n[*]one\n[LIST]\n[*]sub\n[/LIST]\n[*]two\n[/LIST]\n\n3.\tnot indented"},
    {"code",
     "use {\\f1 [QUOTE]} and {\\f2 printf}\\par{\\pard\\f1 int  a;\\par}{\\pard\\f2 \\tab b;\\par}",
     "use [CODE][QUOTE][/CODE] and printf\n\n[CODE]int  a;\n\tb;[/CODE]"},
    {"table",
     "before\\par\\trowd\\cellx1000\\cellx2000\\pard\\intbl Name\\cell Posts\\cell\\row"
     "\\trowd\\cellx1000\\cellx2000\\pard\\intbl {\\b al}\\par ice\\cell 3\\cell\\row\\pard "
     "after\\par",
     "before\n\nName\tPosts\n[B]al[/B] ice\t3\n\nafter"},
    {"colours and sizes", "a {\\cf1 red} {\\cf2 black} {\\fs48 big}{\\fs24 normal}\\par",
     "a [Color=Red]red[/Color] black [Size=6]big[/Size]normal", true},
    {"colours dropped by default", "a {\\cf1 red} {\\fs48 big}\\par", "a red big"},
};

INSTANTIATE_TEST_SUITE_P(Import, RtfRules, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case> &row) {
                             std::string name;
                             for (const char *c = row.param.name; *c; ++c)
                                 name += std::isalnum(uchar(*c)) ? *c : '_';
                             return name;
                         });

} // namespace
