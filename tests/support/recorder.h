// Stand-in programs for tests of document opening: scripts that write their
// tag and arguments (one per line) to <tag>.out in a scratch folder, put
// first on PATH as the desktop opener, so no real program ever starts.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/filesys.h"
#include "scratch_folder.h"
#include "support/files.h"
#include "support/text1252.h"

namespace sp {

class TRecorderPrograms {
 public:
  // The desktop opener records with the tag "opener"; ChosenProgram() with "chosen".
  explicit TRecorderPrograms(const TScratchFolder& scratch) : scratch_(scratch) {
    oldPath_ = EnvironmentText("PATH");
    ::setenv("PATH", (scratch_ / "bin" + ":" + oldPath_).c_str(), 1);
    Make("bin/xdg-open", "opener");
    chosen_ = Make("bin/chosen-program", "chosen");
  }
  ~TRecorderPrograms() { ::setenv("PATH", oldPath_.c_str(), 1); }
  TRecorderPrograms(const TRecorderPrograms&) = delete;
  TRecorderPrograms& operator=(const TRecorderPrograms&) = delete;

  const std::string& ChosenProgram() const { return chosen_; }
  std::string Opener() const { return Utf8ToAnsi(scratch_ / "bin/xdg-open"); }

  // The lines the program with this tag wrote: its tag, the number of
  // arguments, each argument. Waits for them; empty when they never came.
  std::vector<std::string> Recorded(const std::string& tag) const {
    const std::string path = Utf8ToAnsi(scratch_ / (tag + ".out"));
    const uint64_t giveUp = TickCount() + 20000;
    while (!FileExistsSafe(path) && TickCount() < giveUp) SleepMs(20);
    std::vector<std::string> lines;
    LoadStringsRetry(lines, path);
    return lines;
  }

 private:
  std::string Make(const std::string& name, const std::string& tag) {
    const std::string out = scratch_ / (tag + ".out");
    const std::string path = scratch_ / name;
    ForceFolder(ExtractFilePath(Utf8ToAnsi(path)));
    const std::string script = "#!/bin/sh\nprintf '%s\\n' " + tag + " \"$#\" \"$@\" > '" + out + ".tmp' && mv '" +
                               out + ".tmp' '" + out + "'\n";
    EXPECT_EQ(ReplaceFileContent(path, script), 0);
    ChangeMode(path, 0755);
    return Utf8ToAnsi(path);
  }

  const TScratchFolder& scratch_;
  std::string oldPath_;
  std::string chosen_;
};

}  // namespace sp
