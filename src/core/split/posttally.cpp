#include "split/posttally.h"

#include "markup/markuptokens.h"

#include <algorithm>

namespace quorvane {

namespace {

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c.isMark();
}

qsizetype codePoints(QStringView text)
{
    qsizetype count = text.size();
    for (qsizetype i = 1; i < text.size(); ++i) {
        if (text[i].isLowSurrogate() && text[i - 1].isHighSurrogate())
            --count;
    }
    return count;
}

} // namespace

void PostTally::add(const Entry &entry, int sign)
{
    m_words += sign * entry.words;
    m_characters += sign * entry.characters;
    m_tagCharacters += sign * entry.tagCharacters;
    m_pieces += sign * (entry.continues ? 1 : 0);
    for (int c = 0; c < kCountings; ++c)
        m_weights[size_t(c)] += sign * entry.weights[size_t(c)];
}

void PostTally::replace(qsizetype first, qsizetype removed, qsizetype added)
{
    first = std::clamp<qsizetype>(first, 0, lines());
    removed = std::clamp<qsizetype>(removed, 0, lines() - first);
    // Lines replaced one for one are cleared where they stand; only the
    // difference moves the lines after them.
    const qsizetype kept = std::min(removed, added);
    const auto from = m_entries.begin() + first;
    std::for_each(from, from + removed, [this](const Entry &entry) { add(entry, -1); });
    std::fill(from, from + kept, Entry{});
    if (removed > kept)
        m_entries.erase(from + kept, from + removed);
    else if (added > kept)
        m_entries.insert(from + kept, size_t(added - kept), Entry{});

    // The lines to read: the new ones and any still unread, moved as the
    // edit moved them.
    const qsizetype delta = added - removed;
    const auto moved = [&](qsizetype at) {
        return at >= first + removed ? at + delta : std::min(at, first + added);
    };
    if (m_dirtyFrom < 0) {
        m_dirtyFrom = first;
        m_dirtyTo = first + added;
    } else {
        m_dirtyFrom = std::min(moved(m_dirtyFrom), first);
        m_dirtyTo = std::max(moved(m_dirtyTo), first + added);
    }
    if (m_dirtyFrom >= lines() && m_dirtyTo >= lines())
        m_dirtyFrom = -1;
}

PostTally::Entry PostTally::measure(const Line &line, int verbatimIn,
                                    const WordState &wordsIn) const
{
    const QStringView text = line.text;
    Entry entry;
    entry.verbatimIn = std::int16_t(verbatimIn);
    entry.wordsIn = wordsIn;
    entry.continues = line.continues;
    entry.characters = std::int32_t(codePoints(text));
    MarkupScanner lengths(m_tags);
    lengths.setVerbatim(verbatimIn);
    lengths.scan(text, 0, text.size(), [&](const MarkupTag &tag) {
        if (tag.id != KnownTags::unknown)
            entry.tagCharacters += std::int32_t(codePoints(text.mid(tag.start, tag.length)));
    });
    entry.verbatimOut = std::int16_t(lengths.verbatim());
    for (Counting counting : {Counting::Escaped, Counting::Sent, Counting::Bytes}) {
        entry.weights[size_t(counting)] = std::int32_t(lineWeight(counting, text));
        if (counting == Counting::Sent)
            continue; // trims nothing
        const BlankEnds ends = blankEnds(counting, text);
        const int t = trimmer(counting);
        entry.leading[size_t(t)] = std::int32_t(ends.leading);
        entry.trailing[size_t(t)] = std::int32_t(ends.trailing);
        entry.blankFromStart |= std::uint8_t(ends.blankFromStart ? 1 << t : 0);
        entry.blankFromEnd |= std::uint8_t(ends.blankFromEnd ? 1 << t : 0);
    }

    // Words as countWords() reads a line, going on from where the piece
    // before stopped.
    WordState state = wordsIn;
    if (state.joiner && !text.isEmpty()) {
        state.joiner = false;
        state.inWord = isWordChar(text.front());
    }
    qsizetype pos = 0;
    auto countTo = [&](qsizetype to) {
        for (; pos < to; ++pos) {
            const QChar c = text[pos];
            const bool joiner = c == u'\'' || c == u'\u2019' || c == u'-';
            if (isWordChar(c)) {
                if (!state.inWord)
                    ++entry.words;
                state.inWord = true;
            } else if (state.inWord && joiner && pos + 1 < to && isWordChar(text[pos + 1])) {
                // "don't", "well-known": one word
            } else if (state.inWord && joiner && pos + 1 == text.size()) {
                state.joiner = true; // the next piece decides
            } else {
                state.inWord = false;
            }
        }
    };
    MarkupScanner words(m_tags);
    words.setVerbatim(wordsIn.verbatim);
    words.scan(text, 0, text.size(), [&](const MarkupTag &tag) {
        if (tag.id == KnownTags::unknown)
            return;
        countTo(tag.start);
        pos = tag.end();
    });
    countTo(text.size());
    state.verbatim = std::int16_t(words.verbatim());
    entry.wordsOut = state;
    return entry;
}

bool PostTally::settle(const LineSource &source, qsizetype budget)
{
    if (m_dirtyFrom < 0)
        return true;
    qsizetype i = m_dirtyFrom;
    for (; i < lines() && budget > 0; ++i) {
        const Entry *before = i > 0 ? &m_entries[size_t(i - 1)] : nullptr;
        const int verbatimIn = before ? before->verbatimOut : MarkupScanner::noVerbatim;
        const WordState wordsIn = before ? before->wordsOut : WordState{};
        Entry &entry = m_entries[size_t(i)];
        // Past the edited lines, a line that starts as it did counts as it did,
        // and so does every line after it.
        if (i >= m_dirtyTo && entry.verbatimIn == verbatimIn &&
            (!entry.continues || entry.wordsIn == wordsIn)) {
            i = lines();
            break;
        }
        const Line line = source(i);
        add(entry, -1);
        entry = measure(line, verbatimIn, line.continues ? wordsIn : WordState{});
        add(entry, 1);
        budget -= line.text.size() + 1;
    }
    m_dirtyFrom = i < lines() ? i : -1;
    return m_dirtyFrom < 0;
}

qsizetype PostTally::forumLength(Counting counting) const
{
    const qsizetype breaks = std::max<qsizetype>(0, lines() - m_pieces - 1);
    const qsizetype total = m_weights[size_t(counting)] + breaks * lineBreakWeight(counting);
    const int t = trimmer(counting);
    return total - trimmedWeight(counting, lines(), [&](qsizetype i) {
               const Entry &entry = m_entries[size_t(i)];
               BlankEnds ends{entry.leading[size_t(t)], entry.trailing[size_t(t)],
                              bool(entry.blankFromStart & (1 << t)),
                              bool(entry.blankFromEnd & (1 << t))};
               return CountedPart{entry.weights[size_t(counting)], ends, i > 0 && !entry.continues};
           });
}

qsizetype PostTally::length(const LengthRule &rule) const
{
    if (rule.forum)
        return forumLength(*rule.forum);
    const qsizetype breaks = std::max<qsizetype>(0, lines() - m_pieces - 1);
    return m_characters - (rule.countTags ? 0 : m_tagCharacters) + breaks * rule.lineBreak;
}

} // namespace quorvane
