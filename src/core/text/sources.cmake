# Text rules, tag pairs, the choosers' tables, the smilies, date and time
# stamps, search.
target_sources(quorvane_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/choosers.cpp
  ${CMAKE_CURRENT_LIST_DIR}/choosers.h
  ${CMAKE_CURRENT_LIST_DIR}/emojisequence.cpp
  ${CMAKE_CURRENT_LIST_DIR}/emojisequence.h
  ${CMAKE_CURRENT_LIST_DIR}/insertstamps.cpp
  ${CMAKE_CURRENT_LIST_DIR}/insertstamps.h
  ${CMAKE_CURRENT_LIST_DIR}/search.cpp
  ${CMAKE_CURRENT_LIST_DIR}/search.h
  ${CMAKE_CURRENT_LIST_DIR}/smilies.h
  ${CMAKE_CURRENT_LIST_DIR}/tagpairs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tagpairs.h
  ${CMAKE_CURRENT_LIST_DIR}/textdiff.cpp
  ${CMAKE_CURRENT_LIST_DIR}/textdiff.h
  ${CMAKE_CURRENT_LIST_DIR}/textrules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/textrules.h)
