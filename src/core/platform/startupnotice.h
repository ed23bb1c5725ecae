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
