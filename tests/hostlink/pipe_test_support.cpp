#include "tests/hostlink/pipe_test_support.h"

#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/clock.h"
#include "platform/localpipe.h"
#include "platform/process.h"

namespace sp::testing {

std::string RelayProgramPath() { return SP_RELAYHOST_PATH; }

void PipeTest::SetUp() {
  char pattern[] = "/tmp/sp-pipe-XXXXXX";
  ASSERT_NE(::mkdtemp(pattern), nullptr);
  folder_ = pattern;
  if (const char* old = std::getenv("XDG_RUNTIME_DIR")) {
    hadRuntime_ = true;
    oldRuntime_ = old;
  }
  ::setenv("XDG_RUNTIME_DIR", folder_.c_str(), 1);
  InstallDispatcher(&dispatcher_);
}

void PipeTest::TearDown() {
  for (int pid : processes_) Kill(pid);
  processes_.clear();
  dispatcher_.RunPending();
  InstallDispatcher(nullptr);
  if (hadRuntime_) ::setenv("XDG_RUNTIME_DIR", oldRuntime_.c_str(), 1);
  else ::unsetenv("XDG_RUNTIME_DIR");
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

int PipeTest::StartRelay(const std::vector<std::string>& arguments) {
  const int pid = StartProcess(RelayProgramPath(), arguments);
  if (pid > 0) processes_.push_back(pid);
  return pid;
}

void PipeTest::Kill(int pid) {
  if (pid <= 0 || !ProcessRunning(pid)) return;
  ::kill(pid, SIGKILL);
  WaitProcess(pid);
}

bool PipeTest::WaitForPipe(const std::string& name, int ms) {
  const uint64_t start = TickCount();
  while (TickCount() - start < static_cast<uint64_t>(ms)) {
    const int fd = ConnectLocalPipe(name);
    if (fd >= 0) {
      ::close(fd);
      return true;
    }
    SleepMs(5);
  }
  return false;
}

RawPeer& RawPeer::operator=(RawPeer&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = other.fd_;
    other.fd_ = -1;
    reader_ = TMessageReader();
  }
  return *this;
}

RawPeer RawPeer::ConnectTo(const std::string& name) { return RawPeer(ConnectLocalPipe(name)); }

void RawPeer::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

bool RawPeer::Send(const std::string& bytes, int ms) {
  TMessageWriter writer;
  writer.Push(std::make_shared<const std::string>(bytes));
  const uint64_t start = TickCount();
  while (TickCount() - start < static_cast<uint64_t>(ms)) {
    size_t written = 0;
    uint32_t error = 0;
    const auto status = writer.Flush(fd_, written, error);
    if (status == TMessageWriter::TStatus::Done) return true;
    if (status == TMessageWriter::TStatus::Failed) return false;
    PumpMessagesFor(1);
  }
  return false;
}

bool RawPeer::SendRaw(const std::string& bytes) {
  return ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
}

bool RawPeer::Receive(std::string& message, int ms) {
  const uint64_t start = TickCount();
  while (TickCount() - start < static_cast<uint64_t>(ms)) {
    uint32_t error = 0;
    const auto status = reader_.Next(fd_, message, error);
    if (status == TMessageReader::TStatus::Message) return true;
    if (status == TMessageReader::TStatus::Failed) return false;
    PumpMessagesFor(1);
  }
  return false;
}

}  // namespace sp::testing
