# The Help menu, About and feedback windows.
target_sources(quorvane_widgets PRIVATE windows/helpcommands.cpp windows/helpcommands.h)
