target_sources(quorvane_core PRIVATE
  editor/textrules.cpp editor/textrules.h
  editor/tagpairs.cpp editor/tagpairs.h
  editor/choosers.cpp editor/choosers.h)
target_sources(quorvane_widgets PRIVATE
  editor/typer.cpp editor/typer.h
  editor/tagpaircommands.cpp editor/tagpaircommands.h)
# Insert commands and the smilies panel.
target_sources(quorvane_core PRIVATE editor/insertstamps.cpp editor/insertstamps.h)
target_sources(quorvane_widgets PRIVATE
  editor/insertcommands.cpp editor/insertcommands.h
  editor/smiliespanel.cpp editor/smiliespanel.h)
# Find, Replace and the edit commands.
target_sources(quorvane_core PRIVATE editor/search.cpp editor/search.h)
target_sources(quorvane_widgets PRIVATE
  editor/searchpanels.cpp editor/searchpanels.h
  editor/editcommands.cpp editor/editcommands.h)
