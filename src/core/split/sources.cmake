# How long a post is as a forum counts it, and splitting a post into parts
# that each fit a forum's limit (no widgets).
target_sources(quorvane_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/postlength.cpp ${CMAKE_CURRENT_LIST_DIR}/postlength.h
  ${CMAKE_CURRENT_LIST_DIR}/postsplitter.cpp ${CMAKE_CURRENT_LIST_DIR}/postsplitter.h
  ${CMAKE_CURRENT_LIST_DIR}/posttally.cpp ${CMAKE_CURRENT_LIST_DIR}/posttally.h)
