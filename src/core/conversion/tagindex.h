#pragma once

#include "conversion/substitution.h"

#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>
#include <vector>

namespace quorvane {

// Finds which of a set of bracket tags starts at a "[" with one table look-up:
// every tag is "[" plus characters other than brackets, and either ends with
// "]" or is open-ended ("[URL="). No tag may be a prefix of another, so at
// most one matches at a position.
class TagIndex
{
public:
    static constexpr qsizetype maxLength = 40;

    void add(QStringView find, MatchMode mode, int id);

    // The id of the tag that matches at text[pos], or -1.
    int match(QStringView text, qsizetype pos) const;

private:
    struct Tag
    {
        QString folded; // ASCII letters in lower case
        QStringView find;
        MatchMode mode;
        int id;
    };

    static constexpr std::size_t slotCount = 512; // a power of two, well above the tag count

    bool matches(const char16_t *text, const Tag &tag) const;

    std::vector<Tag> m_tags;
    // Closed tags by a hash of their folded text, open addressing.
    std::array<std::int16_t, slotCount> m_slots = [] {
        std::array<std::int16_t, slotCount> table{};
        table.fill(-1);
        return table;
    }();
    // Open-ended tags by their folded second character.
    std::array<std::vector<int>, 128> m_open;
    qsizetype m_longestClosed = 0;
};

} // namespace quorvane
