# Auxiliary windows and the dialogs a person answers.
target_sources(quorvane_widgets PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/aboutform.cpp
  ${CMAKE_CURRENT_LIST_DIR}/aboutform.h
  ${CMAKE_CURRENT_LIST_DIR}/auxiliarywindow.cpp
  ${CMAKE_CURRENT_LIST_DIR}/auxiliarywindow.h
  ${CMAKE_CURRENT_LIST_DIR}/comparewindow.cpp
  ${CMAKE_CURRENT_LIST_DIR}/comparewindow.h
  ${CMAKE_CURRENT_LIST_DIR}/customform.cpp
  ${CMAKE_CURRENT_LIST_DIR}/customform.h
  ${CMAKE_CURRENT_LIST_DIR}/draftoffer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/draftoffer.h
  ${CMAKE_CURRENT_LIST_DIR}/feedbackform.cpp
  ${CMAKE_CURRENT_LIST_DIR}/feedbackform.h
  ${CMAKE_CURRENT_LIST_DIR}/links.cpp
  ${CMAKE_CURRENT_LIST_DIR}/links.h
  ${CMAKE_CURRENT_LIST_DIR}/livepreviewwindow.cpp
  ${CMAKE_CURRENT_LIST_DIR}/livepreviewwindow.h
  ${CMAKE_CURRENT_LIST_DIR}/previewbrowser.cpp
  ${CMAKE_CURRENT_LIST_DIR}/previewbrowser.h
  ${CMAKE_CURRENT_LIST_DIR}/remoteimages.cpp
  ${CMAKE_CURRENT_LIST_DIR}/remoteimages.h
  ${CMAKE_CURRENT_LIST_DIR}/recoverdraftswindow.cpp
  ${CMAKE_CURRENT_LIST_DIR}/recoverdraftswindow.h
  ${CMAKE_CURRENT_LIST_DIR}/userdialogs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/userdialogs.h)
