#include "shell/commandstates.h"

#include "shell/mainform.h"

namespace quorvane {

CommandStates::CommandStates(MainForm &form) : QObject(&form), m_form(form) {}

} // namespace quorvane
