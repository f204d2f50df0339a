# Document links and opening documents: core, used by the transfer and by the
# windows alike.
sheetpull_core_library(sp_links
  SOURCES
    stringlistex.cpp
    busyhook.cpp
    links.cpp
    workerpool.cpp
    opendocument.cpp
  DEPS sp_support)
