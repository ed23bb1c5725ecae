# Reading and writing posts: plain text, code pages, rich text.
target_sources(quorvane_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/codepages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/codepages.h
  ${CMAKE_CURRENT_LIST_DIR}/documentfile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/documentfile.h
  ${CMAKE_CURRENT_LIST_DIR}/rtfreader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rtfreader.h)
