#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>

namespace quorvane {

// What a tag accepts after "=".
enum class TagValue : std::uint8_t {
    None,     // [B]
    Optional, // [URL] or [URL=...]
    Required, // [FONT=...]
};

// How the checker treats a known tag beyond pairing.
enum class TagRule : std::uint8_t {
    Plain,
    Size,     // value 1..7
    Colour,   // value must not be empty
    FontName, // value must not be empty
    Address,  // URL, EMAIL, IMG: a target in the value or the contents
    List,     // value 1, a, A, i or I
    ListItem, // [*]: only inside a list, needs no closing tag
    Verbatim, // contents are text: CODE, HTML, PHP, NOPARSE
};

struct TagInfo
{
    const char *name; // upper case
    TagValue value;
    TagRule rule;
};

// The tags this program writes and converts, those other forums use, and the
// names a writer added for their own forum. Names compare case-insensitively
// (ASCII letters only, so look-alike letters from other scripts never match).
class KnownTags
{
public:
    static constexpr int unknown = -1;

    KnownTags() = default;
    explicit KnownTags(const QStringList &userNames);

    // The id of the tag with this name, or `unknown`.
    int find(QStringView name) const;
    const TagInfo &info(int id) const;
    bool isUserTag(int id) const { return id >= builtInCount(); }

    static int builtInCount();
    // The id of a built-in tag by its upper-case name; for callers that need
    // one tag (the list item, the list) without spelling out ids.
    static int builtIn(const char *name);

    const QStringList &userNames() const { return m_userNames; }
    // A valid user tag name: a letter, then letters, digits, "_" or "-".
    static bool isValidName(QStringView name);

private:
    QStringList m_userNames; // upper case
};

} // namespace quorvane
