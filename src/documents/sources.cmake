# Files of src/documents: target_sources(quorvane_core|quorvane_widgets PRIVATE ...)
target_sources(quorvane_core PRIVATE
  documents/codepages.cpp
  documents/documentfile.cpp
  documents/rtfreader.cpp
)
# The document commands of the main window.
target_sources(quorvane_widgets PRIVATE documents/documentcommands.cpp documents/documentcommands.h)
