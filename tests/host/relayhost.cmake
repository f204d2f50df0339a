# The relay as a process: broadcast, robustness, lifetime.
sheetpull_test(relayhost_test
  SOURCES relayhost_test.cpp
  DEPS sp_hostlink_testsupport sp_platform)
