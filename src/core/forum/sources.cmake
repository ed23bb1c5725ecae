# The forums a post can be written for: their descriptions and the one
# renderer that shows a post as each of them does (no widgets).
target_sources(quorvane_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/forum.cpp ${CMAKE_CURRENT_LIST_DIR}/forum.h
  ${CMAKE_CURRENT_LIST_DIR}/forumpage.cpp ${CMAKE_CURRENT_LIST_DIR}/forumpage.h)
