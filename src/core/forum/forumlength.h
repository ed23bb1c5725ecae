#pragma once

#include "forum/dialect.h"
#include "forum/forum.h"

#include <QStringView>

namespace quorvane {

// A post's length as a forum measures it when the post is submitted, and the
// forum's limit. The post is as the editor holds it: a line break is LF or
// CR LF (a lone CR is one too), which every forum receives as CR LF.
struct ForumLength
{
    qsizetype counted = 0;
    qsizetype limit = 0;
    bool fits() const { return counted <= limit; }
};

// Not for Forum::Generic, which has no limit.
ForumLength forumLength(Forum forum, QStringView post);

// The whole post counted by `counting`, with the forum's trimming of its ends.
qsizetype countedLength(Counting counting, QStringView post);

} // namespace quorvane
