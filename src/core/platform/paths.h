#pragma once

#include <QString>

namespace quorvane {

// The folder that holds the program's data files ("Smilies", the licence
// document, the preview page): share/quorvane beside an installed binary, or
// the binary's own folder in the build tree. Found relative to the running
// binary, so an installed tree can be moved.
QString programDataDir();

} // namespace quorvane
