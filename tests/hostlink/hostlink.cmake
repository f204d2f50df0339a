# Tests of the host link. The pipe tests run the real relay of this build in
# a private runtime folder per test.
add_library(sp_hostlink_testsupport STATIC pipe_test_support.cpp)
target_include_directories(sp_hostlink_testsupport PUBLIC "${PROJECT_SOURCE_DIR}")
target_compile_options(sp_hostlink_testsupport PRIVATE ${SHEETPULL_WARNINGS})
target_compile_definitions(sp_hostlink_testsupport PRIVATE SP_RELAYHOST_PATH="$<TARGET_FILE:relayhost>")
target_link_libraries(sp_hostlink_testsupport PUBLIC sp_localpipe GTest::gtest)
add_dependencies(sp_hostlink_testsupport relayhost)

sheetpull_test(hostlink_encoding_test
  SOURCES variant_stream_test.cpp message_test.cpp
  DEPS sp_hostlink)
target_include_directories(hostlink_encoding_test PRIVATE "${PROJECT_SOURCE_DIR}")
sheetpull_test(hostlink_pipe_test
  SOURCES pipe_client_test.cpp host_connection_test.cpp
  DEPS sp_hostlink sp_hostlink_testsupport)

sheetpull_fuzz_target(decode_message_fuzz
  SOURCE decode_message_fuzz.cpp
  DEPS sp_hostlink
  CORPUS "${CMAKE_CURRENT_SOURCE_DIR}/corpus/decode_message")
