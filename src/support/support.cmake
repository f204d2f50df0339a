# The core of the support library: text, formats, files and folders, INI,
# settings, links. No Qt (the support windows live in ui/).
sheetpull_core_library(sp_support
  SOURCES
    text1252.cpp
    numberformat.cpp
    dateformat.cpp
    csvfield.cpp
    files.cpp
    texttools.cpp
    fileex.cpp
    inifile.cpp
    iniscan.cpp
    iniitems.cpp
    fastini.cpp
    settings.cpp
  DEPS sp_platform)
