#include "conversion/stripper.h"
#include "printing.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace quorvane;

namespace {

void expectRows(const std::vector<std::pair<QString, QString>> &rows)
{
    for (const auto &[document, expected] : rows) {
        SCOPED_TRACE(document.toStdString());
        EXPECT_EQ(stripFormattingReference(document), expected);
        EXPECT_EQ(stripFormatting(document), expected);
    }
}

} // namespace

TEST(StrippingDeletions, EightyEntriesWithRepeatsAndOneExact)
{
    const SubstitutionList list = strippingDeletions();
    ASSERT_EQ(list.size(), 80);
    for (int i = 0; i < list.size(); ++i) {
        EXPECT_TRUE(list[i].replace.isEmpty());
        EXPECT_EQ(list[i].mode == MatchMode::Exact, i == 29) << i;
    }
    // The three repeats are entries 40, 66 and 67 (1-based).
    EXPECT_EQ(list[39].find, "[Color=White]");
    EXPECT_EQ(list[37].find, "[Color=White]");
    EXPECT_EQ(list[65].find, "[LIST]");
    EXPECT_EQ(list[66].find, "[*]");
    EXPECT_EQ(list.back().find, "]");
}

TEST(StripFormatting, DocumentedCases)
{
    expectRows({
        {"", ""},
        {"[b]Bold[/B]", "Bold"},
        {"[QUOTE]hi[/QUOTE]", "hi"},
        {"[URL=target]Home[/URL]", "targetHome"},
        {"[EMAIL=someone]Mail[/EMAIL]", "someoneMail"},
        {"[IMG]pic.gif[/IMG]", "pic.gif"},
        {"[Size=8]big[/Size]", "[Size=8big"},
        {"[Font=Verdana]x[/FONT]", "x[/FONT"},
        {"[Font=Verdana]x[/Font]", "x"},
        {"a[1]", "a[1"},
        {"Hello :) ", "Hello :) "},
        {"[LI[LIST=1]ST]", ""},
        {"line one\r\n[B]line two[/B]", "line one\r\nline two"},
    });
}

TEST(StripFormatting, JoinsAreCaughtOnlyByLaterEntries)
{
    expectRows({
        // Deleting "[Color=Navy]" (entry 39) forms "[Color=White]", which the
        // repeat (entry 40) deletes; "[Color=Pink]" comes after both.
        {"[Color=Wh[Color=Navy]ite]x", "x"},
        {"[Color=Wh[Color=Red]ite]x", "x"},
        {"[Color=Wh[Color=Pink]ite]x", "[Color=Whitex"},
        {"[LI[*]ST]", ""},
        {"[[*]*]", ""},
        {"[[*][*]*]", ""},
        {"[[[*]*]*]", "[*"},
        // "[B]" runs before "[I]", so a "[B]" formed by deleting "[I]" stays.
        {"[B[I]]", "[B"},
        {"[I[B]]", ""},
        {"[/UR[URL=L]", ""},
        {"[EM[B]AIL=x]y", "xy"},
        {"[URL=[B]]", ""},
        {"[LIST=[B]1]", ""},
        {"[LIST=[LIST=1]1]", "[LIST=1"},
    });
}

TEST(StripFormatting, LeavesWhatNoEntryMatches)
{
    expectRows({
        {"[/FONT][/font]", "[/FONT[/font"},
        {"[Font=Wingdings]x[Color=Teal]y", "[Font=Wingdingsx[Color=Tealy"},
        {QStringLiteral("[\u017Fize=1]x"), QStringLiteral("[\u017Fize=1x")},
        {"{b}x{/b}", "{b}x{/b}"},
        {"a]]b[[c", "ab[[c"},
        {"\r\n\r\n", "\r\n\r\n"},
        {QStringLiteral("caf\u00e9 [B]\U0001F600[/B]"), QStringLiteral("caf\u00e9 \U0001F600")},
        {"12:30 [u]x[/u]; 8 [*] 9", "12:30 x; 8  9"},
    });
}
