sheetpull_test(formatting_tests
  SOURCES formatting_test.cpp
  DEPS sp_support)
