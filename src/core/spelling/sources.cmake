# Spelling: Enchant's dictionaries and which words of a post are prose.
find_package(PkgConfig REQUIRED)
pkg_check_modules(ENCHANT REQUIRED IMPORTED_TARGET GLOBAL enchant-2)
# Only its header: the library is opened when spelling first needs it.
target_include_directories(quorvane_core PRIVATE ${ENCHANT_INCLUDE_DIRS})
target_sources(quorvane_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/speller.cpp ${CMAKE_CURRENT_LIST_DIR}/speller.h
  ${CMAKE_CURRENT_LIST_DIR}/languagescripts.cpp ${CMAKE_CURRENT_LIST_DIR}/languagescripts.h
  ${CMAKE_CURRENT_LIST_DIR}/prosewords.cpp ${CMAKE_CURRENT_LIST_DIR}/prosewords.h
  ${CMAKE_CURRENT_LIST_DIR}/checkreport.cpp ${CMAKE_CURRENT_LIST_DIR}/checkreport.h)
