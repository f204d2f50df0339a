// Test support for everything that talks over local pipes: a private runtime
// folder per test (so tests never meet a relay of another test or of the
// user), a plain dispatcher on the test's thread, and relays started for the
// test that are stopped when it ends.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/dispatcher.h"
#include "platform/localpipe.h"

namespace sp::testing {

class PipeTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts the real relay (built beside the tests) with the given arguments;
  // returns its process number. It is killed at the end of the test.
  int StartRelay(const std::vector<std::string>& arguments = {});
  // Adopts a process started elsewhere, so it is killed at the end too.
  void Adopt(int pid) { processes_.push_back(pid); }
  // Kills one process now and waits for it.
  static void Kill(int pid);
  // Pumps the dispatcher until `done` holds or `ms` passed.
  bool PumpUntil(const std::function<bool()>& done, int ms = 5000) { return dispatcher_.PumpUntil(done, ms); }
  // Waits (without pumping) until the relay's socket exists.
  bool WaitForPipe(const std::string& name = "KorvoPipeServer001", int ms = 5000);

  std::string folder_;
  TPlainDispatcher dispatcher_;

 private:
  std::string oldRuntime_;
  bool hadRuntime_ = false;
  std::vector<int> processes_;
};

// The relay program of this build.
std::string RelayProgramPath();

// A raw end of a local pipe for tests: the server's accepted socket or a
// plain client. Its waits pump the installed dispatcher, so TPipeClient
// workers on the same thread keep being served.
class RawPeer {
 public:
  RawPeer() = default;
  explicit RawPeer(int fd) : fd_(fd) {}
  ~RawPeer() { Close(); }
  RawPeer(RawPeer&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  RawPeer& operator=(RawPeer&& other) noexcept;

  // A client of pipe `name`; invalid when there is no server.
  static RawPeer ConnectTo(const std::string& name = "KorvoPipeServer001");
  bool Valid() const { return fd_ >= 0; }
  int Fd() const { return fd_; }
  // Sends one message; false on failure.
  bool Send(const std::string& bytes, int ms = 5000);
  // Sends raw bytes without framing.
  bool SendRaw(const std::string& bytes);
  // The next message; false when none came within `ms` or the pipe ended.
  bool Receive(std::string& message, int ms = 5000);
  void Close();

 private:
  int fd_ = -1;
  TMessageReader reader_;
};

}  // namespace sp::testing
