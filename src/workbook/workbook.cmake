# Workbook reading: the cell model and the BIFF2-BIFF8 readers.
sheetpull_core_library(sp_workbook
  SOURCES
    wide_text.cpp
    cell_value.cpp
    cell_text.cpp
    cell_reference.cpp
    wide_strings.cpp
    cell_arena.cpp
    spreadsheet_cells.cpp
    spreadsheet.cpp
    spreadsheet_file.cpp
    record_input.cpp
    shared_strings.cpp
    msexcel.cpp
    msexcel_records.cpp
  DEPS sp_support sp_compound)
