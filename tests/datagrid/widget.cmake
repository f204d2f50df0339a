if(SHEETPULL_WITH_QT)
  sheetpull_test(datagrid_widget_tests
    SOURCES widget_test.cpp
    DEPS sp_datagrid Qt6::Test
    GUI)
endif()
