# Helpers that every subsystem's CMakeLists.txt uses, so that warnings, layers,
# tests and fuzz targets are declared the same way everywhere.

set(SHEETPULL_WARNINGS -Wall -Wextra -Wpedantic -Wshadow=local -Wno-unused-parameter)

# sheetpull_core_library(NAME SOURCES ... DEPS ...)
# A core library: C++ standard library, POSIX, zlib, SQLite. Linking Qt into
# one is a configure error, so the layer line cannot be crossed by accident.
function(sheetpull_core_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
  target_compile_options(${name} PRIVATE ${SHEETPULL_WARNINGS})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  foreach(dep IN LISTS ARG_DEPS)
    if(dep MATCHES "^Qt6?::")
      message(FATAL_ERROR "core library ${name} must not link ${dep}")
    endif()
  endforeach()
  set_property(GLOBAL APPEND PROPERTY SHEETPULL_CORE_TARGETS ${name})
endfunction()

# sheetpull_windows_library(NAME SOURCES ... DEPS ...): a Qt Widgets library.
function(sheetpull_windows_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
  target_compile_options(${name} PRIVATE ${SHEETPULL_WARNINGS})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} Qt6::Widgets)
endfunction()

# sheetpull_test(NAME SOURCES ... DEPS ... [GUI])
# A GoogleTest program registered with ctest. GUI tests are labelled "gui"
# and run offscreen; all others are labelled "core".
function(sheetpull_test name)
  cmake_parse_arguments(ARG "GUI" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE ${SHEETPULL_WARNINGS})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main)
  if(ARG_GUI)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    set(label gui)
  else()
    set(label core)
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    PROPERTIES LABELS ${label} ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# sheetpull_fuzz_target(NAME SOURCE file DEPS ... CORPUS dir)
# With SHEETPULL_FUZZ a libFuzzer program NAME; always a replay program
# NAME_replay that feeds every file of the corpus folder to the same entry
# point, registered as an ordinary test.
function(sheetpull_fuzz_target name)
  cmake_parse_arguments(ARG "" "SOURCE;CORPUS" "DEPS" ${ARGN})
  if(SHEETPULL_FUZZ)
    add_executable(${name} ${ARG_SOURCE})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  endif()
  add_executable(${name}_replay ${ARG_SOURCE})
  target_link_libraries(${name}_replay PRIVATE ${ARG_DEPS} sheetpull_fuzz_replay)
  add_test(NAME ${name}_replay COMMAND ${name}_replay "${ARG_CORPUS}")
  set_tests_properties(${name}_replay PROPERTIES LABELS core)
endfunction()

include(GoogleTest)

# Folders shared by several areas hold one CMake fragment (*.cmake) per area;
# a folder's CMakeLists.txt is just this call.
macro(sheetpull_include_fragments)
  file(GLOB _fragments CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cmake")
  list(SORT _fragments)
  foreach(_fragment IN LISTS _fragments)
    include("${_fragment}")
  endforeach()
endmacro()
