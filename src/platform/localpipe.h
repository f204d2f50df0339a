// Message-mode local pipes on Unix domain stream sockets.
//
// A pipe NAME is the socket NAME in the pipe folder: $XDG_RUNTIME_DIR when it
// is a folder of this user that nobody else may enter, else the folder
// "sheetpull-<uid>" under $TMPDIR (or /tmp), created 0700. Only the same user
// can therefore connect. On the socket every message travels as a 32-bit
// little-endian length and then its bytes; a length above
// kLocalPipeMaxMessage is a protocol error that ends the connection.
//
// Failures are reported as the Windows error codes the host link answers
// (kPipeError*), so callers above need not know the platform.
//
// Every descriptor is created close-on-exec and non-blocking. Unless a class
// says otherwise, an object is used by one thread at a time.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace sp {

inline constexpr uint32_t kLocalPipeMaxMessage = 64u << 20;

inline constexpr uint32_t kPipeErrorInvalidHandle = 6;
inline constexpr uint32_t kPipeErrorNotEnoughMemory = 8;
inline constexpr uint32_t kPipeErrorInvalidData = 13;  // framing broken
inline constexpr uint32_t kPipeErrorBrokenPipe = 109;
inline constexpr uint32_t kPipeErrorNotConnected = 233;
// Codes without a Windows counterpart carry errno with the customer bit set.
inline constexpr uint32_t kPipeErrorErrnoBit = 0x20000000;
uint32_t PipeErrorFromErrno(int error);

// A manual-reset event on an eventfd: readable (for poll) exactly while set.
// IsSet and Fd may be used from any thread; Set and Reset from one thread at
// a time. Raises EOSError when the eventfd cannot be created.
class TLocalEvent {
 public:
  TLocalEvent();
  ~TLocalEvent();
  TLocalEvent(const TLocalEvent&) = delete;
  TLocalEvent& operator=(const TLocalEvent&) = delete;

  void Set();
  void Reset();
  bool IsSet() const { return set_.load(std::memory_order_acquire); }
  int Fd() const { return fd_; }

 private:
  int fd_;
  std::atomic<bool> set_{false};
};

// The pipe folder (ending without "/"), created when needed; empty when no
// private folder can be had.
std::string LocalPipeFolder();
// The socket path of pipe `name`; empty when the folder is unusable or the
// path does not fit a socket address.
std::string LocalPipePath(std::string_view name);

// Connects to the server of pipe `name`. Returns the connected socket, or -1
// when there is no server, it does not accept now, or the folder is unusable.
int ConnectLocalPipe(std::string_view name);

// The server end of a pipe name. A lock file beside the socket makes sure a
// name has one server at a time; a socket left by a server that died is
// replaced. The socket file is removed when the server is destroyed.
class TLocalPipeServer {
 public:
  TLocalPipeServer() = default;
  ~TLocalPipeServer();
  TLocalPipeServer(const TLocalPipeServer&) = delete;
  TLocalPipeServer& operator=(const TLocalPipeServer&) = delete;

  // False when another server holds the name. Raises EOSError when the
  // folder, lock or socket cannot be set up.
  bool Listen(std::string_view name);
  // The listening socket (readable when a client waits), -1 before Listen.
  int Fd() const { return listenFd_; }
  // A newly connected client socket (owned by the caller), or -1.
  int Accept();

 private:
  int listenFd_ = -1;
  int lockFd_ = -1;
  std::string path_;
};

// Cuts the byte stream of a socket into messages.
// The read buffer (4096 bytes unless given) may hold several small messages;
// a message that does not fit is read into its own buffer, sized exactly to
// the message, with exactly its remaining bytes.
class TMessageReader {
 public:
  enum class TStatus { Message, WouldBlock, Failed };
  static constexpr size_t kDefaultBufferSize = 4096;
  explicit TMessageReader(size_t bufferSize = kDefaultBufferSize);
  // Reads from `fd` until one whole message is in `message`, the socket has
  // nothing more for now, or it failed (error code in `error`; the peer's end
  // is kPipeErrorBrokenPipe, a length above the limit kPipeErrorInvalidData).
  TStatus Next(int fd, std::string& message, uint32_t& error);

 private:
  bool TakeBuffered(std::string& message, uint32_t& error, bool& failed);

  std::vector<char> buffer_;
  size_t begin_ = 0;  // unread bytes are buffer_[begin_, end_)
  size_t end_ = 0;
  bool large_ = false;  // a message larger than the buffer is being read
  std::string largeMessage_;
  size_t largeFilled_ = 0;
};

// Writes messages to a socket, length first, in the order they were pushed.
// A message is shared, so one buffer can go to many sockets.
class TMessageWriter {
 public:
  using TMessage = std::shared_ptr<const std::string>;
  enum class TStatus { Done, WouldBlock, Failed };

  void Push(TMessage message);
  bool Busy() const { return !queue_.empty(); }
  size_t QueuedBytes() const { return queuedBytes_; }
  // Writes as much as the socket takes. Done when everything pushed is
  // written; `written` counts the messages completed by this call.
  TStatus Flush(int fd, size_t& written, uint32_t& error);
  // Removes and returns the messages of which nothing was written yet; one
  // cut off in the middle is dropped.
  std::vector<TMessage> TakeUnstarted();

 private:
  struct TEntry {
    TMessage message;
    char prefix[4];
  };
  std::deque<TEntry> queue_;
  size_t offset_ = 0;  // bytes of the front entry (prefix + body) written
  size_t queuedBytes_ = 0;
};

}  // namespace sp
