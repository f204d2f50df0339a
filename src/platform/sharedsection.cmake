# Named shared memory sections: the host creates one, the module opens it.
sheetpull_core_library(sp_sharedsection
  SOURCES sharedsection.cpp
  DEPS sp_platform)
# shm_open lives in librt on older C libraries.
find_library(SHEETPULL_RT_LIBRARY rt)
if(SHEETPULL_RT_LIBRARY)
  target_link_libraries(sp_sharedsection PUBLIC ${SHEETPULL_RT_LIBRARY})
endif()
