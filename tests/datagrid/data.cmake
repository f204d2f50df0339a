sheetpull_test(datagrid_data_tests
  SOURCES
    column_test.cpp
    griddata_test.cpp
    gridstream_test.cpp
    rules_test.cpp
  DEPS sp_datagrid_data)
