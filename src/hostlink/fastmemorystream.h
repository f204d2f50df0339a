// TFastMemoryStream: a growable in-memory byte stream in which outgoing host
// messages are assembled and from whose block they are sent.
//
// Growth rule: when a write needs more than the capacity, the new capacity
// is the needed one plus half the current capacity, or plus 1 MiB once the
// capacity has reached 1 MiB, so large texts cause few reallocations while
// the slack stays bounded. Memory() stays valid until the next growth.
// One thread at a time.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/stream.h"

namespace sp {

class TFastMemoryStream : public TStream {
 public:
  static constexpr int64_t kLargeStep = 1 << 20;

  TFastMemoryStream() = default;
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  void SetSize(int64_t newSize) override;
  int64_t Size() override { return size_; }

  const char* Memory() const { return memory_.get(); }
  int64_t Capacity() const { return capacity_; }

 private:
  void Reserve(int64_t needed);

  std::unique_ptr<char[]> memory_;
  int64_t size_ = 0;
  int64_t position_ = 0;
  int64_t capacity_ = 0;
};

}  // namespace sp
