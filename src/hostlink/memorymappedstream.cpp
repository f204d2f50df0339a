#include "hostlink/memorymappedstream.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/errors.h"

namespace sp {
namespace {

std::string WithCode(std::string text, int code) { return text + "\r\nCode " + std::to_string(code); }

int64_t SaturatingAdd(int64_t a, int64_t b) {
  int64_t sum = 0;
  if (!__builtin_add_overflow(a, b, &sum)) return sum;
  return b > 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
}

}  // namespace

TMemoryMappedFileStream::TMemoryMappedFileStream(std::string sectionName, int32_t declaredSize, uint16_t mode)
    : name_(std::move(sectionName)), declaredSize_(declaredSize) {
  if (mode == fmCreate) throw EFCreateError("Use \"Create\" constructor with fmCreate mode");
  // Sharing flags above the two low bits do not change the access.
  const int openMode = mode & 3;
  const TSectionAccess access = openMode == fmOpenReadWrite ? TSectionAccess::All
                                : openMode == fmOpenWrite   ? TSectionAccess::Write
                                                            : TSectionAccess::Read;
  size_ = capacity_ = declaredSize;
  position_ = 0;
  if (const int error = section_.Open(name_, access))
    throw EFOpenError(WithCode("Error opening file mapping object " + name_, error));
  if (const int error = section_.MapView())
    throw EFOpenError(WithCode("Error mapping file " + name_, error));
  capacity_ = std::min(capacity_, section_.ViewSize());
  size_ = capacity_;
}

TMemoryMappedFileStream::~TMemoryMappedFileStream() { section_.Close(); }

void TMemoryMappedFileStream::RaiseCannotResize() const {
  throw EFOpenError("Cannot change size of an open mapping object " + name_);
}

int64_t TMemoryMappedFileStream::Read(void* buffer, int64_t count) {
  if (position_ < 0 || count < 0) return 0;
  const int64_t n = std::min(count, size_ - position_);
  if (n <= 0) return 0;
  std::memcpy(buffer, section_.View() + position_, static_cast<size_t>(n));
  position_ += n;
  return n;
}

int64_t TMemoryMappedFileStream::Write(const void* buffer, int64_t count) {
  if (position_ < 0 || count < 0 || count > std::numeric_limits<int64_t>::max() - position_) return 0;
  const int64_t end = position_ + count;
  if (end <= 0) return 0;
  if (end > size_) {
    if (end > capacity_) RaiseCannotResize();
    size_ = end;
  }
  if (count > 0) std::memcpy(section_.View() + position_, buffer, static_cast<size_t>(count));
  position_ = end;
  return count;
}

int64_t TMemoryMappedFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  switch (origin) {
    case TSeekOrigin::Beginning: position_ = offset; break;
    case TSeekOrigin::Current: position_ = SaturatingAdd(position_, offset); break;
    case TSeekOrigin::End: position_ = SaturatingAdd(size_, offset); break;
  }
  return position_;
}

void TMemoryMappedFileStream::SetSize(int64_t newSize) {
  if (newSize == 0) {
    if (section_.IsMapped())
      if (const int error = section_.FlushView()) throw EStreamError(WithCode("Error flushing", error));
    size_ = capacity_ = 0;
    return;
  }
  if (newSize > capacity_ || newSize < size_) RaiseCannotResize();
  size_ = newSize;
}

void TMemoryMappedFileStream::Close() {
  // Nothing can be read or written once the view is going.
  size_ = capacity_ = 0;
  if (section_.IsMapped()) {
    if (const int error = section_.FlushView()) throw EStreamError(WithCode("Error flushing", error));
    if (const int error = section_.UnmapView()) throw EStreamError(WithCode("Error unmapping view", error));
  }
  if (section_.IsOpen())
    if (const int error = section_.Close()) throw EStreamError(WithCode("Error closing map " + name_, error));
}

}  // namespace sp
