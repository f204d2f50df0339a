#include "platform/compound/compound_stream.h"

#include <algorithm>
#include <cstdint>

#include "platform/errors.h"

namespace sp {

TCompoundStream::TCompoundStream(std::shared_ptr<TStream> source, std::vector<TCompoundExtent> extents, uint64_t size)
    : source_(std::move(source)), extents_(std::move(extents)), size_(size) {}

size_t TCompoundStream::ExtentAt(uint64_t position) {
  // Sequential reading hits the cached extent or the next one.
  for (size_t i = lastExtent_; i < extents_.size() && i < lastExtent_ + 2; ++i) {
    const TCompoundExtent& e = extents_[i];
    if (position >= e.streamOffset && position < e.streamOffset + e.length) return lastExtent_ = i;
  }
  auto it = std::upper_bound(extents_.begin(), extents_.end(), position,
                             [](uint64_t pos, const TCompoundExtent& e) { return pos < e.streamOffset; });
  return lastExtent_ = static_cast<size_t>(it - extents_.begin()) - 1;
}

int64_t TCompoundStream::Read(void* buffer, int64_t count) {
  if (count <= 0 || position_ >= size_) return 0;
  auto* out = static_cast<char*>(buffer);
  uint64_t wanted = std::min<uint64_t>(static_cast<uint64_t>(count), size_ - position_);
  int64_t done = 0;
  while (wanted > 0) {
    const TCompoundExtent& e = extents_[ExtentAt(position_)];
    const uint64_t inside = position_ - e.streamOffset;
    const uint64_t n = std::min<uint64_t>(wanted, e.length - inside);
    source_->SetPosition(static_cast<int64_t>(e.sourceOffset + inside));
    source_->ReadBuffer(out + done, static_cast<int64_t>(n));
    position_ += n;
    done += static_cast<int64_t>(n);
    wanted -= n;
  }
  return done;
}

int64_t TCompoundStream::Write(const void*, int64_t) { return 0; }

int64_t TCompoundStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t base = 0;
  if (origin == TSeekOrigin::Current) base = static_cast<int64_t>(position_);
  if (origin == TSeekOrigin::End) base = static_cast<int64_t>(size_);
  int64_t target;
  if (__builtin_add_overflow(base, offset, &target)) target = offset < 0 ? 0 : INT64_MAX;
  position_ = static_cast<uint64_t>(std::max<int64_t>(0, target));
  return static_cast<int64_t>(position_);
}

}  // namespace sp
