# Files of src/documents: target_sources(quorvane_core|quorvane_widgets PRIVATE ...)
target_sources(quorvane_core PRIVATE
  documents/codepages.cpp
  documents/documentfile.cpp
  documents/rtfreader.cpp
)
