#pragma once

#include "forum/forum.h"

#include <QString>

namespace quorvane {

// The program's own stylesheet for a forum's default theme (prosilver, SMF's
// default theme, MyBB's default theme): the post box, quote and code boxes,
// fonts and colours, in the CSS QTextBrowser understands.
QString themeStylesheet(Forum forum);

} // namespace quorvane
