# The data grid widget (Qt Widgets) on the data side.
if(SHEETPULL_WITH_QT)
  sheetpull_windows_library(sp_datagrid
    SOURCES
      widget/qtlook.cpp
      widget/inplaceeditors.cpp
      widget/itemmodel.cpp
      widget/celldelegate.cpp
      widget/datagrid.cpp
    DEPS sp_datagrid_data sp_support_ui)
endif()
