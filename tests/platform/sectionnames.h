// Section names unique to this test process, so parallel test runs and
// left-overs of a crashed run never meet.
#pragma once

#include <unistd.h>

#include <string>

namespace sp::testing {

inline std::string UniqueSectionName(const std::string& tag) {
  static int counter = 0;
  return "Local\\sptest-" + std::to_string(::getpid()) + "-" + tag + "-" + std::to_string(++counter);
}

}  // namespace sp::testing
