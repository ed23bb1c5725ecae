#pragma once

#include <functional>

namespace quorvane {

class MainForm;

// Wires every command family around the window: the one place that knows them
// all. The window itself knows none of them. `placed` runs once the window's
// size and state are final (the workspace restored), before the other
// families are made: the program shows the window there, so that the window
// manager maps it while they are (nothing is painted before the event loop).
void installCommands(MainForm &form, const std::function<void()> &placed = {});

} // namespace quorvane
