#pragma once

#include <QString>

namespace quorvane::filefolders {

// The folder the file dialogs start in, in the same per-user store as the
// editor format ("FileDialogs" group): the one the writer last chose a file
// in, so a post is saved beside the one opened before.
inline constexpr char group[] = "FileDialogs";
inline constexpr char lastFolderKey[] = "LastFolder";

// The remembered folder when it is an absolute path to a folder that still
// exists, else the home folder (never the working directory, which is
// wherever the program happened to be started).
QString startFolder();
// Remembers the folder of a file chosen in a dialog.
void rememberFolderOf(const QString &chosenFile);
// Forgets the remembered folder (tests start from the first run).
void forget();

} // namespace quorvane::filefolders
