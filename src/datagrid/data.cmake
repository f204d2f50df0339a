# The data grid's data side: columns, rows, row commands, the grid stream and
# the editing rules the widget applies. No Qt.
sheetpull_core_library(sp_datagrid_data
  SOURCES
    column.cpp
    columns.cpp
    griddata.cpp
    gridstream.cpp
    rowmarker.cpp
    cellrules.cpp
    navigation.cpp
    numericrules.cpp
    fitting.cpp
  DEPS sp_support)
