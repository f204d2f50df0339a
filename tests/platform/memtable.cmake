sheetpull_test(memtable_tests
  SOURCES memtable_test.cpp fieldcodec_test.cpp csvformat_test.cpp
  DEPS sp_memtable)
