#pragma once

namespace quorvane {

class MainForm;

// Wires every command family around the window: the one place that knows them
// all. The window itself knows none of them.
void installCommands(MainForm &form);

} // namespace quorvane
