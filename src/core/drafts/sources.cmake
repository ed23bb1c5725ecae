# Drafts: every post journalled to the per-user data folder as it is typed.
target_sources(quorvane_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/draftstore.cpp ${CMAKE_CURRENT_LIST_DIR}/draftstore.h
  ${CMAKE_CURRENT_LIST_DIR}/draftwriter.cpp ${CMAKE_CURRENT_LIST_DIR}/draftwriter.h
  ${CMAKE_CURRENT_LIST_DIR}/pruning.cpp ${CMAKE_CURRENT_LIST_DIR}/pruning.h
  ${CMAKE_CURRENT_LIST_DIR}/snapshot.cpp ${CMAKE_CURRENT_LIST_DIR}/snapshot.h)
