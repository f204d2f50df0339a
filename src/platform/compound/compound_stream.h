// A read-only stream of a compound document: its bytes are a list of extents
// of the document's source stream, worked out and validated when the stream
// was opened (see compound_file.h). Reading maps the position to the extents;
// adjacent sectors were merged into one extent, so a stream stored in order
// is read with one source read per request.
//
// Write and SetSize fail. Seeking beyond the end is allowed; reads there
// deliver 0 bytes. Shares the source with its document.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/stream.h"

namespace sp {

struct TCompoundExtent {
  uint64_t sourceOffset;  // where the bytes lie in the source
  uint64_t streamOffset;  // where they belong in the stream
  uint64_t length;
};

class TCompoundStream : public TStream {
 public:
  // REQUIRES: extents ordered by streamOffset, contiguous from 0 to `size`,
  // each lying inside the source.
  TCompoundStream(std::shared_ptr<TStream> source, std::vector<TCompoundExtent> extents, uint64_t size);

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return static_cast<int64_t>(size_); }

 private:
  size_t ExtentAt(uint64_t position);

  std::shared_ptr<TStream> source_;
  std::vector<TCompoundExtent> extents_;
  uint64_t size_;
  uint64_t position_ = 0;
  size_t lastExtent_ = 0;
};

}  // namespace sp
