# The INI benchmark compares with QSettings, so it needs Qt Core.
if(SHEETPULL_WITH_QT)
  add_executable(fastini_bench fastini_bench.cpp)
  target_compile_options(fastini_bench PRIVATE ${SHEETPULL_WARNINGS})
  target_link_libraries(fastini_bench PRIVATE sp_support Qt6::Core)
endif()
