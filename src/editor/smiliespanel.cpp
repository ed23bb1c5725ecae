#include "editor/smiliespanel.h"

#include "shell/mainform.h"

namespace quorvane {

SmiliesPanel::SmiliesPanel(MainForm &form) : QObject(&form), m_form(form) {}

} // namespace quorvane
