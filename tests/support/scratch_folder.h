// File-system helpers of the tests: a fresh folder under the system temp
// folder for one test, removed with everything in it when the object goes
// (Path() is native and ends with "/"), and reading back what was written.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/filesys.h"

namespace sp {

// The file's bytes; a failed read is a test failure.
inline std::string Content(const std::string& path) {
  std::string bytes;
  EXPECT_EQ(ReadWholeFile(path, bytes), 0) << path;
  return bytes;
}

// The names in a folder, sorted; folders get a trailing "/".
inline std::vector<std::string> Names(const std::string& folder) {
  std::vector<TFolderEntry> entries;
  EXPECT_EQ(ListFolder(folder, entries), 0) << folder;
  std::vector<std::string> names;
  for (const auto& e : entries) names.push_back(e.name + (e.isFolder ? "/" : ""));
  std::sort(names.begin(), names.end());
  return names;
}

class TScratchFolder {
 public:
  TScratchFolder() {
    std::string pattern = SystemTempFolder() + "/sp-test-XXXXXX";
    if (::mkdtemp(pattern.data())) path_ = pattern + "/";
  }
  ~TScratchFolder() {
    if (!path_.empty()) RemoveTree(path_.substr(0, path_.size() - 1));
  }
  TScratchFolder(const TScratchFolder&) = delete;
  TScratchFolder& operator=(const TScratchFolder&) = delete;

  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

}  // namespace sp
