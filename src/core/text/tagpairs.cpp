#include "text/tagpairs.h"

#include "text/textrules.h"

namespace quorvane {

namespace {
constexpr TagPair kTagPairs[] = {
    {"BoldCommand", "[B]", "[/B]"},          {"ItalicCommand", "[I]", "[/I]"},
    {"UnderlineCommand", "[U]", "[/U]"},     {"HighlightCommand", "[HIGHLIGHT]", "[/HIGHLIGHT]"},
    {"CodeCommand", "[CODE]", "[/CODE]"},    {"QUOTECommand", "[QUOTE]", "[/QUOTE]"},
    {"PHPCommand", "[PHP]", "[/PHP]"},       {"HTMLCommand", "[HTML]", "[/HTML]"},
    {"LeftCommand", "[LEFT]", "[/LEFT]"},    {"CenterCommand", "[CENTER]", "[/CENTER]"},
    {"RightCommand", "[RIGHT]", "[/RIGHT]"}, {"IncreaseIndentClick", "[INDENT]", "[/INDENT]"},
};
} // namespace

std::span<const TagPair> tagPairs()
{
    return kTagPairs;
}

QString removeIndentTags(const QString &text)
{
    // Openings first, then closings, as two passes: removing "[INDENT]" can
    // join the text around it into a new "[/INDENT]" that the second pass
    // then takes too.
    const QString withoutOpenings = removeAsciiCaseless(text, u"[INDENT]");
    return removeAsciiCaseless(withoutOpenings, u"[/INDENT]");
}

} // namespace quorvane
