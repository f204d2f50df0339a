# The window-free part of the support windows: message text, placement
# arithmetic over monitor rectangles, the symbol picker's cells and size.
sheetpull_core_library(sp_formlogic
  SOURCES
    boxtext.cpp
    placement.cpp
    symbolset.cpp
  DEPS sp_support)
