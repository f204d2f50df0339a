# Fuzz targets of the workbook reading; each corpus is seeded with fixtures.
sheetpull_fuzz_target(msexcel_fuzz
  SOURCE fuzz/msexcel_fuzz.cpp
  DEPS sp_workbook
  CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/msexcel_corpus)
sheetpull_fuzz_target(compound_fuzz
  SOURCE fuzz/compound_fuzz.cpp
  DEPS sp_compound
  CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/compound_corpus)
