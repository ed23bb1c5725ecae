#pragma once

#include "forum/forum.h"
#include "settings/postlimit.h"

#include <optional>

namespace quorvane::forumlimit {

// The forum choice (Forum menu) and the length profile (Post Length Limit...)
// are one choice where they name the same forum: phpBB 3.3, SMF 2.1 and
// MyBB 1.8 are both a way of showing a post and a length profile.

// The forum a length profile stands for; none for No limit, Discourse and
// Custom.
std::optional<Forum> forumOfProfile(QStringView profile);

// The length choice once `forum` is chosen in the Forum menu: that forum's
// profile with its own numbers (a choice already on it keeps the writer's
// numbers). Generic turns a forum's profile into Custom with the same
// numbers, so the limit the writer counts against stays.
postlimit::Choice limitForForum(Forum forum, const postlimit::Choice &current);

// The forum once `limit` is chosen in the length dialog: a forum's profile
// chooses that forum; Discourse and Custom, which no forum here renders,
// choose Generic; No limit says nothing of the forum and keeps `current`.
Forum forumForLimit(const postlimit::Choice &limit, Forum current);

} // namespace quorvane::forumlimit
