sheetpull_test(localpipe_test
  SOURCES localpipe_test.cpp
  DEPS sp_localpipe)
