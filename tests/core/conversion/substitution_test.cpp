#include "conversion/substitution.h"
#include "printing.h"

#include <gtest/gtest.h>

using namespace quorvane;

namespace {

QString apply(const QString &text, const QString &find, const QString &replace,
              MatchMode mode = MatchMode::AsciiCaseInsensitive)
{
    return applySubstitution(text, {find, replace, mode});
}

} // namespace

TEST(Substitution, ScansLeftToRightWithoutOverlapOrRescanning)
{
    EXPECT_EQ(apply("aaaa", "aa", "X"), "XX");
    EXPECT_EQ(apply("aaa", "aa", "X"), "Xa");
    // The replacement is not scanned again, neither on its own nor joined to
    // what follows it.
    EXPECT_EQ(apply("a", "a", "aa"), "aa");
    EXPECT_EQ(apply("aab", "ab", "a"), "aa");
    EXPECT_EQ(apply("[[B]]", "[B]", "[B"), "[[B]");
    // Matches at both ends, a text shorter than the find, no match at all.
    EXPECT_EQ(apply("]x]", "]", ">"), ">x>");
    EXPECT_EQ(apply("[B", "[B]", "<b>"), "[B");
    EXPECT_EQ(apply("plain", "[B]", "<b>"), "plain");
    EXPECT_EQ(apply("", "[B]", "<b>"), "");
    EXPECT_EQ(apply("text", "", "X"), "text");
}

TEST(Substitution, CaseInsensitiveFoldsAsciiLettersOnly)
{
    EXPECT_EQ(apply("[SIZE=1][size=1][SiZe=1]", "[Size=1]", "#"), "###");
    // Letters outside ASCII that fold to ASCII letters under Unicode rules.
    EXPECT_EQ(apply(QStringLiteral("[\u017Fize=1]"), "[Size=1]", "#"),
              QStringLiteral("[\u017Fize=1]"));
    EXPECT_EQ(apply(QStringLiteral("[\u0131MG]"), "[IMG]", "#"), QStringLiteral("[\u0131MG]"));
    EXPECT_EQ(apply(QStringLiteral("[\u212Aey]"), "[key]", "#"), QStringLiteral("[\u212Aey]"));
    // Characters that differ from the find's by the case bit but are no
    // letters: '{' and '[', '}' and ']', '@' and '`'.
    EXPECT_EQ(apply("{b}", "[B]", "#"), "{b}");
    EXPECT_EQ(apply("x`x", "x@x", "#"), "x`x");
    EXPECT_EQ(apply("[b}", "[B]", "#"), "[b}");
}

TEST(Substitution, ExactModeKeepsCase)
{
    EXPECT_EQ(apply("[/Font][/FONT][/font]", "[/Font]", "#", MatchMode::Exact), "#[/FONT][/font]");
}

TEST(Substitution, EntriesRunInOrderOnEachOthersResults)
{
    const SubstitutionList list = {
        {"ab", "c", MatchMode::Exact},
        {"cc", "d", MatchMode::Exact},
        {"ab", "never", MatchMode::Exact},
    };
    EXPECT_EQ(applySubstitutions("abab", list), "d");
    // An entry sees only what the ones before it left.
    EXPECT_EQ(applySubstitutions("aabb", list), "acb");
}

TEST(Substitution, MatchesAtChecksBounds)
{
    EXPECT_TRUE(matchesAt(u"x[b]", 1, u"[B]", MatchMode::AsciiCaseInsensitive));
    EXPECT_FALSE(matchesAt(u"x[b]", 2, u"[B]", MatchMode::AsciiCaseInsensitive));
    EXPECT_FALSE(matchesAt(u"x[b", 1, u"[B]", MatchMode::AsciiCaseInsensitive));
    EXPECT_FALSE(matchesAt(u"x[b]", -1, u"[B]", MatchMode::AsciiCaseInsensitive));
}
