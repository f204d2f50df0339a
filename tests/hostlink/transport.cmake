sheetpull_test(transport_tests
  SOURCES memorymappedstream_test.cpp compression_test.cpp calcdatafiler_test.cpp
  DEPS sp_transport)
