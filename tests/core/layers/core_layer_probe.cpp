// Compiled as core code: must fail, because the core's include root does not
// hold the widgets layer.
#include "shell/mainform.h"
