sheetpull_test(formlogic_tests
  SOURCES boxtext_test.cpp placement_test.cpp symbolset_test.cpp
  DEPS sp_formlogic)
sheetpull_fuzz_target(formlogic_fuzz
  SOURCE formlogic_fuzz.cpp
  DEPS sp_formlogic
  CORPUS "${CMAKE_CURRENT_SOURCE_DIR}/corpus/formlogic")
