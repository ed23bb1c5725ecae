target_sources(quorvane_core PRIVATE settings/editorformat.cpp settings/editorformat.h)
target_sources(quorvane_widgets PRIVATE settings/customform.cpp settings/customform.h)
