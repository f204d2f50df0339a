// Test helpers that write BIFF record streams and wrap them in a minimal
// compound document, for the record-level cases that no independent program
// can be made to write (chart substreams, SST pieces split at chosen places,
// damaged containers). The committed fixtures come from independent programs.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sp::test {

// Little-endian byte assembly.
class TBytes {
 public:
  TBytes& U8(uint8_t v);
  TBytes& U16(uint16_t v);
  TBytes& U32(uint32_t v);
  TBytes& F64(double v);
  TBytes& Raw(std::string_view bytes);
  TBytes& Utf16(std::u16string_view text);
  const std::string& Str() const { return bytes_; }
  size_t Size() const { return bytes_.size(); }

 private:
  std::string bytes_;
};

class TBiffBuilder {
 public:
  TBiffBuilder& Record(uint16_t type, const TBytes& body);
  TBiffBuilder& Record(uint16_t type, std::string_view body);
  // BIFF8 (version 0x0600) or BIFF5 (0x0500) BOF of the given substream type.
  TBiffBuilder& Bof(uint16_t substream, uint16_t version = 0x0600);
  TBiffBuilder& Eof();
  // A BIFF8 BOUNDSHEET with an 8-bit name; returns the position of its
  // offset field for PatchOffset.
  size_t BoundSheet(std::string_view name, uint8_t kind = 0);
  // Writes the current stream offset into the field at `at`.
  void PatchOffset(size_t at);
  TBiffBuilder& Number(uint16_t row, uint16_t column, uint16_t xf, double value);
  TBiffBuilder& Rk(uint16_t row, uint16_t column, uint16_t xf, uint32_t rk);
  TBiffBuilder& Xf(uint16_t numberFormat, uint8_t alignment = 0);
  TBiffBuilder& Format(uint16_t index, std::string_view text);
  size_t Offset() const { return stream_.size(); }
  const std::string& Stream() const { return stream_; }

 private:
  std::string stream_;
};

// A compound document (512-byte sectors, no mini stream) whose root holds
// the given streams in this storage order.
std::string CompoundDocument(const std::vector<std::pair<std::u16string, std::string>>& streams);

// Sector layout of CompoundDocument's result, for tests that damage it.
struct TCompoundLayout {
  static constexpr size_t kHeaderSize = 512;
  static constexpr size_t kSectorSize = 512;
  // The FAT occupies sector 0, the directory sector 1, streams follow in order.
  static size_t SectorOffset(uint32_t sector) { return kHeaderSize + sector * kSectorSize; }
  static size_t FatEntryOffset(uint32_t sector) { return SectorOffset(0) + 4 * sector; }
  static size_t DirectoryEntryOffset(uint32_t id) { return SectorOffset(1) + 128 * id; }
  static constexpr uint32_t kFirstStreamSector = 2;
};

void PutU32(std::string& bytes, size_t at, uint32_t value);

}  // namespace sp::test
