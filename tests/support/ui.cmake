if(SHEETPULL_WITH_QT)
  sheetpull_test(support_ui_tests
    SOURCES ui_test.cpp
    DEPS sp_support_ui
    GUI)
endif()
