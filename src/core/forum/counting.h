#pragma once

#include <QStringView>

#include <algorithm>

namespace quorvane {

// How a forum measures a post against its limit when it is submitted.
enum class Counting {
    Escaped, // phpBB: characters after HTML escaping of the trimmed post, breaks as LF
    Sent,    // SMF: characters as a browser sends them (CR LF), a typed entity as one
    Bytes,   // MyBB: UTF-8 bytes as a browser sends them (CR LF), trimmed of blanks
};

// What one character (a code point) adds to the count away from the post's
// ends; a line break adds lineBreakWeight. The same for a character wherever
// it stands, so a text's count is the sum of its lines' counts, but for the
// ends a forum trims, SMF's typed entities (one each) and phpBB's composing of
// decomposed letters, all of which stay inside a line.
int characterWeight(Counting counting, char32_t c);
int lineBreakWeight(Counting counting);

// A line's count (no line break in it), with SMF's entities and phpBB's
// composing, and without trimming.
qsizetype lineWeight(Counting counting, QStringView line);

// The length of the entity SMF counts as one character that starts at `i`
// ("&amp;", "&#65;", ...), or 0.
qsizetype typedEntityAt(QStringView text, qsizetype i);

// The blanks a forum trims from the post's ends: their weight at the start and
// at the end of a line, and whether the line is nothing else.
struct BlankEnds
{
    qsizetype leading = 0;
    qsizetype trailing = 0;
    bool blankFromStart = false; // every character is trimmed at the post's start
    bool blankFromEnd = false;   // ... at its end
};
// Counting::Sent trims nothing.
BlankEnds blankEnds(Counting counting, QStringView line);

// What a forum trims from a post held as parts (lines, or pieces of a line),
// given as part(i) -> {its weight, its BlankEnds, whether a line break goes
// before it}. Reads only the blank parts at the ends and one more each side.
struct CountedPart
{
    qsizetype weight = 0;
    BlankEnds ends;
    bool breakBefore = false;
};
template <typename Part>
qsizetype trimmedWeight(Counting counting, qsizetype parts, const Part &part)
{
    if (counting == Counting::Sent || parts == 0)
        return 0;
    const int lineBreak = lineBreakWeight(counting);
    qsizetype trimmed = 0;
    qsizetype first = 0;
    CountedPart at = part(0);
    while (at.ends.blankFromStart) {
        trimmed += at.weight;
        if (++first == parts)
            return trimmed; // all blank: nothing is left
        at = part(first);
        trimmed += at.breakBefore ? lineBreak : 0;
    }
    const qsizetype leading = at.ends.leading;
    trimmed += leading;
    qsizetype last = parts - 1;
    CountedPart end = part(last);
    while (last > first && end.ends.blankFromEnd) {
        trimmed += end.weight + (end.breakBefore ? lineBreak : 0);
        end = part(--last);
    }
    return trimmed +
           (last == first ? std::min(end.ends.trailing, end.weight - leading) : end.ends.trailing);
}

} // namespace quorvane
