# The order data map's transport: the shared-section stream, value
# compression and the value filer.
find_package(ZLIB REQUIRED)
sheetpull_core_library(sp_transport
  SOURCES
    memorymappedstream.cpp
    compression.cpp
    calcdatafiler.cpp
  DEPS sp_sharedsection sp_memtable ZLIB::ZLIB)
