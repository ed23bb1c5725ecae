#pragma once

#include <functional>

namespace quorvane {

class MainForm;

// When the families whose state the first frame does not show (those that
// only wire commands, menus and hidden parts) are made.
enum class Unshown {
    Now,
    // Once the window's first frame is on the screen: the start paints
    // without them.
    AfterFirstPaint,
};

// Wires every command family around the window: the one place that knows them
// all. The window itself knows none of them. `placed` runs once the window's
// size and state are final (the workspace restored), before the other
// families are made: the program shows the window there, so that the window
// manager maps it while they are (nothing is painted before the event loop).
void installCommands(MainForm &form, const std::function<void()> &placed = {},
                     Unshown unshown = Unshown::Now);

// Makes at once the families left for after the first paint, if they are not
// made yet: for whatever needs them sooner.
void installRemainingCommands(MainForm &form);

// Runs `work` once every family is made: at once, or right after the last.
void whenCommandsInstalled(MainForm &form, std::function<void()> work);

} // namespace quorvane
