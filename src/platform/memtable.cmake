# The in-memory table with its CSV stream format (order data map, rules store).
sheetpull_core_library(sp_memtable
  SOURCES
    memtable/fielddefs.cpp
    memtable/fieldcodec.cpp
    memtable/memtable.cpp
    memtable/csvformat.cpp
  DEPS sp_platform sp_support)
