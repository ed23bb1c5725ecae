#include "conversion/previewcommands.h"

#include "shell/mainform.h"

namespace quorvane {

PreviewCommands::PreviewCommands(MainForm &form) : QObject(&form), m_form(form) {}

} // namespace quorvane
