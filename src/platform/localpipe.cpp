#include "platform/localpipe.h"

#include <fcntl.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/errors.h"

namespace sp {

namespace {

constexpr size_t kIovecPairs = 64;

// A folder that only this user may enter: ours, a real folder (no link), no
// permission bits for group or others.
bool IsPrivateFolder(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return false;
  return S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 077) == 0;
}

std::string TempPipeFolder() {
  const char* tmp = std::getenv("TMPDIR");
  std::string base = tmp && *tmp ? tmp : "/tmp";
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  const std::string folder = base + "/sheetpull-" + std::to_string(::getuid());
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return {};
  return IsPrivateFolder(folder) ? folder : std::string();
}

bool FillAddress(const std::string& path, sockaddr_un& address) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.data(), path.size());
  return true;
}

void PutLittleEndian32(char* out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

uint32_t GetLittleEndian32(const char* in) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(in[i]);
  return value;
}

}  // namespace

uint32_t PipeErrorFromErrno(int error) {
  switch (error) {
    case EPIPE:
    case ECONNRESET:
      return kPipeErrorBrokenPipe;
    case ENOTCONN:
      return kPipeErrorNotConnected;
    case EBADF:
      return kPipeErrorInvalidHandle;
    case ENOMEM:
    case ENOBUFS:
      return kPipeErrorNotEnoughMemory;
    default:
      return kPipeErrorErrnoBit | static_cast<uint32_t>(error);
  }
}

// ---- TLocalEvent ---------------------------------------------------------

TLocalEvent::TLocalEvent() : fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
  if (fd_ < 0) RaiseOSError(errno);
}

TLocalEvent::~TLocalEvent() { ::close(fd_); }

void TLocalEvent::Set() {
  if (set_.exchange(true, std::memory_order_acq_rel)) return;
  const uint64_t one = 1;
  while (::write(fd_, &one, sizeof one) < 0 && errno == EINTR) {
  }
}

void TLocalEvent::Reset() {
  if (!set_.exchange(false, std::memory_order_acq_rel)) return;
  uint64_t count = 0;
  while (::read(fd_, &count, sizeof count) < 0 && errno == EINTR) {
  }
}

// ---- Folder and connecting -----------------------------------------------

std::string LocalPipeFolder() {
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) {
    std::string folder = runtime;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    if (IsPrivateFolder(folder)) return folder;
  }
  return TempPipeFolder();
}

std::string LocalPipePath(std::string_view name) {
  if (name.empty() || name.find('/') != std::string_view::npos) return {};
  const std::string folder = LocalPipeFolder();
  if (folder.empty()) return {};
  std::string path = folder + "/" + std::string(name);
  sockaddr_un address;
  return FillAddress(path, address) ? path : std::string();
}

