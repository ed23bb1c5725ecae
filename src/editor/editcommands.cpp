#include "editor/editcommands.h"

#include "shell/mainform.h"

namespace quorvane {

EditCommands::EditCommands(MainForm &form) : QObject(&form), m_form(form) {}

} // namespace quorvane
