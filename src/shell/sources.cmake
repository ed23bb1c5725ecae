target_sources(quorvane_widgets PRIVATE
  shell/commandtable.cpp shell/commandtable.h
  shell/deferredicon.cpp shell/deferredicon.h
  shell/mainform.cpp shell/mainform.h)
# Command states and alignment.
target_sources(quorvane_widgets PRIVATE shell/commandstates.cpp shell/commandstates.h)
# Window chrome.
target_sources(quorvane_widgets PRIVATE shell/windowchrome.cpp shell/windowchrome.h)
