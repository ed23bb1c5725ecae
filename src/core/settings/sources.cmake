# Settings keys, their defaults and validated reads.
target_sources(quorvane_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/editorformat.cpp
  ${CMAKE_CURRENT_LIST_DIR}/editorformat.h
  ${CMAKE_CURRENT_LIST_DIR}/filefolders.cpp
  ${CMAKE_CURRENT_LIST_DIR}/filefolders.h
  ${CMAKE_CURRENT_LIST_DIR}/forumchoice.cpp
  ${CMAKE_CURRENT_LIST_DIR}/forumchoice.h
  ${CMAKE_CURRENT_LIST_DIR}/forumlimit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/forumlimit.h
  ${CMAKE_CURRENT_LIST_DIR}/livepreview.cpp
  ${CMAKE_CURRENT_LIST_DIR}/livepreview.h
  ${CMAKE_CURRENT_LIST_DIR}/postlimit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/postlimit.h
  ${CMAKE_CURRENT_LIST_DIR}/quoteauthors.cpp
  ${CMAKE_CURRENT_LIST_DIR}/quoteauthors.h
  ${CMAKE_CURRENT_LIST_DIR}/spelling.cpp
  ${CMAKE_CURRENT_LIST_DIR}/spelling.h
  ${CMAKE_CURRENT_LIST_DIR}/store.cpp
  ${CMAKE_CURRENT_LIST_DIR}/store.h
  ${CMAKE_CURRENT_LIST_DIR}/workspace.cpp
  ${CMAKE_CURRENT_LIST_DIR}/workspace.h)
