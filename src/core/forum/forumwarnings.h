#pragma once

#include "forum/forum.h"
#include "markup/markupchecker.h"

#include <QStringView>

#include <vector>

namespace quorvane {

// What a forum will do with a post other than what its writer meant, found
// by reading the post as that forum does beside the program's own check:
// tags it shows as text, quotes it removes, sizes it refuses, sizes and links
// that mean something else there. Each warning sits on the tag it concerns
// and names the forum ("SMF 2.1 shows [list=1] as text: use [list
// type=decimal]"); in order of position. None for Forum::Generic.
//
// `analysis` is the program's check of the same text (analyseMarkup with
// `tags`); the writer's own tags (user tags) are left alone. Line breaks may
// be LF, CR LF or the editor's paragraph separators.
std::vector<MarkupProblem> forumWarnings(Forum forum, QStringView post,
                                         const MarkupAnalysis &analysis, const KnownTags &tags);

} // namespace quorvane
