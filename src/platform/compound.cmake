# The compound-document reader that stands in for structured storage.
sheetpull_core_library(sp_compound
  SOURCES
    compound/compound_file.cpp
    compound/compound_stream.cpp
  DEPS sp_platform)
