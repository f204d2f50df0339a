# The pipe relay. It goes to bin/ of the build folder, where the module looks
# for it beside its own program file.
add_executable(relayhost relayhost.cpp)
target_compile_options(relayhost PRIVATE ${SHEETPULL_WARNINGS})
target_link_libraries(relayhost PRIVATE sp_localpipe)
set_target_properties(relayhost PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${PROJECT_BINARY_DIR}/bin")
