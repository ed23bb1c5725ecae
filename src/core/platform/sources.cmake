# The command line, paths, the single-instance lock and its socket,
# termination signals, the desktop launcher, outward addresses, mail, the
# font configuration read ahead, the loader of the web fetching module, and
# the version, application id and modules' folder from the top-level
# CMakeLists.txt.
configure_file(${CMAKE_CURRENT_LIST_DIR}/appinfo.h.in ${CMAKE_CURRENT_BINARY_DIR}/platform/appinfo.h
  @ONLY)
target_sources(quorvane_core PRIVATE
  ${CMAKE_CURRENT_BINARY_DIR}/platform/appinfo.h
  ${CMAKE_CURRENT_LIST_DIR}/commandline.cpp
  ${CMAKE_CURRENT_LIST_DIR}/commandline.h
  ${CMAKE_CURRENT_LIST_DIR}/composemail.cpp
  ${CMAKE_CURRENT_LIST_DIR}/composemail.h
  ${CMAKE_CURRENT_LIST_DIR}/endpoints.h
  ${CMAKE_CURRENT_LIST_DIR}/fontwarmup.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fontwarmup.h
  ${CMAKE_CURRENT_LIST_DIR}/instancechannel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/instancechannel.h
  ${CMAKE_CURRENT_LIST_DIR}/launcher.cpp
  ${CMAKE_CURRENT_LIST_DIR}/launcher.h
  ${CMAKE_CURRENT_LIST_DIR}/ondemandlibrary.h
  ${CMAKE_CURRENT_LIST_DIR}/paths.cpp
  ${CMAKE_CURRENT_LIST_DIR}/paths.h
  ${CMAKE_CURRENT_LIST_DIR}/signalwatcher.cpp
  ${CMAKE_CURRENT_LIST_DIR}/startupnotice.cpp
  ${CMAKE_CURRENT_LIST_DIR}/startupnotice.h
  ${CMAKE_CURRENT_LIST_DIR}/signalwatcher.h
  ${CMAKE_CURRENT_LIST_DIR}/webfetch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/webfetch.h
  ${CMAKE_CURRENT_LIST_DIR}/singleinstance.cpp
  ${CMAKE_CURRENT_LIST_DIR}/singleinstance.h
  ${CMAKE_CURRENT_LIST_DIR}/workerthreads.cpp
  ${CMAKE_CURRENT_LIST_DIR}/workerthreads.h)
# X11's startup messages; the font configuration read ahead.
find_package(PkgConfig REQUIRED)
pkg_check_modules(XCB REQUIRED IMPORTED_TARGET xcb)
pkg_check_modules(FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
target_link_libraries(quorvane_core PRIVATE PkgConfig::XCB PkgConfig::FONTCONFIG)
