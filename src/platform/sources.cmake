target_sources(quorvane_core PRIVATE
  platform/paths.cpp platform/paths.h
  platform/singleinstance.cpp platform/singleinstance.h)
target_sources(quorvane_widgets PRIVATE
  platform/userdialogs.cpp platform/userdialogs.h
  platform/launcher.cpp platform/launcher.h platform/endpoints.h)
