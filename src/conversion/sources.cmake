# Files of src/conversion: the substitution engine, the preview conversion and
# page, and the formatting stripper (no widgets).
target_sources(quorvane_core PRIVATE
  conversion/substitution.cpp conversion/substitution.h
  conversion/tagindex.cpp conversion/tagindex.h
  conversion/bbcode.cpp conversion/bbcode.h
  conversion/stripper.cpp conversion/stripper.h
  conversion/previewpage.cpp conversion/previewpage.h conversion/asciipagewriter.h)
# The preview and strip commands of the main window.
target_sources(quorvane_widgets PRIVATE conversion/previewcommands.cpp conversion/previewcommands.h)