int ConnectLocalPipe(std::string_view name) {
  sockaddr_un address;
  if (!FillAddress(LocalPipePath(name), address)) return -1;
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  int r;
  do r = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
  while (r != 0 && errno == EINTR);
  if (r != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// ---- TLocalPipeServer ----------------------------------------------------

TLocalPipeServer::~TLocalPipeServer() {
  if (listenFd_ >= 0) {
    ::unlink(path_.c_str());
    ::close(listenFd_);
  }
  if (lockFd_ >= 0) ::close(lockFd_);
}

bool TLocalPipeServer::Listen(std::string_view name) {
  const std::string path = LocalPipePath(name);
  sockaddr_un address;
  if (!FillAddress(path, address)) throw EOSError("No private folder for the pipe " + std::string(name), ENAMETOOLONG);

  const std::string lockPath = path + ".lock";
  const int lockFd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (lockFd < 0) RaiseOSError(errno);
  if (::flock(lockFd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    ::close(lockFd);
    if (error == EWOULDBLOCK) return false;
    RaiseOSError(error);
  }
  // The lock is ours, so a socket file still there belongs to a dead server.
  ::unlink(path.c_str());
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0 || ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(fd, 64) != 0) {
    const int error = errno;
    if (fd >= 0) ::close(fd);
    ::close(lockFd);
    RaiseOSError(error);
  }
  listenFd_ = fd;
  lockFd_ = lockFd;
  path_ = path;
  return true;
}

int TLocalPipeServer::Accept() {
  if (listenFd_ < 0) return -1;
  int fd;
  do fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
  while (fd < 0 && errno == EINTR);
  return fd;
}

// ---- TMessageReader ------------------------------------------------------

TMessageReader::TMessageReader(size_t bufferSize) : buffer_(std::max<size_t>(bufferSize, 4)) {}

bool TMessageReader::TakeBuffered(std::string& message, uint32_t& error, bool& failed) {
  const size_t available = end_ - begin_;
  if (available < 4) return false;
  const uint32_t length = GetLittleEndian32(buffer_.data() + begin_);
  if (length > kLocalPipeMaxMessage) {
    error = kPipeErrorInvalidData;
    failed = true;
    return false;
  }
  if (available - 4 >= length) {
    message.assign(buffer_.data() + begin_ + 4, length);
    begin_ += 4 + static_cast<size_t>(length);
    return true;
  }
  if (4 + static_cast<size_t>(length) > buffer_.size()) {
    largeMessage_.resize(length);
    largeFilled_ = available - 4;
    std::memcpy(largeMessage_.data(), buffer_.data() + begin_ + 4, largeFilled_);
    begin_ = end_ = 0;
    large_ = true;
  }
  return false;
}

TMessageReader::TStatus TMessageReader::Next(int fd, std::string& message, uint32_t& error) {
  while (true) {
    char* target;
    size_t room;
    if (large_) {
      if (largeFilled_ == largeMessage_.size()) {
        message = std::move(largeMessage_);
        largeMessage_ = std::string();
        large_ = false;
        return TStatus::Message;
      }
      target = largeMessage_.data() + largeFilled_;
      room = largeMessage_.size() - largeFilled_;
    } else {
      bool failed = false;
      if (TakeBuffered(message, error, failed)) return TStatus::Message;
      if (failed) return TStatus::Failed;
      if (large_) continue;
      if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
      }
      target = buffer_.data() + end_;
      room = buffer_.size() - end_;
    }
    const ssize_t n = ::recv(fd, target, room, 0);
    if (n > 0) {
      (large_ ? largeFilled_ : end_) += static_cast<size_t>(n);
      continue;
    }
    if (n == 0) {
      error = kPipeErrorBrokenPipe;
      return TStatus::Failed;
    }
    if (errno == EINTR) continue;
    if (errno == EAGAIN || errno == EWOULDBLOCK) return TStatus::WouldBlock;
    error = PipeErrorFromErrno(errno);
    return TStatus::Failed;
  }
}

// ---- TMessageWriter ------------------------------------------------------

void TMessageWriter::Push(TMessage message) {
  TEntry entry{std::move(message), {}};
  PutLittleEndian32(entry.prefix, static_cast<uint32_t>(entry.message->size()));
  queuedBytes_ += 4 + entry.message->size();
  queue_.push_back(std::move(entry));
}

TMessageWriter::TStatus TMessageWriter::Flush(int fd, size_t& written, uint32_t& error) {
  written = 0;
  iovec parts[2 * kIovecPairs];
  while (!queue_.empty()) {
    size_t count = 0;
    size_t skip = offset_;
    for (size_t i = 0; i < queue_.size() && i < kIovecPairs; ++i) {
      TEntry& entry = queue_[i];
      const size_t sizes[2] = {4, entry.message->size()};
      char* bases[2] = {entry.prefix, const_cast<char*>(entry.message->data())};
      for (int k = 0; k < 2; ++k) {
        if (skip >= sizes[k]) {
          skip -= sizes[k];
          continue;
        }
        parts[count++] = iovec{bases[k] + skip, sizes[k] - skip};
        skip = 0;
      }
    }
    msghdr header{};
    header.msg_iov = parts;
    header.msg_iovlen = count;
    const ssize_t n = ::sendmsg(fd, &header, MSG_NOSIGNAL);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (errno == EAGAIN || errno == EWOULDBLOCK) return TStatus::WouldBlock;
      error = PipeErrorFromErrno(errno);
      return TStatus::Failed;
    }
    size_t advance = static_cast<size_t>(n);
    while (advance > 0) {
      const size_t left = 4 + queue_.front().message->size() - offset_;
      if (advance < left) {
        offset_ += advance;
        break;
      }
      advance -= left;
      queuedBytes_ -= 4 + queue_.front().message->size();
      queue_.pop_front();
      offset_ = 0;
      ++written;
    }
  }
  return TStatus::Done;
}

std::vector<TMessageWriter::TMessage> TMessageWriter::TakeUnstarted() {
  std::vector<TMessage> unstarted;
  for (size_t i = offset_ > 0 ? 1 : 0; i < queue_.size(); ++i) unstarted.push_back(std::move(queue_[i].message));
  queue_.clear();
  offset_ = 0;
  queuedBytes_ = 0;
  return unstarted;
}

}  // namespace sp
