#include "editor/insertcommands.h"

#include "shell/mainform.h"

namespace quorvane {

InsertCommands::InsertCommands(MainForm &form) : QObject(&form), m_form(form) {}

} // namespace quorvane
