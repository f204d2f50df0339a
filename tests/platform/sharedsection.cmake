sheetpull_test(sharedsection_tests
  SOURCES sharedsection_test.cpp
  DEPS sp_sharedsection)
