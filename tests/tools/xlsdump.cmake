# xlsdump on the workbook fixtures: output, error texts, exit status.
add_test(NAME xlsdump_test
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/xlsdump_test.sh $<TARGET_FILE:xlsdump>
          ${PROJECT_SOURCE_DIR}/tests/workbook/fixtures ${CMAKE_CURRENT_SOURCE_DIR}/xlsdump)
set_tests_properties(xlsdump_test PROPERTIES LABELS core)
