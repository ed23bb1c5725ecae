#include "conversion/tagindex.h"

#include "text/textrules.h"

namespace quorvane {

namespace {

// Folded characters after the "[" up to and including the "]".
std::uint32_t step(std::uint32_t hash, char16_t folded)
{
    return hash * 31u + folded;
}

std::size_t slotOf(std::uint32_t hash, std::size_t count)
{
    return (hash ^ (hash >> 9)) & (count - 1);
}

} // namespace

void TagIndex::add(QStringView find, MatchMode mode, int id)
{
    Q_ASSERT(find.size() >= 2 && find.size() <= maxLength && find[0] == u'[');
    Q_ASSERT(m_tags.size() < slotCount / 2);
    Tag tag{QString(), find, mode, id};
    for (QChar c : find)
        tag.folded += QChar(asciiLower(c.unicode()));
    const auto index = std::int16_t(m_tags.size());
    if (find.back() == u']') {
        std::uint32_t hash = 0;
        for (qsizetype i = 1; i < tag.folded.size(); ++i)
            hash = step(hash, tag.folded[i].unicode());
        std::size_t slot = slotOf(hash, slotCount);
        while (m_slots[slot] >= 0)
            slot = (slot + 1) & (slotCount - 1);
        m_slots[slot] = index;
        m_longestClosed = std::max(m_longestClosed, find.size());
    } else {
        m_open[tag.folded[1].unicode()].push_back(index);
    }
    m_tags.push_back(std::move(tag));
}

bool TagIndex::matches(const char16_t *text, const Tag &tag) const
{
    const auto *folded = reinterpret_cast<const char16_t *>(tag.folded.constData());
    const char16_t *exact = tag.find.utf16();
    for (qsizetype i = 1; i < tag.folded.size(); ++i) {
        const char16_t c = text[i];
        if (c == exact[i])
            continue;
        if (tag.mode == MatchMode::Exact || asciiLower(c) != folded[i])
            return false;
    }
    return true;
}

int TagIndex::match(QStringView text, qsizetype pos) const
{
    const qsizetype n = text.size();
    if (pos + 1 >= n)
        return -1;
    const char16_t *d = text.utf16() + pos;
    const char16_t second = asciiLower(d[1]);
    if (second >= 128)
        return -1;
    // A closed tag ends at the first bracket after its "[".
    const qsizetype limit = std::min(n - pos, m_longestClosed);
    std::uint32_t hash = 0;
    for (qsizetype i = 1; i < limit; ++i) {
        const char16_t c = d[i];
        if (c == u'[')
            break;
        hash = step(hash, asciiLower(c));
        if (c == u']') {
            for (std::size_t slot = slotOf(hash, slotCount); m_slots[slot] >= 0;
                 slot = (slot + 1) & (slotCount - 1)) {
                const Tag &tag = m_tags[std::size_t(m_slots[slot])];
                if (tag.folded.size() == i + 1 && matches(d, tag))
                    return tag.id;
            }
            break;
        }
    }
    for (int index : m_open[second]) {
        const Tag &tag = m_tags[std::size_t(index)];
        if (tag.find.size() <= n - pos && matches(d, tag))
            return tag.id;
    }
    return -1;
}

} // namespace quorvane
