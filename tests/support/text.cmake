sheetpull_test(text_tests
  SOURCES text1252_test.cpp
  DEPS sp_support)
