# Formatted text (HTML, rich text) read into BBCode.
find_package(PkgConfig REQUIRED)
pkg_check_modules(GUMBO REQUIRED IMPORTED_TARGET GLOBAL gumbo)
# Only its header: the library is opened when formatted text is first read.
target_include_directories(quorvane_core PRIVATE ${GUMBO_INCLUDE_DIRS})
target_sources(quorvane_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/bbcodewriter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bbcodewriter.h
  ${CMAKE_CURRENT_LIST_DIR}/csscolors.cpp
  ${CMAKE_CURRENT_LIST_DIR}/csscolors.h
  ${CMAKE_CURRENT_LIST_DIR}/htmlimport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/htmlimport.h
  ${CMAKE_CURRENT_LIST_DIR}/importformat.cpp
  ${CMAKE_CURRENT_LIST_DIR}/importformat.h
  ${CMAKE_CURRENT_LIST_DIR}/importoptions.h
  ${CMAKE_CURRENT_LIST_DIR}/rtfimport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rtfimport.h
  ${CMAKE_CURRENT_LIST_DIR}/shallowhtml.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shallowhtml.h
)
