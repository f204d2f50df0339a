#include "hostlink/pipeclient.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <deque>
#include <vector>

#include "hostlink/localnames.h"
#include "platform/dispatcher.h"
#include "support/text1252.h"

namespace sp {

namespace {

// Messages delivered per pass before the worker looks at its other work, so
// a flood of incoming messages cannot starve the writes.
constexpr int kMessagesPerPass = 64;
// What one hand-over takes from the queue at most (at least one message).
constexpr size_t kItemsPerHandOver = 64;
constexpr size_t kBytesPerHandOver = 256 * 1024;

}  // namespace

// The worker of one connection. Runs on its own thread; reaches the client
// only through posted jobs (guarded by the client's weak self) and through
// the synchronous hand-over that takes queued messages, during which the
// client is alive because it waits for the worker before it goes.
//
// Events are posted in batches (the messages of one read pass, the
// confirmations gathered before the worker next waits), so the owner wakes
// once for several; each message still raises its own event, in order.
class TPipeClient::TWorker {
 public:
  TWorker(TPipeClient& client, int fd)
      : client_(client), self_(client.self_), fd_(fd), pipe_(static_cast<uint32_t>(fd)),
        stopFd_(client.stop_.Fd()), queueEvent_(client.queue_.DataAvailable()) {}

  void Run();

 private:
  template <typename Job>
  void PostToClient(Job job) {
    Dispatcher().Post([self = self_, job = std::move(job)]() mutable {
      if (auto client = self.lock()) job(**client);
    });
  }
  bool StartReading(uint32_t& error);
  bool StartWriting(uint32_t& error, bool& terminate);
  bool ContinueWriting(uint32_t& error);
  void PostSent();
  void PostEnd(bool failed, uint32_t error);

