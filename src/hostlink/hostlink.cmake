# The host link: pipe client, variant stream, host protocol and connection.
sheetpull_core_library(sp_hostlink
  SOURCES
    variant.cpp
    variantstream.cpp
    fastmemorystream.cpp
    internalmessage.cpp
    hostmessage.cpp
    localnames.cpp
    writequeue.cpp
    pipeclient.cpp
    clientconnect.cpp
    hostconnection.cpp
  DEPS sp_localpipe sp_support sp_platform)
