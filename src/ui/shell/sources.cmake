# The host: the main window, the one command table, the editor, deferred icons.
target_sources(quorvane_widgets PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/bakedpictures.h
  ${CMAKE_CURRENT_LIST_DIR}/commandtable.cpp
  ${CMAKE_CURRENT_LIST_DIR}/commandtable.h
  ${CMAKE_CURRENT_LIST_DIR}/deferredicon.cpp
  ${CMAKE_CURRENT_LIST_DIR}/deferredicon.h
  ${CMAKE_CURRENT_LIST_DIR}/mainform.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mainform.h
  ${CMAKE_CURRENT_LIST_DIR}/shellstyle.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shellstyle.h
  ${CMAKE_CURRENT_LIST_DIR}/typer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/typer.h)
# The post's one highlighter: tags, code, problems and other underlines.
target_sources(quorvane_widgets PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/markuphighlighter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/markuphighlighter.h)
target_sources(quorvane_widgets PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/livecheck.cpp
  ${CMAKE_CURRENT_LIST_DIR}/livecheck.h)
# Spelling underlines, one more source of the highlighter.
target_sources(quorvane_widgets PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/spellunderlines.cpp
  ${CMAKE_CURRENT_LIST_DIR}/spellunderlines.h)
# Files dropped on the window, and the busy cursor and progress of long work.
target_sources(quorvane_widgets PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/busyindicator.cpp
  ${CMAKE_CURRENT_LIST_DIR}/busyindicator.h
  ${CMAKE_CURRENT_LIST_DIR}/filedrop.cpp
  ${CMAKE_CURRENT_LIST_DIR}/filedrop.h)
