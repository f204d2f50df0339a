sheetpull_test(filesys_tests
  SOURCES filesys_test.cpp
  DEPS sp_platform)
target_include_directories(filesys_tests PRIVATE "${PROJECT_SOURCE_DIR}")
