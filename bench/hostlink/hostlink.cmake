# Round trips and throughput of the host link through the real relay.
add_executable(pipe_bench pipe_bench.cpp)
target_compile_options(pipe_bench PRIVATE ${SHEETPULL_WARNINGS})
target_compile_definitions(pipe_bench PRIVATE SP_RELAYHOST_PATH="$<TARGET_FILE:relayhost>")
target_link_libraries(pipe_bench PRIVATE sp_hostlink)
add_dependencies(pipe_bench relayhost)
