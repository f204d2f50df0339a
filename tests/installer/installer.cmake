sheetpull_test(installer_tests
  SOURCES profileini_test.cpp plugreg_test.cpp
  DEPS sp_installer)
target_include_directories(installer_tests PRIVATE "${PROJECT_SOURCE_DIR}")
target_compile_definitions(installer_tests PRIVATE PLUGREG_PROGRAM="$<TARGET_FILE:plugreg>")
add_dependencies(installer_tests plugreg)
