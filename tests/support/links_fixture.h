// A test's own client root: $ORV_COMMON_DOCUMENTS points into a scratch
// folder for the test's life, so roots file and program memory are private.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "scratch_folder.h"
#include "support/files.h"
#include "support/text1252.h"

namespace sp {

class TClientRootTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(scratch_.Path().empty());
    ::setenv("ORV_COMMON_DOCUMENTS", scratch_.Path().c_str(), 1);
  }
  void TearDown() override { ::unsetenv("ORV_COMMON_DOCUMENTS"); }

  // Native scratch path of `name`, as Windows-1252 text.
  std::string Scratch(const std::string& name) const { return Utf8ToAnsi(scratch_ / name); }
  // Creates a file (and its folders) with the given lines.
  std::string MakeFile(const std::string& name, const std::vector<std::string>& lines = {"x"}) const {
    const std::string path = Scratch(name);
    SaveStringsRetry(lines, path);
    return path;
  }

  TScratchFolder scratch_;
};

}  // namespace sp
