# The windows layer of the support library (Qt Widgets).
if(SHEETPULL_WITH_QT)
  sheetpull_windows_library(sp_support_ui
    SOURCES
      ui/qtext.cpp
      ui/qtdispatcher.cpp
    DEPS sp_support)
endif()
