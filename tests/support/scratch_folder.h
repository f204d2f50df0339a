// A fresh folder under the system temp folder for one test, removed with
// everything in it when the object goes. Path() is native and ends with "/".
#pragma once

#include <stdlib.h>

#include <string>

#include "platform/filesys.h"

namespace sp {

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
