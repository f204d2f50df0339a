if(SHEETPULL_WITH_QT)
  sheetpull_test(support_forms_tests
    SOURCES gui_main.cpp messagebox_test.cpp formplacement_test.cpp programchooser_test.cpp
      celleditor_test.cpp
    DEPS sp_support_forms Qt6::Test
    GUI)
endif()
