#pragma once

#include "forum/forum.h"

#include <QString>
#include <QStringView>

namespace quorvane {

// The HTML fragment the forum's own code makes of a post (what stands inside
// a post's body on the board). For Forum::Generic: the preview page's own
// conversion of the post (its page is the preview page of
// conversion/previewpage.h).
QString renderForumHtml(Forum forum, QStringView post);

// A whole page showing the post as the forum's default theme does: the
// fragment inside a post box, with the program's own stylesheet for that
// theme. Pictures the forum would take from the board (smilies) are taken
// from dataDir. Shown by Live Preview and written by Preview in Browser.
QString forumPageHtml(Forum forum, QStringView post, const QString &dataDir);

} // namespace quorvane
