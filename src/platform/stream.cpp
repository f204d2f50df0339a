#include "platform/stream.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/errors.h"

namespace sp {

void TStream::SetSize(int64_t) { throw EStreamError("Stream does not support SetSize"); }

int64_t TStream::Size() {
  const int64_t here = Seek(0, TSeekOrigin::Current);
  const int64_t end = Seek(0, TSeekOrigin::End);
  Seek(here, TSeekOrigin::Beginning);
  return end;
}

void TStream::ReadBuffer(void* buffer, int64_t count) {
  auto* out = static_cast<char*>(buffer);
  while (count > 0) {
    const int64_t got = Read(out, count);
    if (got <= 0) throw EReadError("Stream read error");
    out += got;
    count -= got;
  }
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
  const auto* in = static_cast<const char*>(buffer);
  while (count > 0) {
    const int64_t put = Write(in, count);
    if (put <= 0) throw EWriteError("Stream write error");
    in += put;
    count -= put;
  }
}

std::string TStream::ReadRest() {
  const int64_t rest = Size() - Position();
  std::string bytes;
  if (rest <= 0) return bytes;
  bytes.resize(static_cast<size_t>(rest));
  ReadBuffer(bytes.data(), rest);
  return bytes;
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  char block[61440];
  int64_t copied = 0;
  while (copied < count) {
    const int64_t n = std::min<int64_t>(count - copied, sizeof block);
    source.ReadBuffer(block, n);
    WriteBuffer(block, n);
    copied += n;
  }
  return copied;
}

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
  const int64_t available = static_cast<int64_t>(data_.size()) - position_;
  const int64_t n = std::clamp<int64_t>(count, 0, std::max<int64_t>(available, 0));
  if (n > 0) std::memcpy(buffer, data_.data() + position_, static_cast<size_t>(n));
  position_ += n;
  return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  const auto end = static_cast<size_t>(position_ + count);
  if (end > data_.size()) data_.resize(end);
  std::memcpy(data_.data() + position_, buffer, static_cast<size_t>(count));
  position_ += count;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t base = 0;
  if (origin == TSeekOrigin::Current) base = position_;
  if (origin == TSeekOrigin::End) base = static_cast<int64_t>(data_.size());
  position_ = std::max<int64_t>(0, base + offset);
  return position_;
}

void TMemoryStream::SetSize(int64_t newSize) {
  data_.resize(static_cast<size_t>(std::max<int64_t>(newSize, 0)));
  position_ = std::min<int64_t>(position_, static_cast<int64_t>(data_.size()));
}

THandleStream::~THandleStream() { CloseHandle(); }

void THandleStream::CloseHandle() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

int64_t THandleStream::Read(void* buffer, int64_t count) {
  if (count <= 0) return 0;
  ssize_t n;
  do n = ::read(fd_, buffer, static_cast<size_t>(count));
  while (n < 0 && errno == EINTR);
  return n < 0 ? 0 : n;
}

int64_t THandleStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  ssize_t n;
  do n = ::write(fd_, buffer, static_cast<size_t>(count));
  while (n < 0 && errno == EINTR);
  return n < 0 ? 0 : n;
}

int64_t THandleStream::Seek(int64_t offset, TSeekOrigin origin) {
  const int whence = origin == TSeekOrigin::Beginning ? SEEK_SET : origin == TSeekOrigin::Current ? SEEK_CUR : SEEK_END;
  const off_t pos = ::lseek(fd_, static_cast<off_t>(offset), whence);
  return pos < 0 ? -1 : static_cast<int64_t>(pos);
}

void THandleStream::SetSize(int64_t newSize) {
  Seek(newSize, TSeekOrigin::Beginning);
  if (::ftruncate(fd_, static_cast<off_t>(newSize)) != 0) RaiseOSError(errno);
}

}  // namespace sp
