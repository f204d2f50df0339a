sheetpull_test(platform_tests
  SOURCES stream_test.cpp dispatcher_test.cpp process_test.cpp
  DEPS sp_platform)
