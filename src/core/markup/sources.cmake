# The model of a post's mark-up: tags with positions, the known-tag table and
# the problems a writer should see (no widgets).
target_sources(quorvane_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/knowntags.cpp ${CMAKE_CURRENT_LIST_DIR}/knowntags.h
  ${CMAKE_CURRENT_LIST_DIR}/markuptokens.cpp ${CMAKE_CURRENT_LIST_DIR}/markuptokens.h
  ${CMAKE_CURRENT_LIST_DIR}/markupchecker.cpp ${CMAKE_CURRENT_LIST_DIR}/markupchecker.h
  ${CMAKE_CURRENT_LIST_DIR}/markupreport.cpp ${CMAKE_CURRENT_LIST_DIR}/markupreport.h)
