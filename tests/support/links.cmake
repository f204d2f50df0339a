sheetpull_test(links_tests
  SOURCES stringlistex_test.cpp links_test.cpp opendocument_test.cpp
  DEPS sp_links)
sheetpull_fuzz_target(links_fuzz
  SOURCE links_fuzz.cpp
  DEPS sp_links
  CORPUS "${CMAKE_CURRENT_SOURCE_DIR}/corpus/links")
