# The recent files: the program's own list and the desktop's shared one.
target_sources(quorvane_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/recentfiles.cpp
  ${CMAKE_CURRENT_LIST_DIR}/recentfiles.h
  ${CMAKE_CURRENT_LIST_DIR}/recentlyused.cpp
  ${CMAKE_CURRENT_LIST_DIR}/recentlyused.h)
