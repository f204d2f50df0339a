// Byte streams: the abstract TStream and the two concrete streams every layer
// shares (memory, file handle). Subsystems derive their own (shared section,
// growable message buffer, blob streams).
//
// Positions and sizes are 64-bit byte counts. Read and Write move at most
// `count` bytes and return how many moved; ReadBuffer and WriteBuffer insist on
// all of them and raise EReadError / EWriteError otherwise.
// Not thread-safe: one stream is used by one thread at a time.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sp {

enum class TSeekOrigin { Beginning, Current, End };

class TStream {
 public:
  virtual ~TStream() = default;
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
  // Default: raises EStreamError ("Stream does not support SetSize").
  virtual void SetSize(int64_t newSize);

  int64_t Position() { return Seek(0, TSeekOrigin::Current); }
  void SetPosition(int64_t position) { Seek(position, TSeekOrigin::Beginning); }
  // Size by seeking to the end and back.
  virtual int64_t Size();

  void ReadBuffer(void* buffer, int64_t count);         // "Stream read error"
  void WriteBuffer(const void* buffer, int64_t count);  // "Stream write error"
  void WriteText(std::string_view bytes) { WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size())); }
  // Everything from the current position to the end.
  std::string ReadRest();
  // Copies `count` bytes from the source's current position; count 0 copies
  // the whole source from its start. Returns the bytes copied.
  int64_t CopyFrom(TStream& source, int64_t count);
};

// A stream over a growable block of memory. Memory() stays valid until the
// next write that grows the stream or SetSize.
class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::string bytes) : data_(std::move(bytes)) {}
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  void SetSize(int64_t newSize) override;
  int64_t Size() override { return static_cast<int64_t>(data_.size()); }

  const char* Memory() const { return data_.data(); }
  const std::string& Bytes() const { return data_; }
  void Clear() { data_.clear(); position_ = 0; }

 private:
  std::string data_;
  int64_t position_ = 0;
};

// A stream over an open file descriptor, which it owns and closes.
// Read and Write return 0 when the system call fails; SetSize raises EOSError.
class THandleStream : public TStream {
 public:
  explicit THandleStream(int fd) : fd_(fd) {}
  ~THandleStream() override;
  THandleStream(const THandleStream&) = delete;
  THandleStream& operator=(const THandleStream&) = delete;

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  void SetSize(int64_t newSize) override;
  int Handle() const { return fd_; }

 protected:
  // Closes the descriptor now (the destructor then does nothing).
  void CloseHandle();

 private:
  int fd_;
};

}  // namespace sp
