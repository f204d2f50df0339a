# The workbook loading benchmark program; bench/workbook/run.sh compares it
# with the independent readers on a generated workbook.
add_executable(workbook_bench load_bench.cpp)
target_compile_options(workbook_bench PRIVATE ${SHEETPULL_WARNINGS})
target_link_libraries(workbook_bench PRIVATE sp_workbook)
