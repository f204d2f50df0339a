sheetpull_test(fastini_tests
  SOURCES fastini_test.cpp
  DEPS sp_support)
target_include_directories(fastini_tests PRIVATE "${PROJECT_SOURCE_DIR}")

sheetpull_fuzz_target(fastini_fuzz
  SOURCE fastini_fuzz.cpp
  DEPS sp_support
  CORPUS "${CMAKE_CURRENT_SOURCE_DIR}/corpus/fastini")
