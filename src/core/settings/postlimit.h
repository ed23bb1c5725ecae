#pragma once

#include "forum/forum.h"
#include "split/postlength.h"

#include <QString>

namespace quorvane::postlimit {

// The post length limit the writer chose and the split window's part labels,
// in the same per-user store as the editor format ("PostLength" group).
inline constexpr char group[] = "PostLength";
inline constexpr char profileKey[] = "Profile";     // a forum profile's key, or "none"
inline constexpr char limitKey[] = "Limit";         // characters, 1..maxLimit
inline constexpr char countTagsKey[] = "CountTags"; // true or false
inline constexpr char lineBreakKey[] = "LineBreak"; // 1 or 2
inline constexpr char labelsKey[] = "PartLabels";
inline constexpr char labelTemplateKey[] = "LabelTemplate";
inline constexpr char labelAtTopKey[] = "LabelAtTop";

inline constexpr char noLimit[] = "none";
inline constexpr qsizetype maxLimit = 100'000'000;
inline constexpr char defaultLabelTemplate[] = "(%1/%2)";

struct Choice
{
    QString profile = QString::fromLatin1(noLimit);
    qsizetype limit = 0; // 0 when there is no limit
    LengthRule rule;

    bool hasLimit() const { return limit > 0; }
    friend bool operator==(const Choice &, const Choice &) = default;
};

struct Labels
{
    bool on = false;
    QString labelTemplate = QString::fromLatin1(defaultLabelTemplate);
    bool atTop = true;
};

// The limit and counting in force when `forum` is the chosen forum: with that
// forum's profile, its limit as set and the forum's counting; no limit, or
// any other profile (Discourse, Custom, another forum's), stays as chosen.
// Generic changes nothing.
Choice inForce(const Choice &stored, Forum forum);

// The stored choice; anything missing or out of range falls back to the
// profile's own value, an unknown profile to no limit.
Choice read();
void write(const Choice &choice);
Labels readLabels();
void writeLabels(const Labels &labels);
// Forgets the whole group (tests start from the defaults).
void forget();

} // namespace quorvane::postlimit
