// TMemoryMappedFileStream: a stream over an existing named shared section,
// through which the order data map travels between host and module.
//
// The stream never creates or grows a section; it opens one the host made.
// Size and capacity are the declared size given at opening, whatever the
// map's length; writes may grow the size up to the capacity, never beyond.
// When the section is shorter than the declared size, size and capacity are
// cut to the section's length, so no access can leave the mapped bytes.
// Error codes in the texts are the errno of the failing call (an absent
// section gives 2).
//
// Closing flushes and unmaps the view and closes the section; Close raises
// EStreamError when a step fails. The destructor closes quietly, so call
// Close to learn about a failure. Owner: the caller. Not thread-safe.
#pragma once

#include <cstdint>
#include <string>

#include "platform/sharedsection.h"
#include "platform/stream.h"

namespace sp {

class TMemoryMappedFileStream : public TStream {
 public:
  // The platform's file-open mode numbers.
  static constexpr uint16_t fmOpenRead = 0;
  static constexpr uint16_t fmOpenWrite = 1;
  static constexpr uint16_t fmOpenReadWrite = 2;
  static constexpr uint16_t fmCreate = 0xFFFF;

  // Opens the section; only the two low bits of `mode` choose the access
  // (sharing flags above them are ignored). Raises EFCreateError for fmCreate, EFOpenError when
  // the section cannot be opened or mapped (a read-only mode cannot be
  // mapped, as the view is always writable).
  TMemoryMappedFileStream(std::string sectionName, int32_t declaredSize, uint16_t mode);
  ~TMemoryMappedFileStream() override;
  TMemoryMappedFileStream(const TMemoryMappedFileStream&) = delete;
  TMemoryMappedFileStream& operator=(const TMemoryMappedFileStream&) = delete;

  int64_t Read(void* buffer, int64_t count) override;
  // Raises EFOpenError "Cannot change size of an open mapping object %s"
  // when the write would end beyond the capacity; the stream is unchanged.
  int64_t Write(const void* buffer, int64_t count) override;
  // The position is not checked against the bounds.
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  // Grows the size up to the capacity; SetSize(0) flushes and leaves size
  // and capacity at 0; any other size raises as Write does.
  void SetSize(int64_t newSize) override;
  int64_t Size() override { return size_; }

  // Flushes, unmaps, closes. Safe to call twice. Afterwards size and
  // capacity are 0: reads give nothing and writes raise.
  void Close();

  const std::string& SectionName() const { return name_; }
  int64_t Capacity() const { return capacity_; }
  int32_t DeclaredSize() const { return declaredSize_; }

 private:
  [[noreturn]] void RaiseCannotResize() const;

  TSharedSection section_;
  std::string name_;
  int64_t capacity_ = 0;
  int64_t size_ = 0;
  int64_t position_ = 0;
  int32_t declaredSize_ = 0;
};

}  // namespace sp
