#include "platform/localpipe.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

namespace sp {
namespace {

// Points $XDG_RUNTIME_DIR (and $TMPDIR) at folders of the test.
class LocalPipeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/sp-localpipe-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    root_ = pattern;
    Remember("XDG_RUNTIME_DIR", runtime_);
    Remember("TMPDIR", tmp_);
    ::setenv("XDG_RUNTIME_DIR", root_.c_str(), 1);
  }
  void TearDown() override {
    Restore("XDG_RUNTIME_DIR", runtime_);
    Restore("TMPDIR", tmp_);
    std::filesystem::remove_all(root_);
  }

  using Saved = std::pair<bool, std::string>;
  static void Remember(const char* name, Saved& saved) {
    const char* value = std::getenv(name);
    saved = {value != nullptr, value ? value : ""};
  }
  static void Restore(const char* name, const Saved& saved) {
    if (saved.first) ::setenv(name, saved.second.c_str(), 1);
    else ::unsetenv(name);
  }

  std::string root_;
  Saved runtime_, tmp_;
};

struct SocketPair {
  SocketPair() {
    int fds[2];
    EXPECT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0, fds), 0);
    a = fds[0];
    b = fds[1];
  }
  ~SocketPair() {
    if (a >= 0) ::close(a);
    if (b >= 0) ::close(b);
  }
  int a, b;
};

std::string Frame(const std::string& body) {
  const auto n = static_cast<uint32_t>(body.size());
  return std::string{static_cast<char>(n), static_cast<char>(n >> 8), static_cast<char>(n >> 16),
                     static_cast<char>(n >> 24)} +
         body;
}

