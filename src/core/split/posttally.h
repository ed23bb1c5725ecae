#pragma once

#include "markup/knowntags.h"
#include "split/postlength.h"

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace quorvane {

// The words of a post and its length as a forum counts it, kept line by line
// as an editor holds them, so that an edit reads only the lines it touched.
// A line may be a piece of the line before it (an editor holding a long line
// in pieces): no line break lies between them. Whether a line's tags count
// depends on the CODE block it starts in, so after an edit the lines after it
// are read again until that stops changing, a budget at a time.
//
// Counts as postLength() and countWords() do, except that a tag cut by a
// piece joint counts as text (pieces are cut after a space where one is near),
// and so, under a forum's counting, do an entity or a letter and its marks.
class PostTally
{
public:
    struct Line
    {
        QString text;
        bool continues = false; // a piece of the line before
    };
    using LineSource = std::function<Line(qsizetype)>;

    explicit PostTally(const KnownTags &tags) : m_tags(tags) {}

    // Lines [first, first + removed) became `added` lines, not yet read.
    void replace(qsizetype first, qsizetype removed, qsizetype added);
    // Reads lines that need it until about `budget` characters are read; true
    // when every count is known.
    bool settle(const LineSource &source, qsizetype budget);
    bool isSettled() const { return m_dirtyFrom < 0; }

    qsizetype lines() const { return qsizetype(m_entries.size()); }
    qsizetype words() const { return m_words; }
    qsizetype length(const LengthRule &rule) const;

private:
    static constexpr int kCountings = 3; // Escaped, Sent, Bytes
    static constexpr int kTrimmers = 2;  // the ones that trim: Escaped, Bytes
    static int trimmer(Counting counting) { return counting == Counting::Escaped ? 0 : 1; }

    // Where counting words stands at the end of a line or piece: a piece
    // goes on from there, a new line starts afresh.
    struct WordState
    {
        std::int16_t verbatim = -1; // the CODE-like tag open, as MarkupScanner keeps it
        bool inWord = false;        // a word goes on (a tag joins nothing: "[b]x[/b]y")
        bool joiner = false;        // after "don'" or "well-", if a letter follows
        friend bool operator==(const WordState &, const WordState &) = default;
    };
    // Small, as a line of the editor is: an edit that adds or removes lines
    // moves the entries after it.
    struct Entry
    {
        std::int32_t words = 0;
        std::int32_t characters = 0;    // code points
        std::int32_t tagCharacters = 0; // of those, inside known tags
        std::int16_t verbatimIn = -2;   // the CODE-like tag open at the start; -2 unread
        std::int16_t verbatimOut = -1;
        WordState wordsIn;
        WordState wordsOut;
        bool continues = false;
        // Under each forum's counting (Counting's order): the weight, and the
        // blanks it trims when the line stands at the post's start or end.
        std::array<std::int32_t, kCountings> weights{};
        std::array<std::int32_t, kTrimmers> leading{};
        std::array<std::int32_t, kTrimmers> trailing{};
        std::uint8_t blankFromStart = 0; // a bit per trimming counting
        std::uint8_t blankFromEnd = 0;
    };
    qsizetype forumLength(Counting counting) const;
    Entry measure(const Line &line, int verbatimIn, const WordState &wordsIn) const;
    void add(const Entry &entry, int sign);

    const KnownTags &m_tags;
    std::vector<Entry> m_entries;
    qsizetype m_dirtyFrom = -1; // first line to read, -1 when settled
    qsizetype m_dirtyTo = 0;    // lines before this were changed
    qsizetype m_words = 0;
    qsizetype m_characters = 0;
    qsizetype m_tagCharacters = 0;
    qsizetype m_pieces = 0;
    std::array<qsizetype, kCountings> m_weights{};
};

} // namespace quorvane
