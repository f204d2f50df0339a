sheetpull_test(fastini_tests
  SOURCES fastini_test.cpp
  DEPS sp_support)
target_include_directories(fastini_tests PRIVATE "${PROJECT_SOURCE_DIR}")