TEST_F(LocalPipeTest, UsesAPrivateRuntimeFolderElseItsOwnUnderTemp) {
  EXPECT_EQ(LocalPipeFolder(), root_);
  EXPECT_EQ(LocalPipePath("Name"), root_ + "/Name");
  EXPECT_EQ(LocalPipePath(""), "");
  EXPECT_EQ(LocalPipePath("a/b"), "");
  EXPECT_EQ(LocalPipePath(std::string(200, 'n')), "");

  // A runtime folder others may enter is not used.
  ASSERT_EQ(::chmod(root_.c_str(), 0755), 0);
  const std::string tmp = root_ + "/tmp";
  ASSERT_EQ(::mkdir(tmp.c_str(), 0777), 0);
  ::setenv("TMPDIR", tmp.c_str(), 1);
  const std::string fallback = tmp + "/sheetpull-" + std::to_string(::getuid());
  EXPECT_EQ(LocalPipeFolder(), fallback);
  struct stat st {};
  ASSERT_EQ(::stat(fallback.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);

  // Nor a fallback folder that someone opened up.
  ASSERT_EQ(::chmod(fallback.c_str(), 0777), 0);
  EXPECT_EQ(LocalPipeFolder(), "");
  EXPECT_EQ(ConnectLocalPipe("Name"), -1);
}

TEST_F(LocalPipeTest, OneServerPerNameAndStaleSocketsAreReplaced) {
  EXPECT_EQ(ConnectLocalPipe("Relay"), -1);
  {
    TLocalPipeServer server;
    ASSERT_TRUE(server.Listen("Relay"));
    TLocalPipeServer second;
    EXPECT_FALSE(second.Listen("Relay"));
    const int client = ConnectLocalPipe("Relay");
    EXPECT_GE(client, 0);
    pollfd fd{server.Fd(), POLLIN, 0};
    ASSERT_EQ(::poll(&fd, 1, 1000), 1);
    const int accepted = server.Accept();
    EXPECT_GE(accepted, 0);
    ::close(accepted);
    ::close(client);
  }
  EXPECT_FALSE(std::filesystem::exists(root_ + "/Relay"));
  // A socket file left behind by a server that died is taken over.
  const int stale = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string path = root_ + "/Relay";
  std::memcpy(address.sun_path, path.c_str(), path.size());
  ASSERT_EQ(::bind(stale, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ::close(stale);
  EXPECT_EQ(ConnectLocalPipe("Relay"), -1);
  TLocalPipeServer server;
  EXPECT_TRUE(server.Listen("Relay"));
  const int client = ConnectLocalPipe("Relay");
  EXPECT_GE(client, 0);
  ::close(client);
}

TEST_F(LocalPipeTest, ReaderReassemblesMessagesFromAnyPieces) {
  SocketPair pair;
  const std::string big(100000, 'x');
  const std::string stream = Frame("one") + Frame("") + Frame(big) + Frame(std::string(4092, 'f')) + Frame("two");
  TMessageReader reader;
  std::vector<std::string> got;
  // Every piece size from a single byte to more than the read buffer.
  size_t sent = 0;
  size_t piece = 1;
  while (got.size() < 5) {
    if (sent < stream.size()) {
      const size_t n = std::min(piece, stream.size() - sent);
      ASSERT_EQ(::send(pair.a, stream.data() + sent, n, 0), static_cast<ssize_t>(n));
      sent += n;
      piece = piece * 3 + 1;
    }
    std::string message;
    uint32_t error = 0;
    const auto status = reader.Next(pair.b, message, error);
    ASSERT_NE(status, TMessageReader::TStatus::Failed) << error;
    if (status == TMessageReader::TStatus::Message) got.push_back(message);
    if (status == TMessageReader::TStatus::WouldBlock) {
      ASSERT_LT(sent, stream.size());
    }
  }
  EXPECT_EQ(got, (std::vector<std::string>{"one", "", big, std::string(4092, 'f'), "two"}));
}

TEST_F(LocalPipeTest, ReaderReportsTheEndAndBrokenFraming) {
  struct Case {
    const char* what;
    std::string bytes;
    uint32_t error;
  };
  const Case cases[] = {
      {"peer ends", "", kPipeErrorBrokenPipe},
      {"peer ends inside a message", Frame("abcdef").substr(0, 7), kPipeErrorBrokenPipe},
      {"length above 64 MiB", std::string("\x01\x00\x00\x04", 4), kPipeErrorInvalidData},
  };
  for (const auto& c : cases) {
    SocketPair pair;
    ASSERT_EQ(::send(pair.a, c.bytes.data(), c.bytes.size(), 0), static_cast<ssize_t>(c.bytes.size()));
    ::close(pair.a);
    pair.a = -1;
    TMessageReader reader;
    std::string message;
    uint32_t error = 0;
    EXPECT_EQ(reader.Next(pair.b, message, error), TMessageReader::TStatus::Failed) << c.what;
    EXPECT_EQ(error, c.error) << c.what;
  }
  // Exactly 64 MiB is still a message.
  SocketPair pair;
  ASSERT_EQ(::send(pair.a, "\x00\x00\x00\x04", 4, 0), 4);
  TMessageReader reader;
  std::string message;
  uint32_t error = 0;
  EXPECT_EQ(reader.Next(pair.b, message, error), TMessageReader::TStatus::WouldBlock);
}

TEST_F(LocalPipeTest, WriterFinishesPartialWritesInOrder) {
  SocketPair pair;
  int small = 4096;
  ::setsockopt(pair.a, SOL_SOCKET, SO_SNDBUF, &small, sizeof small);
  TMessageWriter writer;
  const std::string big(300000, 'w');
  writer.Push(std::make_shared<const std::string>(big));
  writer.Push(std::make_shared<const std::string>(""));
  writer.Push(std::make_shared<const std::string>("last"));
  EXPECT_EQ(writer.QueuedBytes(), big.size() + 4 + 4 + 8);
  TMessageReader reader;
  std::vector<std::string> got;
  size_t completed = 0;
  while (got.size() < 3) {
    size_t written = 0;
    uint32_t error = 0;
    ASSERT_NE(writer.Flush(pair.a, written, error), TMessageWriter::TStatus::Failed);
    completed += written;
    std::string message;
    while (reader.Next(pair.b, message, error) == TMessageReader::TStatus::Message) got.push_back(message);
  }
  EXPECT_EQ(completed, 3u);
  EXPECT_FALSE(writer.Busy());
  EXPECT_EQ(writer.QueuedBytes(), 0u);
  EXPECT_EQ(got, (std::vector<std::string>{big, "", "last"}));

  ::close(pair.b);
  pair.b = -1;
  writer.Push(std::make_shared<const std::string>("nobody reads"));
  size_t written = 0;
  uint32_t error = 0;
  EXPECT_EQ(writer.Flush(pair.a, written, error), TMessageWriter::TStatus::Failed);
  EXPECT_EQ(error, kPipeErrorBrokenPipe);
}

TEST_F(LocalPipeTest, EventIsReadableExactlyWhileSet) {
  TLocalEvent event;
  auto readable = [&] {
    pollfd fd{event.Fd(), POLLIN, 0};
    return ::poll(&fd, 1, 0) == 1;
  };
  EXPECT_FALSE(event.IsSet());
  EXPECT_FALSE(readable());
  event.Set();
  event.Set();
  EXPECT_TRUE(event.IsSet());
  EXPECT_TRUE(readable());
  event.Reset();
  EXPECT_FALSE(event.IsSet());
  EXPECT_FALSE(readable());
  // A waiter in another thread wakes when the event is set.
  std::thread waiter([&] {
    pollfd fd{event.Fd(), POLLIN, 0};
    EXPECT_EQ(::poll(&fd, 1, 5000), 1);
  });
  event.Set();
  waiter.join();
}

TEST(PipeErrors, ErrnoBecomesTheHostLinkCodes) {
  EXPECT_EQ(PipeErrorFromErrno(EPIPE), kPipeErrorBrokenPipe);
  EXPECT_EQ(PipeErrorFromErrno(ECONNRESET), kPipeErrorBrokenPipe);
  EXPECT_EQ(PipeErrorFromErrno(ENOTCONN), kPipeErrorNotConnected);
  EXPECT_EQ(PipeErrorFromErrno(EBADF), kPipeErrorInvalidHandle);
  EXPECT_EQ(PipeErrorFromErrno(EACCES), kPipeErrorErrnoBit | EACCES);
}

}  // namespace
}  // namespace sp
