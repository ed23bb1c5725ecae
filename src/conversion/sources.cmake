# The preview and strip commands of the main window.
target_sources(quorvane_widgets PRIVATE conversion/previewcommands.cpp conversion/previewcommands.h)
target_sources(quorvane_core PRIVATE
  conversion/substitution.cpp conversion/substitution.h)