  TPipeClient& client_;
  std::weak_ptr<TPipeClient*> self_;
  const int fd_;
  const uint32_t pipe_;
  const int stopFd_;
  TLocalEvent& queueEvent_;
  TMessageReader reader_;
  TMessageWriter writer_;
  std::deque<uint32_t> writingSizes_;  // of the messages in writer_
  std::vector<uint32_t> sentSizes_;    // written, not yet reported
};

void TPipeClient::TWorker::Run() {
  uint32_t error = 0;
  bool failed = false;
  while (true) {
    bool terminate = false;
    if (!StartReading(error) || !StartWriting(error, terminate)) {
      failed = true;
      break;
    }
    if (terminate) break;
    PostSent();
    const bool writing = writer_.Busy();
    pollfd fds[3] = {{stopFd_, POLLIN, 0},
                     {fd_, static_cast<short>(POLLIN | (writing ? POLLOUT : 0)), 0},
                     {queueEvent_.Fd(), POLLIN, 0}};
    if (::poll(fds, writing ? 2 : 3, -1) < 0) {
      if (errno == EINTR) continue;
      error = PipeErrorFromErrno(errno);
      failed = true;
      break;
    }
    if (fds[0].revents) break;
    if (writing && (fds[1].revents & POLLOUT) && !ContinueWriting(error)) {
      failed = true;
      break;
    }
    // Readable socket or hang-up: the next pass reads; queue event: it writes.
  }
  PostSent();
  PostEnd(failed, error);
}

void TPipeClient::TWorker::PostEnd(bool failed, uint32_t error) {
  if (failed && error != kPipeErrorNotConnected)
    PostToClient([pipe = pipe_, error](TPipeClient& client) {
      if (client.OnPipeError) client.OnPipeError(client, pipe, TPipeContext::Worker, error);
    });
  if (error != kPipeErrorInvalidHandle) ::close(fd_);
  // Messages taken but not begun go back to the head of the queue; the one
  // cut off in the middle is lost.
  std::vector<std::string> unsent;
  for (const auto& message : writer_.TakeUnstarted()) unsent.push_back(*message);
  PostToClient([pipe = pipe_, unsent = std::move(unsent)](TPipeClient& client) mutable {
    client.WorkerEnded(pipe, std::move(unsent));
  });
}

bool TPipeClient::TWorker::StartReading(uint32_t& error) {
  std::vector<std::string> messages;
  bool ok = true;
  for (int n = 0; n < kMessagesPerPass; ++n) {
    std::string message;
    const auto status = reader_.Next(fd_, message, error);
    if (status == TMessageReader::TStatus::Message) {
      messages.push_back(std::move(message));
      continue;
    }
    ok = status == TMessageReader::TStatus::WouldBlock;
    break;
  }
  if (!messages.empty())
    PostToClient([pipe = pipe_, messages = std::move(messages)](TPipeClient& client) mutable {
      for (std::string& bytes : messages) {
        if (bytes.empty() || !client.OnPipeMessage) continue;
        TMemoryStream stream(std::move(bytes));
        client.OnPipeMessage(client, pipe, stream);
      }
    });
  return ok;
}

bool TPipeClient::TWorker::StartWriting(uint32_t& error, bool& terminate) {
  if (writer_.Busy() || !queueEvent_.IsSet()) return true;
  PostSent();
  std::vector<std::unique_ptr<TWriteItem>> items;
  try {
    Dispatcher().Send([&] { items = client_.TakeForWriting(kItemsPerHandOver, kBytesPerHandOver); });
  } catch (...) {
    terminate = true;
    return true;
  }
  for (auto& item : items) {
    writingSizes_.push_back(static_cast<uint32_t>(item->Bytes.size()));
    writer_.Push(std::make_shared<const std::string>(std::move(item->Bytes)));
  }
  return items.empty() || ContinueWriting(error);
}

bool TPipeClient::TWorker::ContinueWriting(uint32_t& error) {
  size_t written = 0;
  const auto status = writer_.Flush(fd_, written, error);
  for (; written > 0; --written) {
    sentSizes_.push_back(writingSizes_.front());
    writingSizes_.pop_front();
  }
  return status != TMessageWriter::TStatus::Failed;
}

void TPipeClient::TWorker::PostSent() {
  if (sentSizes_.empty()) return;
  PostToClient([pipe = pipe_, sizes = std::move(sentSizes_)](TPipeClient& client) {
    for (uint32_t size : sizes) {
      --client.taken_;
      if (client.OnPipeSent) client.OnPipeSent(client, pipe, size);
    }
  });
  sentSizes_.clear();
}

// ---- TPipeClient ---------------------------------------------------------

TPipeClient::TPipeClient() : self_(std::make_shared<TPipeClient*>(this)) {}

TPipeClient::~TPipeClient() {
  destroying_ = true;
  Disconnect();
  JoinWorker();
  self_.reset();
}

bool TPipeClient::IsLocalServer() const {
  return serverName_.empty() || serverName_ == "." || SameText(serverName_, ComputerName());
}

std::string TPipeClient::PipePath() const {
  return "\\\\" + (IsLocalServer() ? std::string(".") : serverName_) + "\\pipe\\" + pipeName_;
}

void TPipeClient::JoinWorker() {
  if (thread_.joinable()) thread_.join();
  worker_.reset();
}

bool TPipeClient::Connect() {
  if (connected_) return true;
  if (!IsLocalServer()) return false;
  JoinWorker();
  const int fd = ConnectLocalPipe(pipeName_);
  if (fd < 0) return false;
  stop_.Reset();
  workerEnded_ = false;
  pipe_ = static_cast<uint32_t>(fd);
  connected_ = true;
  worker_ = std::make_unique<TWorker>(*this, fd);
  thread_ = std::thread([worker = worker_.get()] { worker->Run(); });
  return true;
}

void TPipeClient::Disconnect() {
  if (!connected_) return;
  stop_.Set();
  while (!workerEnded_) Dispatcher().PumpFor(1);
  JoinWorker();
  connected_ = false;
}

std::vector<std::unique_ptr<TWriteItem>> TPipeClient::TakeForWriting(size_t maxItems, size_t maxBytes) {
  std::vector<std::unique_ptr<TWriteItem>> items;
  size_t bytes = 0;
  while (items.size() < maxItems && (items.empty() || bytes < maxBytes)) {
    std::unique_ptr<TWriteItem> item = queue_.Dequeue();
    if (!item) break;
    bytes += item->Bytes.size();
    items.push_back(std::move(item));
  }
  taken_ += static_cast<int>(items.size());
  return items;
}

void TPipeClient::WorkerEnded(uint32_t pipe, std::vector<std::string> unsent) {
  queue_.PutBack(std::move(unsent));
  taken_ = 0;
  workerEnded_ = true;
  if (!destroying_ && OnPipeDisconnect) OnPipeDisconnect(*this, pipe);
  pipe_ = kInvalidPipe;
  connected_ = false;
}

bool TPipeClient::Write(const void* buffer, uint32_t size) {
  if (!connected_ || size > kLocalPipeMaxMessage) return false;
  auto item = std::make_unique<TWriteItem>();
  item->Bytes.assign(static_cast<const char*>(buffer), size);
  queue_.Enqueue(std::move(item));
  return true;
}

bool TPipeClient::QueryEndSession() {
  if (!sessionEnding_) {
    Disconnect();
    sessionEnding_ = true;
  }
  return true;
}

void TPipeClient::SetPipeName(const std::string& name) {
  if (connected_) throw EPipeException("Cannot change property when client is connected!");
  if (name.empty() || name.size() > kMaxPipeNameLength || name.find('\\') != std::string::npos)
    throw EPipeException("Invalid pipe name specified!");
  pipeName_ = name;
}

void TPipeClient::SetServerName(const std::string& name) {
  if (connected_) throw EPipeException("Cannot change property when client is connected!");
  serverName_ = name;
}

}  // namespace sp
