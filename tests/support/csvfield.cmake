sheetpull_test(csvfield_tests
  SOURCES csvfield_test.cpp
  DEPS sp_support)
