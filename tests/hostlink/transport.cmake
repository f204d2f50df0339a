sheetpull_test(transport_tests
  SOURCES memorymappedstream_test.cpp compression_test.cpp calcdatafiler_test.cpp maptransport_test.cpp
  DEPS sp_transport)
sheetpull_fuzz_target(decompress_fuzz
  SOURCE decompress_fuzz.cpp
  DEPS sp_transport
  CORPUS "${CMAKE_CURRENT_SOURCE_DIR}/corpus/decompress")
