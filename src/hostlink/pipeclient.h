// TPipeClient: the client end of a message-mode local pipe, driven by one
// worker thread per connection.
//
// The owner thread (the thread that creates the client; the dispatcher's
// owner) writes whole messages into the write queue and receives whole
// messages, write confirmations, errors and the end of the connection as
// events raised on that thread through the installed dispatcher. It never
// blocks on the pipe. One Write becomes one pipe message; one message read
// becomes one OnPipeMessage with exactly its bytes. The client knows nothing
// of message content.
//
// The worker keeps one read and one write outstanding and sleeps in one poll
// on the socket, the stop event and the queue's event. It takes the next
// messages (up to 64, or 256 KiB) through a synchronous hand-over to the
// owner thread (Dispatcher().Send), so the queue needs no lock, and writes
// them with one call where the socket takes them. Disconnect and the
// destructor keep pumping the dispatcher while they wait for the worker.
//
// Error codes are Windows codes (platform/localpipe.h): 109 when the server
// ends the pipe. Messages still queued when a connection ends (also those
// the worker had taken but not begun) go out after the next Connect; the one
// cut off while being written is lost; Write while disconnected drops the
// bytes.
//
// REQUIRES: a dispatcher is installed before the client is created and stays
// installed until it is destroyed. Every member is called on the owner thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "hostlink/writequeue.h"
#include "platform/errors.h"
#include "platform/localpipe.h"
#include "platform/stream.h"

namespace sp {

class EPipeException : public Exception {
 public:
  using Exception::Exception;
};

enum class TPipeContext { Listener, Worker };

class TPipeClient {
 public:
  static constexpr uint32_t kInvalidPipe = 0xFFFFFFFF;
  static constexpr size_t kMaxPipeNameLength = 63;

  using TOnPipeDisconnect = std::function<void(TPipeClient& sender, uint32_t pipe)>;
  // The stream is positioned at 0 and valid only during the call.
  using TOnPipeMessage = std::function<void(TPipeClient& sender, uint32_t pipe, TStream& stream)>;
  using TOnPipeSent = std::function<void(TPipeClient& sender, uint32_t pipe, uint32_t size)>;
  using TOnPipeError =
      std::function<void(TPipeClient& sender, uint32_t pipe, TPipeContext context, uint32_t errorCode)>;

  TPipeClient();
  ~TPipeClient();
  TPipeClient(const TPipeClient&) = delete;
  TPipeClient& operator=(const TPipeClient&) = delete;

  // Opens the pipe and starts the worker; true when connected (also when it
  // already was). An absent or busy pipe, or a remote server, gives false.
  bool Connect();
  // Stops and frees the worker; nothing when not connected.
  void Disconnect();
  // Queues a private copy of the bytes; returns whether connected (nothing is
  // queued when not, nor when the message is above the pipe's limit).
  bool Write(const void* buffer, uint32_t size);

  // The operating system asks to end the session: the first time this
  // disconnects and raises the session-ending flag, which never clears.
  // Always answers true.
  bool QueryEndSession();
  bool SessionEnding() const { return sessionEnding_; }

  const std::string& PipeName() const { return pipeName_; }
  // Raises EPipeException "Cannot change property when client is
  // connected!" while connected, "Invalid pipe name specified!" (name kept)
  // for an empty name, one above 63 characters or one containing "\".
  void SetPipeName(const std::string& name);
  const std::string& ServerName() const { return serverName_; }
  // Empty or this computer's name (any letter case) is the local machine;
  // any other server cannot be reached. Raises like SetPipeName when connected.
  void SetServerName(const std::string& name);
  // "\\SERVER\pipe\NAME" with "." for the local machine.
  std::string PipePath() const;

  bool Connected() const { return connected_; }
  uint32_t Pipe() const { return pipe_; }
  // Messages not yet written: queued, or taken by the worker and not done.
  int WriteCount() const { return queue_.Count() + taken_; }

  TOnPipeDisconnect OnPipeDisconnect;
  TOnPipeMessage OnPipeMessage;
  TOnPipeSent OnPipeSent;
  TOnPipeError OnPipeError;

 private:
  class TWorker;
  friend class TWorker;

  // Owner-thread side of the worker: the hand-over, and the end of the
  // connection with the messages the worker took but did not begin.
  std::vector<std::unique_ptr<TWriteItem>> TakeForWriting(size_t maxItems, size_t maxBytes);
  void WorkerEnded(uint32_t pipe, std::vector<std::string> unsent);
  bool IsLocalServer() const;
  void JoinWorker();

  bool sessionEnding_ = false;
  bool destroying_ = false;
  uint32_t pipe_ = kInvalidPipe;
  std::string pipeName_ = "KorvoPipeServer001";
  std::string serverName_;
  bool connected_ = false;
  bool workerEnded_ = true;
  TWriteQueue queue_;
  int taken_ = 0;
  std::unique_ptr<TWorker> worker_;
  std::thread thread_;
  TLocalEvent stop_;
  // Jobs the worker posts hold this weakly, so those arriving after the
  // client is gone do nothing. Created and dropped on the owner thread.
  std::shared_ptr<TPipeClient*> self_;
};

}  // namespace sp
