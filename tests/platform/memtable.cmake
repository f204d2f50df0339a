sheetpull_test(memtable_tests
  SOURCES memtable_test.cpp fieldcodec_test.cpp csvformat_test.cpp
  DEPS sp_memtable)
sheetpull_fuzz_target(memtable_map_csv_fuzz
  SOURCE memtable_map_csv_fuzz.cpp
  DEPS sp_memtable
  CORPUS "${CMAKE_CURRENT_SOURCE_DIR}/corpus/memtable_map_csv")
sheetpull_fuzz_target(memtable_store_csv_fuzz
  SOURCE memtable_store_csv_fuzz.cpp
  DEPS sp_memtable
  CORPUS "${CMAKE_CURRENT_SOURCE_DIR}/corpus/memtable_store_csv")
