#include "documents/documentcommands.h"

#include "shell/mainform.h"

namespace quorvane {

DocumentCommands::DocumentCommands(MainForm &form) : QObject(&form), m_form(form) {}

} // namespace quorvane
