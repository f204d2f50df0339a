sheetpull_core_library(sp_platform
  SOURCES errors.cpp stream.cpp clock.cpp dispatcher.cpp process.cpp filesys.cpp
  DEPS Threads::Threads)
