// relayhost: the host suite's pipe relay. Serves the pipe "KorvoPipeServer001"
// and passes every message one client sends, unchanged and in order, to
// every other connected client; receivers pick what concerns them. A client
// that ends, breaks the framing or stops reading (more than
// kMaxQueuedBytes waiting for it) is dropped without disturbing the others.
// The relay ends by itself when no client has been connected for the idle
// time, and at once on SIGTERM, SIGINT or SIGHUP.
//
// Usage: relayhost [--pipe NAME] [--idle-ms N]
// Exit status 0, also when another relay already serves the name; 1 when the
// pipe cannot be set up.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/localpipe.h"

namespace sp {
namespace {

constexpr const char* kDefaultPipeName = "KorvoPipeServer001";
constexpr int kDefaultIdleMs = 3000;
constexpr size_t kMaxQueuedBytes = size_t{256} << 20;
constexpr int kMessagesPerPass = 64;
// Many small messages are read with one call.
constexpr size_t kReadBufferSize = 64 * 1024;

struct TOptions {
  std::string pipeName = kDefaultPipeName;
  int idleMs = kDefaultIdleMs;
};

bool ParseOptions(int argc, char** argv, TOptions& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (i + 1 >= argc) return false;
    const std::string value = argv[++i];
    if (option == "--pipe") {
      options.pipeName = value;
    } else if (option == "--idle-ms") {
      char* end = nullptr;
      const long ms = std::strtol(value.c_str(), &end, 10);
      if (*end != '\0' || ms < 0 || ms > 86400000) return false;
      options.idleMs = static_cast<int>(ms);
    } else {
      return false;
    }
  }
  return true;
}

struct TClient {
  explicit TClient(int socket) : fd(socket) {}
  ~TClient() { ::close(fd); }
  TClient(const TClient&) = delete;
  TClient& operator=(const TClient&) = delete;

  int fd;
  TMessageReader reader{kReadBufferSize};
  TMessageWriter writer;
  bool dropped = false;
};

class TRelay {
 public:
  TRelay(TLocalPipeServer& server, int signalFd, int idleMs)
      : server_(server), signalFd_(signalFd), idleMs_(idleMs) {}
  void Run();

 private:
  void AcceptClients();
  void ReadFrom(TClient& sender);
  void FlushAll();
  int IdleTimeout() const;

  TLocalPipeServer& server_;
  const int signalFd_;
  const int idleMs_;
  std::vector<std::unique_ptr<TClient>> clients_;
  uint64_t idleSince_ = TickCount();
};

int TRelay::IdleTimeout() const {
  if (!clients_.empty()) return -1;
  const uint64_t idle = TickCount() - idleSince_;
  return idle >= static_cast<uint64_t>(idleMs_) ? 0 : static_cast<int>(idleMs_ - idle);
}

void TRelay::AcceptClients() {
  for (int fd; (fd = server_.Accept()) >= 0;) clients_.push_back(std::make_unique<TClient>(fd));
}

void TRelay::ReadFrom(TClient& sender) {
  for (int n = 0; n < kMessagesPerPass; ++n) {
    std::string bytes;
    uint32_t error = 0;
    const auto status = sender.reader.Next(sender.fd, bytes, error);
    if (status == TMessageReader::TStatus::WouldBlock) return;
    if (status == TMessageReader::TStatus::Failed) {
      sender.dropped = true;
      return;
    }
    const auto message = std::make_shared<const std::string>(std::move(bytes));
    for (auto& client : clients_) {
      if (client.get() == &sender || client->dropped) continue;
      client->writer.Push(message);
      if (client->writer.QueuedBytes() > kMaxQueuedBytes) client->dropped = true;
    }
  }
}

void TRelay::FlushAll() {
  for (auto& client : clients_) {
    if (client->dropped || !client->writer.Busy()) continue;
    size_t written = 0;
    uint32_t error = 0;
    if (client->writer.Flush(client->fd, written, error) == TMessageWriter::TStatus::Failed) client->dropped = true;
  }
}

void TRelay::Run() {
  std::vector<pollfd> fds;
  while (true) {
    fds.clear();
    fds.push_back({signalFd_, POLLIN, 0});
    fds.push_back({server_.Fd(), POLLIN, 0});
    for (auto& client : clients_)
      fds.push_back({client->fd, static_cast<short>(POLLIN | (client->writer.Busy() ? POLLOUT : 0)), 0});
    const int timeout = IdleTimeout();
    if (timeout == 0) {
      // A client that arrived just now keeps the relay.
      AcceptClients();
      if (clients_.empty()) return;
      continue;
    }
    if (::poll(fds.data(), fds.size(), timeout) < 0) {
      if (errno == EINTR) continue;
      RaiseOSError(errno);
    }
    if (fds[0].revents) return;
    // Clients accepted now have no entry in `fds` yet; they are polled from
    // the next pass on.
    const size_t polled = clients_.size();
    if (fds[1].revents) AcceptClients();
    for (size_t i = 0; i < polled; ++i)
      if (fds[2 + i].revents & (POLLIN | POLLHUP | POLLERR)) ReadFrom(*clients_[i]);
    FlushAll();
    std::erase_if(clients_, [](const std::unique_ptr<TClient>& client) { return client->dropped; });
    if (clients_.empty() && polled > 0) idleSince_ = TickCount();
  }
}

// Detaches from the starting module's session and output, so the relay
// outlives a module that is interrupted and holds none of its files open.
void Detach() {
  ::setsid();
  const int null = ::open("/dev/null", O_RDWR | O_CLOEXEC);
  if (null < 0) return;
  for (int fd = 0; fd <= 2; ++fd) ::dup2(null, fd);
  ::close(null);
}

int RelayMain(int argc, char** argv) {
  TOptions options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr, "usage: relayhost [--pipe NAME] [--idle-ms N]\n");
    return 1;
  }
  sigset_t signals;
  sigemptyset(&signals);
  for (int s : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&signals, s);
  ::sigprocmask(SIG_BLOCK, &signals, nullptr);
  ::signal(SIGPIPE, SIG_IGN);
  const int signalFd = ::signalfd(-1, &signals, SFD_CLOEXEC | SFD_NONBLOCK);
  try {
    if (signalFd < 0) RaiseOSError(errno);
    TLocalPipeServer server;
    if (!server.Listen(options.pipeName)) return 0;
    Detach();
    TRelay(server, signalFd, options.idleMs).Run();
  } catch (const Exception& error) {
    std::fprintf(stderr, "relayhost: %s\n", error.what());
    return 1;
  }
  return 0;
}

}  // namespace
}  // namespace sp

int main(int argc, char** argv) { return sp::RelayMain(argc, argv); }
