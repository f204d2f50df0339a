// Buffered reading of a BIFF record sequence from a stream: record headers
// (16-bit type, 16-bit body length, little-endian), bodies, skips and seeks.
// Reads the stream in blocks of 64 KiB, so records cost no stream call each.
// Positions are byte offsets from the start of the stream. The stream must
// outlive the input and not be used by anyone else meanwhile.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/stream.h"
#include "workbook/spreadsheet_file.h"

namespace sp {

class TRecordInput {
 public:
  explicit TRecordInput(TStream& stream);

  uint64_t Size() const { return size_; }
  uint64_t Position() const { return bufferStart_ + cursor_; }
  // False, consuming nothing, when fewer than 4 bytes remain.
  bool ReadHeader(TRecordHeader& header);
  // Exactly `count` bytes; false, consuming nothing, when fewer remain.
  bool Read(void* out, size_t count);
  // Moves forward by `count` bytes, at most to the end.
  void Skip(uint64_t count);
  // Moves to `position`, at most to the end.
  void Seek(uint64_t position);

 private:
  size_t Available() const { return length_ - cursor_; }
  bool Refill();

  TStream& stream_;
  uint64_t size_;
  std::vector<uint8_t> buffer_;
  uint64_t bufferStart_ = 0;
  size_t length_ = 0;
  size_t cursor_ = 0;
};

}  // namespace sp
