# Tests of the workbook reading: the cell model, the compound-document
# reader and the BIFF readers.
sheetpull_test(workbook_tests
  SOURCES
    cell_model_test.cpp
    compound_file_test.cpp
    msexcel_test.cpp
    fixtures_test.cpp
    biff_builder.cpp
  DEPS sp_workbook)
target_compile_definitions(workbook_tests PRIVATE
  WORKBOOK_FIXTURES="${CMAKE_CURRENT_SOURCE_DIR}/fixtures")

