# xlsdump: prints the sheets and cell texts of a workbook (core, no Qt).
add_executable(xlsdump xlsdump.cpp)
target_compile_options(xlsdump PRIVATE ${SHEETPULL_WARNINGS})
target_link_libraries(xlsdump PRIVATE sp_workbook)
