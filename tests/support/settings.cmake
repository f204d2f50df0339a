sheetpull_test(settings_tests
  SOURCES settings_test.cpp
  DEPS sp_support)
target_include_directories(settings_tests PRIVATE "${PROJECT_SOURCE_DIR}")
