#pragma once

#include <QString>

namespace quorvane {

// Ends the desktop's "starting" feedback (busy cursor, taskbar entry) for a
// later start that handed its file to the running copy and ended without a
// window of its own: the startup-notification "remove" message for the
// DESKTOP_STARTUP_ID it was given, sent by the running copy on X11. Does
// nothing elsewhere or for an empty id.
void completeStartup(const QString &startupId);

} // namespace quorvane

namespace quorvane {

// Sends what the program has queued for the display now (X11; nothing
// elsewhere), so that a frame just drawn is on the screen before long work
// starts: Qt holds the first frame back while a window manager's frame
// synchronisation is still being set up.
void flushDisplay();

} // namespace quorvane
