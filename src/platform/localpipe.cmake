# Message-mode local pipes (Unix domain sockets) for the host link and the relay.
sheetpull_core_library(sp_localpipe
  SOURCES localpipe.cpp
  DEPS sp_platform)
