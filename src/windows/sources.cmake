# Mail addresses, no widgets.
target_sources(quorvane_core PRIVATE windows/composemail.cpp windows/composemail.h)
# The Help menu, About and feedback windows.
target_sources(quorvane_widgets PRIVATE
  windows/helpcommands.cpp windows/helpcommands.h
  windows/auxiliarywindow.cpp windows/auxiliarywindow.h
  windows/aboutform.cpp windows/aboutform.h
  windows/feedbackform.cpp windows/feedbackform.h
  windows/links.cpp windows/links.h)
