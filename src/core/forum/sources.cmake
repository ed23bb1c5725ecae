# The forums a post can be written for: their descriptions and the one
# parser and writer that show a post as each of them does (no widgets).
target_sources(quorvane_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/forum.cpp ${CMAKE_CURRENT_LIST_DIR}/forum.h
  ${CMAKE_CURRENT_LIST_DIR}/dialect.h ${CMAKE_CURRENT_LIST_DIR}/dialects.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bbcodeparser.cpp ${CMAKE_CURRENT_LIST_DIR}/bbcodeparser.h
  ${CMAKE_CURRENT_LIST_DIR}/tokens.cpp
  ${CMAKE_CURRENT_LIST_DIR}/customtags.cpp ${CMAKE_CURRENT_LIST_DIR}/customtags.h
  ${CMAKE_CURRENT_LIST_DIR}/forumwriter.cpp ${CMAKE_CURRENT_LIST_DIR}/forumwriter.h
  ${CMAKE_CURRENT_LIST_DIR}/themes.cpp ${CMAKE_CURRENT_LIST_DIR}/themes.h
  ${CMAKE_CURRENT_LIST_DIR}/forumpage.cpp ${CMAKE_CURRENT_LIST_DIR}/forumpage.h
  ${CMAKE_CURRENT_LIST_DIR}/forumlength.cpp ${CMAKE_CURRENT_LIST_DIR}/forumlength.h
  ${CMAKE_CURRENT_LIST_DIR}/forumwarnings.cpp ${CMAKE_CURRENT_LIST_DIR}/forumwarnings.h
  ${CMAKE_CURRENT_LIST_DIR}/forumtags.cpp ${CMAKE_CURRENT_LIST_DIR}/forumtags.h
  ${CMAKE_CURRENT_LIST_DIR}/forumtable.cpp ${CMAKE_CURRENT_LIST_DIR}/forumtable.h
  ${CMAKE_CURRENT_LIST_DIR}/forumquote.cpp ${CMAKE_CURRENT_LIST_DIR}/forumquote.h
  ${CMAKE_CURRENT_LIST_DIR}/forumadapt.cpp ${CMAKE_CURRENT_LIST_DIR}/forumadapt.h
  ${CMAKE_CURRENT_LIST_DIR}/writertags.cpp ${CMAKE_CURRENT_LIST_DIR}/writertags.h
  ${CMAKE_CURRENT_LIST_DIR}/tagshape.h)
