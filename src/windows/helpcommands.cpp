#include "windows/helpcommands.h"

#include "shell/mainform.h"

namespace quorvane {

HelpCommands::HelpCommands(MainForm &form) : QObject(&form), m_form(form) {}

} // namespace quorvane
