#pragma once

#include "forum/bbcodeparser.h"

#include <QString>

namespace quorvane {

// Where smiley pictures come from: the forum's own addresses (the fragment
// as the board writes it) or the program's pictures in its data folder (the
// page the program shows).
struct PictureSource
{
    bool programPictures = false;
    QString dataDir;
};

// The HTML the forum makes of a parsed post.
QString writeForumHtml(const Dialect &dialect, const ParsedPost &post,
                       const PictureSource &pictures = {});

} // namespace quorvane
