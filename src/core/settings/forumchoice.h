#pragma once

#include "forum/forum.h"

namespace quorvane::forumchoice {

// The forum the writer chose for the whole program, in the same per-user
// store as the editor format ("Forum" group).
inline constexpr char group[] = "Forum";
inline constexpr char chosenKey[] = "Chosen"; // a forumKey()

// The stored forum; Generic when none was chosen or the key is unknown.
Forum read();
void write(Forum forum);
// Forgets the whole group (tests start from the default).
void forget();

} // namespace quorvane::forumchoice
