#pragma once

#include "forum/counting.h"
#include "markup/knowntags.h"

#include <QString>
#include <QStringView>

#include <optional>
#include <span>
#include <vector>

namespace quorvane {

// How a forum counts the length of a post: characters are code points (an
// emoji is one), a line break is one character or two (a browser sends CR LF),
// and the known tags count or do not. A chosen forum's own counting, when
// given, stands for all of that.
struct LengthRule
{
    constexpr LengthRule() = default;
    constexpr LengthRule(bool tags, int breakLength,
                         std::optional<Counting> counting = std::nullopt)
        : countTags(tags), lineBreak(breakLength), forum(counting)
    {}

    bool countTags = true;
    int lineBreak = 1; // 1 or 2
    std::optional<Counting> forum;

    // What a line break counts.
    int lineBreakLength() const { return forum ? lineBreakWeight(*forum) : lineBreak; }

    friend bool operator==(const LengthRule &, const LengthRule &) = default;
};

// The rule that counts as a forum does (forum/dialect.h has each forum's).
inline LengthRule forumLengthRule(Counting counting)
{
    return LengthRule(true, lineBreakWeight(counting), counting);
}

// A forum package and the post limit it ships with; `limit` 0 is "Custom".
struct ForumProfile
{
    const char *key;  // stored in the settings
    const char *name; // shown
    int limit;
    LengthRule rule;
};

// The shipped profiles, "Custom" last.
std::span<const ForumProfile> forumProfiles();
// The profile with this key, or nullptr.
const ForumProfile *findForumProfile(QStringView key);

// The counted length of each UTF-16 unit of `text` under `rule`, summed from
// the start: lengths[i] is the length of text[0, i), so it has size() + 1
// entries. Tags are the known tags a MarkupScanner finds. Under a forum's
// counting nothing is trimmed or composed, so a part counts at least what
// the forum counts.
std::vector<qsizetype> runningLengths(QStringView text, const LengthRule &rule,
                                      const KnownTags &tags);
qsizetype postLength(QStringView text, const LengthRule &rule, const KnownTags &tags);

// The text with the known tags taken out (unknown tags are text to a forum).
QString withoutTags(QStringView text, const KnownTags &tags);

// Words are runs of letters and digits (with ' and - inside), as a reader sees
// them; tags are not words.
qsizetype countWords(QStringView text, const KnownTags &tags);

// Counts words as a text changes, without reading the whole text again: each
// line's count is kept and only the changed lines are read.
class WordTally
{
public:
    explicit WordTally(const KnownTags &tags) : m_tags(tags) {}

    void reset(QStringView text);
    // The text after a change at `position` that removed `removed` and added
    // `added` UTF-16 units (as QTextDocument::contentsChange says).
    void change(QStringView text, qsizetype position, qsizetype removed, qsizetype added);
    qsizetype words() const { return m_total; }

private:
    const KnownTags &m_tags;
    std::vector<qsizetype> m_lineStarts;
    std::vector<qsizetype> m_lineWords;
    qsizetype m_total = 0;
    qsizetype m_size = 0;
};

// Minutes to read `words` at 230 words a minute, rounded up.
qsizetype readingMinutes(qsizetype words);

} // namespace quorvane
