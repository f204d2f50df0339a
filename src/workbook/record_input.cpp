#include "workbook/record_input.h"

#include <algorithm>
#include <cstring>

#include "platform/compound/little_endian.h"

namespace sp {

namespace {
constexpr size_t kBlockSize = 65536;
}

TRecordInput::TRecordInput(TStream& stream) : stream_(stream), buffer_(kBlockSize) {
  const int64_t size = stream_.Size();
  size_ = size > 0 ? static_cast<uint64_t>(size) : 0;
}

bool TRecordInput::Refill() {
  bufferStart_ = Position();
  cursor_ = 0;
  length_ = 0;
  if (bufferStart_ >= size_) return false;
  stream_.SetPosition(static_cast<int64_t>(bufferStart_));
  const auto wanted = static_cast<int64_t>(std::min<uint64_t>(kBlockSize, size_ - bufferStart_));
  const int64_t got = stream_.Read(buffer_.data(), wanted);
  length_ = got > 0 ? static_cast<size_t>(got) : 0;
  // A stream that delivers less than its size claimed ends where it stopped.
  if (static_cast<int64_t>(length_) < wanted) size_ = bufferStart_ + length_;
  return length_ > 0;
}

bool TRecordInput::ReadHeader(TRecordHeader& header) {
  uint8_t bytes[4];
  if (!Read(bytes, sizeof bytes)) return false;
  header.Type = Le16(bytes);
  header.Length = Le16(bytes + 2);
  return true;
}

bool TRecordInput::Read(void* out, size_t count) {
  if (count <= Available()) {
    std::memcpy(out, buffer_.data() + cursor_, count);
    cursor_ += count;
    return true;
  }
  if (Position() + count > size_) return false;
  const uint64_t start = Position();
  auto* bytes = static_cast<uint8_t*>(out);
  while (count > 0) {
    if (Available() == 0 && !Refill()) {
      Seek(start);  // the stream ended early after all
      return false;
    }
    const size_t n = std::min(count, Available());
    std::memcpy(bytes, buffer_.data() + cursor_, n);
    cursor_ += n;
    bytes += n;
    count -= n;
  }
  return true;
}

void TRecordInput::Skip(uint64_t count) {
  if (count <= Available()) {
    cursor_ += static_cast<size_t>(count);
    return;
  }
  Seek(count > size_ - std::min(Position(), size_) ? size_ : Position() + count);
}

void TRecordInput::Seek(uint64_t position) {
  position = std::min(position, size_);
  if (position >= bufferStart_ && position <= bufferStart_ + length_) {
    cursor_ = static_cast<size_t>(position - bufferStart_);
    return;
  }
  bufferStart_ = position;
  length_ = 0;
  cursor_ = 0;
}

}  // namespace sp
