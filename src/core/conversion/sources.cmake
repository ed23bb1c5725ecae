# BBCode to HTML, the preview page, the formatting stripper.
target_sources(quorvane_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/asciipagewriter.h
  ${CMAKE_CURRENT_LIST_DIR}/bbcode.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bbcode.h
  ${CMAKE_CURRENT_LIST_DIR}/previewpage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/previewpage.h
  ${CMAKE_CURRENT_LIST_DIR}/stripper.cpp
  ${CMAKE_CURRENT_LIST_DIR}/stripper.h
  ${CMAKE_CURRENT_LIST_DIR}/substitution.cpp
  ${CMAKE_CURRENT_LIST_DIR}/substitution.h
  ${CMAKE_CURRENT_LIST_DIR}/tagindex.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tagindex.h)
