#include "platform/process.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace sp {
namespace {

TEST(Process, ArgumentsArriveUnparsed) {
  const std::string out = "/tmp/sp_process_args_" + std::to_string(::getpid());
  const std::string marker = out + ".pwned";
  // A shell would run the second command; an argument vector never does.
  const int pid = StartProcess("/bin/sh", {"-c", "printf '%s|' \"$@\" > " + out, "sh", "a b", "; touch " + marker, "$HOME"});
  ASSERT_GT(pid, 0);
  EXPECT_EQ(WaitProcess(pid), 0);
  std::ifstream in(out);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text, "a b|; touch " + marker + "|$HOME|");
  EXPECT_FALSE(std::ifstream(marker).good());
  std::remove(out.c_str());
}

TEST(Process, StatusRunningAndFailedStart) {
  EXPECT_EQ(StartProcess("/nonexistent/program", {}), 0);
  EXPECT_EQ(StartProcess("no-such-program-anywhere", {}), 0);
  const int pid = StartProcess("sleep", {"0.2"});
  ASSERT_GT(pid, 0);
  EXPECT_TRUE(ProcessRunning(pid));
  EXPECT_EQ(WaitProcess(pid), 0);
  EXPECT_FALSE(ProcessRunning(pid));
  const int failing = StartProcess("/bin/sh", {"-c", "exit 3"});
  EXPECT_EQ(WaitProcess(failing), 3);
  EXPECT_NE(ExecutablePath().find("platform_tests"), std::string::npos);
}

}  // namespace
}  // namespace sp
