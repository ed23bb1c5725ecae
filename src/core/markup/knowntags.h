#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <memory>

namespace quorvane {

struct Dialect;

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
    Single,   // a board's custom tag written without a close
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

    // A board's custom tags (forum/customtags.h): their names are known,
    // those in `singles` need no close, and an opening tag's value is
    // checked by its token's rule in `rules` (the forum's tag set).
    void addBoardTags(const QStringList &names, const QStringList &singles,
                      std::shared_ptr<const Dialect> rules);
    // The rules to check the tag's value by, or none.
    const Dialect *boardRules(int id) const
    {
        return m_boardIds.contains(id) ? m_rules.get() : nullptr;
    }

private:
    void addUserName(const QString &name);

    QStringList m_userNames;     // upper case
    QHash<QString, int> m_index; // upper-case name -> index in m_userNames
    QSet<int> m_singles;         // ids of tags without a close
    QSet<int> m_boardIds;        // ids of a board's custom tags
    std::shared_ptr<const Dialect> m_rules;
};

} // namespace quorvane
