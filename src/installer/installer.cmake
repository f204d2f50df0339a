# The module installer: registration in the host's INI files and the plugreg
# program. Core only: no Qt, nothing of the module's windows.
sheetpull_core_library(sp_installer
  SOURCES profileini.cpp registration.cpp cursorfiles.cpp
  DEPS sp_support)

add_executable(plugreg plugreg_main.cpp)
target_compile_options(plugreg PRIVATE ${SHEETPULL_WARNINGS})
target_link_libraries(plugreg PRIVATE sp_installer)
