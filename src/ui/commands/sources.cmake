# One command family per file pair, and the function that installs them all.
target_sources(quorvane_widgets PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/commandstates.cpp
  ${CMAKE_CURRENT_LIST_DIR}/commandstates.h
  ${CMAKE_CURRENT_LIST_DIR}/documentcommands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/documentcommands.h
  ${CMAKE_CURRENT_LIST_DIR}/editcommands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/editcommands.h
  ${CMAKE_CURRENT_LIST_DIR}/helpcommands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/helpcommands.h
  ${CMAKE_CURRENT_LIST_DIR}/insertcommands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/insertcommands.h
  ${CMAKE_CURRENT_LIST_DIR}/installcommands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/installcommands.h
  ${CMAKE_CURRENT_LIST_DIR}/previewcommands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/previewcommands.h
  ${CMAKE_CURRENT_LIST_DIR}/searchpanels.cpp
  ${CMAKE_CURRENT_LIST_DIR}/searchpanels.h
  ${CMAKE_CURRENT_LIST_DIR}/smiliespanel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/smiliespanel.h
  ${CMAKE_CURRENT_LIST_DIR}/tagpaircommands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tagpaircommands.h
  ${CMAKE_CURRENT_LIST_DIR}/windowchrome.cpp
  ${CMAKE_CURRENT_LIST_DIR}/windowchrome.h)
