#include "shell/windowchrome.h"

#include "shell/mainform.h"

namespace quorvane {

WindowChrome::WindowChrome(MainForm &form) : QObject(&form), m_form(form) {}

} // namespace quorvane
