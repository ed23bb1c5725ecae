#include "editor/searchpanels.h"

#include "shell/mainform.h"

namespace quorvane {

SearchPanels::SearchPanels(MainForm &form) : QObject(&form), m_form(form) {}

} // namespace quorvane
