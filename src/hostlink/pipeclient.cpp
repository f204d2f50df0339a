#include "hostlink/pipeclient.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "hostlink/localnames.h"
#include "platform/dispatcher.h"
#include "support/text1252.h"

namespace sp {

namespace {

// Messages delivered per pass before the worker looks at its other work, so
// a flood of incoming messages cannot starve the writes.
constexpr int kMessagesPerPass = 64;

}  // namespace

// The worker of one connection. Runs on its own thread; reaches the client
// only through posted jobs (guarded by the client's weak self) and through
// the synchronous Dequeue hand-over, during which the client is alive
// because it waits for the worker before it goes.
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

  TPipeClient& client_;
  std::weak_ptr<TPipeClient*> self_;
  const int fd_;
  const uint32_t pipe_;
  const int stopFd_;
  TLocalEvent& queueEvent_;
  TMessageReader reader_;
  TMessageWriter writer_;
  uint32_t writeSize_ = 0;
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
  if (failed && error != kPipeErrorNotConnected)
    PostToClient([pipe = pipe_, error](TPipeClient& client) {
      if (client.OnPipeError) client.OnPipeError(client, pipe, TPipeContext::Worker, error);
    });
  if (error != kPipeErrorInvalidHandle) ::close(fd_);
  PostToClient([pipe = pipe_](TPipeClient& client) { client.WorkerEnded(pipe); });
}

bool TPipeClient::TWorker::StartReading(uint32_t& error) {
  for (int delivered = 0; delivered < kMessagesPerPass; ++delivered) {
    std::string message;
    switch (reader_.Next(fd_, message, error)) {
      case TMessageReader::TStatus::Message:
        PostToClient([pipe = pipe_, bytes = std::move(message)](TPipeClient& client) mutable {
          if (bytes.empty() || !client.OnPipeMessage) return;
          TMemoryStream stream(std::move(bytes));
          client.OnPipeMessage(client, pipe, stream);
        });
        break;
      case TMessageReader::TStatus::WouldBlock:
        return true;
      case TMessageReader::TStatus::Failed:
        return false;
    }
  }
  return true;
}

bool TPipeClient::TWorker::StartWriting(uint32_t& error, bool& terminate) {
  if (writer_.Busy() || !queueEvent_.IsSet()) return true;
  std::unique_ptr<TWriteItem> item;
  try {
    Dispatcher().Send([&] { item = client_.queue_.Dequeue(); });
  } catch (...) {
    terminate = true;
    return true;
  }
  if (!item) return true;
  writeSize_ = static_cast<uint32_t>(item->Bytes.size());
  writer_.Push(std::make_shared<const std::string>(std::move(item->Bytes)));
  return ContinueWriting(error);
}

bool TPipeClient::TWorker::ContinueWriting(uint32_t& error) {
  size_t written = 0;
  const auto status = writer_.Flush(fd_, written, error);
  if (status == TMessageWriter::TStatus::Failed) return false;
  if (status == TMessageWriter::TStatus::Done)
    PostToClient([pipe = pipe_, size = writeSize_](TPipeClient& client) {
      if (client.OnPipeSent) client.OnPipeSent(client, pipe, size);
    });
  return true;
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

void TPipeClient::WorkerEnded(uint32_t pipe) {
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
