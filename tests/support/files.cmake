sheetpull_test(files_tests
  SOURCES files_test.cpp texttools_test.cpp
  DEPS sp_support)
target_include_directories(files_tests PRIVATE "${PROJECT_SOURCE_DIR}")
