sheetpull_test(formlogic_tests
  SOURCES boxtext_test.cpp placement_test.cpp symbolset_test.cpp
  DEPS sp_formlogic)
