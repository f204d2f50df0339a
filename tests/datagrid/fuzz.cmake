sheetpull_fuzz_target(gridstream_fuzz
  SOURCE gridstream_fuzz.cpp
  DEPS sp_datagrid_data
  CORPUS "${CMAKE_CURRENT_SOURCE_DIR}/corpus/gridstream")
