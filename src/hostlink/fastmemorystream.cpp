#include "hostlink/fastmemorystream.h"

#include <algorithm>
#include <cstring>

namespace sp {

void TFastMemoryStream::Reserve(int64_t needed) {
  if (needed <= capacity_) return;
  const int64_t extra = capacity_ >= kLargeStep ? kLargeStep : capacity_ / 2;
  const int64_t capacity = needed + extra;
  auto memory = std::make_unique_for_overwrite<char[]>(static_cast<size_t>(capacity));
  if (size_ > 0) std::memcpy(memory.get(), memory_.get(), static_cast<size_t>(size_));
  memory_ = std::move(memory);
  capacity_ = capacity;
}

int64_t TFastMemoryStream::Read(void* buffer, int64_t count) {
  const int64_t n = std::clamp<int64_t>(count, 0, std::max<int64_t>(size_ - position_, 0));
  if (n > 0) std::memcpy(buffer, memory_.get() + position_, static_cast<size_t>(n));
  position_ += n;
  return n;
}

int64_t TFastMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  const int64_t end = position_ + count;
  Reserve(end);
  // A position beyond the end leaves a gap; it reads as zero bytes.
  if (position_ > size_) std::memset(memory_.get() + size_, 0, static_cast<size_t>(position_ - size_));
  std::memcpy(memory_.get() + position_, buffer, static_cast<size_t>(count));
  position_ = end;
  size_ = std::max(size_, end);
  return count;
}

int64_t TFastMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t base = 0;
  if (origin == TSeekOrigin::Current) base = position_;
  if (origin == TSeekOrigin::End) base = size_;
  position_ = std::max<int64_t>(0, base + offset);
  return position_;
}

void TFastMemoryStream::SetSize(int64_t newSize) {
  newSize = std::max<int64_t>(newSize, 0);
  Reserve(newSize);
  if (newSize > size_) std::memset(memory_.get() + size_, 0, static_cast<size_t>(newSize - size_));
  size_ = newSize;
  position_ = std::min(position_, size_);
}

}  // namespace sp
