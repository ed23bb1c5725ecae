# The live preview's page: the post, or the part around the caret, as a
# document with each line's place in it.
target_sources(quorvane_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/livepage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/livepage.h)
