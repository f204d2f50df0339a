# The support windows: message and input box, window placement and positions,
# busy cursor, program chooser, popup cell editor and symbol picker.
if(SHEETPULL_WITH_QT)
  sheetpull_windows_library(sp_support_forms
    SOURCES
      ui/htmllabel.cpp
      ui/busycursor.cpp
      ui/formplacement.cpp
      ui/messagebox.cpp
      ui/programchooser.cpp
      ui/symboldlg.cpp
      ui/textpopupmenu.cpp
      ui/celleditor.cpp
    DEPS sp_support_ui sp_links sp_formlogic)
endif()
