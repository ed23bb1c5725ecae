#pragma once

namespace quorvane::test {

// Runs the test `filter` of this test program again in a child that sees no
// dictionary: the Hunspell folder hidden behind an empty one in a mount
// namespace of its own (Enchant reads that folder whatever the environment
// says), Enchant's other places pointed at an empty folder. The child sees
// QUORVANE_NO_DICTIONARY_CHILD set. Skips where mount namespaces are not
// allowed.
void runWithoutDictionaries(const char *filter);

} // namespace quorvane::test
