#include "conversion/stripper.h"

#include "conversion/tagindex.h"
#include "text/textrules.h"

#include <array>
#include <cstring>
#include <vector>

namespace quorvane {

namespace {

// The 80 deletions in their order; only "[/Font]" is exact.
constexpr std::array<QStringView, 80> kDeletions = {
    u"[Size=1]",
    u"[Size=2]",
    u"[Size=3]",
    u"[Size=4]",
    u"[Size=5]",
    u"[Size=6]",
    u"[Size=7]",
    u"[/Size]",
    u"[Font=Arial]",
    u"[Font=Arial Narrow]",
    u"[Font=Book Antiqua]",
    u"[Font=Arial Black]",
    u"[Font=Century Gothic]",
    u"[Font=Comic Sans MS]",
    u"[Font=Courier New]",
    u"[Font=Fixedsys]",
    u"[Font=Franklin Gothic Medium]",
    u"[Font=Garamond]",
    u"[Font=Georgia]",
    u"[Font=Impact]",
    u"[Font=Lucida Console]",
    u"[Font=Lucida Sans Unicode]",
    u"[Font=Microsoft Sans Serif]",
    u"[Font=Palatino Linotype]",
    u"[Font=System]",
    u"[Font=Tahoma]",
    u"[Font=Times New Roman]",
    u"[Font=Trebuchet MS]",
    u"[Font=Verdana]",
    u"[/Font]",
    u"[/Color]",
    u"[Color=Red]",
    u"[Color=Black]",
    u"[Color=Green]",
    u"[Color=Blue]",
    u"[Color=Yellow]",
    u"[Color=Orange]",
    u"[Color=White]",
    u"[Color=Navy]",
    u"[Color=White]",
    u"[Color=Pink]",
    u"[Color=Gray]",
    u"[Color=Purple]",
    u"[B]",
    u"[/B]",
    u"[I]",
    u"[/I]",
    u"[U]",
    u"[/U]",
    u"[LEFT]",
    u"[/LEFT]",
    u"[RIGHT]",
    u"[/RIGHT]",
    u"[CENTER]",
    u"[/CENTER]",
    u"[INDENT]",
    u"[/INDENT]",
    u"[HighLight]",
    u"[/HighLight]",
    u"[/IMG]",
    u"[IMG]",
    u"[LIST]",
    u"[/LIST]",
    u"[*]",
    u"[LIST=1]",
    u"[LIST]",
    u"[*]",
    u"[QUOTE]",
    u"[/QUOTE]",
    u"[CODE]",
    u"[/CODE]",
    u"[HTML]",
    u"[/HTML]",
    u"[PHP]",
    u"[/PHP]",
    u"[EMAIL=",
    u"[/EMAIL]",
    u"[URL=",
    u"[/URL]",
    u"]",
};

constexpr QStringView kExactDeletion = u"[/Font]";

MatchMode modeOf(QStringView find)
{
    return find == kExactDeletion ? MatchMode::Exact : MatchMode::AsciiCaseInsensitive;
}

// The fast path rests on three facts about the list.
//
// Independence: a character that occurs in no find text (in either case) is
// never deleted and no match can reach across it, so the text splits there
// into chunks that the 80 passes treat independently.
//
// First order: every find but "]" is "[" plus characters other than
// brackets, so two occurrences never overlap and an occurrence present in
// the original text is deleted by its entry whatever the others do. Deleting
// them all at once gives the "first-order" text. A deletion the passes make
// beyond these needs a find formed by a join; the earliest such find has
// nothing but original occurrences between its characters, so it shows in
// the first-order text.
//
// Hence a chunk whose first-order text holds no find (other than "]") comes
// out as that text without its "]"; the rare chunk that does is handed to the
// literal passes.
struct Tables
{
    TagIndex brackets; // the bracket finds, by length
    std::array<bool, 128> inFind{};

    Tables()
    {
        for (QStringView find : kDeletions) {
            // Every character that folds as one of the find's does.
            for (QChar ch : find) {
                for (std::size_t c = 0; c < inFind.size(); ++c) {
                    if (asciiLower(char16_t(c)) == asciiLower(ch.unicode()))
                        inFind[c] = true;
                }
            }
            if (find.size() > 1)
                brackets.add(find, modeOf(find), int(find.size()));
        }
    }

    // The length of the bracket find that matches at pos, or 0.
    qsizetype findAt(QStringView text, qsizetype pos) const
    {
        return std::max(brackets.match(text, pos), 0);
    }
};

const Tables &tables()
{
    static const Tables t;
    return t;
}

} // namespace

SubstitutionList strippingDeletions()
{
    SubstitutionList list;
    list.reserve(qsizetype(kDeletions.size()));
    for (QStringView find : kDeletions)
        list.append({find.toString(), QString(), modeOf(find)});
    return list;
}

QString stripFormattingReference(const QString &text)
{
    return applySubstitutions(text, strippingDeletions());
}

QString stripFormatting(const QString &text)
{
    const Tables &t = tables();
    const qsizetype n = text.size();
    const auto *in = reinterpret_cast<const char16_t *>(text.utf16());
    QString result(n, Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(result.data());
    qsizetype w = 0;

    // The chunk being written: where it starts in the input and the output,
    // whether an original occurrence was deleted from it, and how many
    // brackets its first-order text keeps.
    qsizetype chunkIn = 0;
    qsizetype chunkOut = 0;
    bool deleted = false;
    qsizetype opens = 0;
    qsizetype closes = 0;

    auto finishChunk = [&](qsizetype endIn) {
        bool formed = false;
        if (deleted && opens > 0) {
            const QStringView firstOrder(out + chunkOut, w - chunkOut);
            for (qsizetype i = 0; i < firstOrder.size() && !formed; ++i)
                formed = firstOrder[i] == u'[' && t.findAt(firstOrder, i) > 0;
        }
        if (formed) {
            const QString literal = stripFormattingReference(text.sliced(chunkIn, endIn - chunkIn));
            std::memcpy(out + chunkOut, literal.constData(),
                        size_t(literal.size()) * sizeof(char16_t));
            w = chunkOut + literal.size();
        } else if (closes > 0) {
            qsizetype kept = chunkOut;
            for (qsizetype i = chunkOut; i < w; ++i) {
                if (out[i] != u']')
                    out[kept++] = out[i];
            }
            w = kept;
        }
    };

    for (qsizetype i = 0; i < n;) {
        const char16_t c = in[i];
        if (c < 128 && t.inFind[c]) {
            if (c == u'[') {
                const qsizetype length = t.findAt(text, i);
                if (length > 0) {
                    i += length;
                    deleted = true;
                    continue;
                }
                ++opens;
            } else if (c == u']') {
                ++closes;
            }
            out[w++] = c;
            ++i;
            continue;
        }
        finishChunk(i);
        out[w++] = c;
        ++i;
        chunkIn = i;
        chunkOut = w;
        deleted = false;
        opens = 0;
        closes = 0;
    }
    finishChunk(n);
    result.truncate(w);
    return result;
}

} // namespace quorvane
