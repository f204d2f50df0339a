#include "biff_builder.h"

#include <cstring>
#include <stdexcept>

namespace sp::test {

TBytes& TBytes::U8(uint8_t v) {
  bytes_.push_back(static_cast<char>(v));
  return *this;
}
TBytes& TBytes::U16(uint16_t v) { return U8(v & 0xFF).U8(v >> 8); }
TBytes& TBytes::U32(uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
TBytes& TBytes::F64(double v) {
  uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  return U32(static_cast<uint32_t>(bits)).U32(static_cast<uint32_t>(bits >> 32));
}
TBytes& TBytes::Raw(std::string_view bytes) {
  bytes_.append(bytes);
  return *this;
}
TBytes& TBytes::Utf16(std::u16string_view text) {
  for (char16_t c : text) U16(c);
  return *this;
}

void PutU32(std::string& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
}

TBiffBuilder& TBiffBuilder::Record(uint16_t type, std::string_view body) {
  stream_ += TBytes().U16(type).U16(static_cast<uint16_t>(body.size())).Str();
  stream_.append(body);
  return *this;
}

TBiffBuilder& TBiffBuilder::Record(uint16_t type, const TBytes& body) { return Record(type, body.Str()); }

TBiffBuilder& TBiffBuilder::Bof(uint16_t substream, uint16_t version) {
  TBytes body;
  body.U16(version).U16(substream).U16(0).U16(0);
  if (version == 0x0600) body.U32(0).U32(0);
  return Record(0x0809, body);
}

TBiffBuilder& TBiffBuilder::Eof() { return Record(0x000A, ""); }

size_t TBiffBuilder::BoundSheet(std::string_view name, uint8_t kind) {
  const size_t at = stream_.size() + 4;
  Record(0x0085, TBytes().U32(0).U8(0).U8(kind).U8(static_cast<uint8_t>(name.size())).U8(0).Raw(name));
  return at;
}

void TBiffBuilder::PatchOffset(size_t at) { PutU32(stream_, at, static_cast<uint32_t>(stream_.size())); }

TBiffBuilder& TBiffBuilder::Number(uint16_t row, uint16_t column, uint16_t xf, double value) {
  return Record(0x0203, TBytes().U16(row).U16(column).U16(xf).F64(value));
}

TBiffBuilder& TBiffBuilder::Rk(uint16_t row, uint16_t column, uint16_t xf, uint32_t rk) {
  return Record(0x027E, TBytes().U16(row).U16(column).U16(xf).U32(rk));
}

TBiffBuilder& TBiffBuilder::Xf(uint16_t numberFormat, uint8_t alignment) {
  return Record(0x00E0, TBytes().U16(0).U16(numberFormat).U16(0).U8(alignment).U8(0).U32(0).U32(0).U32(0).U16(0));
}

TBiffBuilder& TBiffBuilder::Format(uint16_t index, std::string_view text) {
  return Record(0x041E, TBytes().U16(index).U16(static_cast<uint16_t>(text.size())).U8(0).Raw(text));
}

std::string CompoundDocument(const std::vector<std::pair<std::u16string, std::string>>& streams) {
  using L = TCompoundLayout;
  if (streams.size() > 3) throw std::invalid_argument("at most three streams");
  std::vector<uint32_t> fat = {0xFFFFFFFD, 0xFFFFFFFE};  // the FAT itself, the directory
  std::vector<uint32_t> starts;
  for (const auto& stream : streams) {
    const size_t sectors = (stream.second.size() + L::kSectorSize - 1) / L::kSectorSize;
    starts.push_back(sectors ? static_cast<uint32_t>(fat.size()) : 0xFFFFFFFE);
    for (size_t i = 0; i < sectors; ++i)
      fat.push_back(i + 1 < sectors ? static_cast<uint32_t>(fat.size() + 1) : 0xFFFFFFFE);
  }
  if (fat.size() > 128) throw std::invalid_argument("streams too long for one FAT sector");
  fat.resize(128, 0xFFFFFFFF);

  TBytes header;
  header.Raw("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1").Raw(std::string(16, '\0'));
  header.U16(0x3E).U16(3).U16(0xFFFE).U16(9).U16(6).Raw(std::string(6, '\0'));
  header.U32(0).U32(1).U32(1).U32(0).U32(0);   // dir sectors, FAT sectors, first dir, signature, mini cutoff 0
  header.U32(0xFFFFFFFE).U32(0).U32(0xFFFFFFFE).U32(0);  // mini FAT, DIFAT
  header.U32(0);
  for (int i = 1; i < 109; ++i) header.U32(0xFFFFFFFF);
  std::string doc = header.Str();

  for (uint32_t entry : fat) doc += TBytes().U32(entry).Str();

  auto entry = [](std::u16string_view name, uint8_t type, uint32_t right, uint32_t child, uint32_t start,
                  uint32_t size) {
    TBytes e;
    e.Utf16(name);
    e.Raw(std::string(64 - 2 * name.size(), '\0'));
    e.U16(static_cast<uint16_t>(name.empty() ? 0 : 2 * name.size() + 2)).U8(type).U8(1);
    e.U32(0xFFFFFFFF).U32(right).U32(child).Raw(std::string(16 + 4 + 16, '\0'));
    e.U32(start).U32(size).U32(0);
    return e.Str();
  };
  std::string directory = entry(u"Root Entry", 5, 0xFFFFFFFF, streams.empty() ? 0xFFFFFFFF : 1, 0xFFFFFFFE, 0);
  for (size_t i = 0; i < streams.size(); ++i) {
    const uint32_t right = i + 1 < streams.size() ? static_cast<uint32_t>(i + 2) : 0xFFFFFFFF;
    directory += entry(streams[i].first, 2, right, 0xFFFFFFFF, starts[i], static_cast<uint32_t>(streams[i].second.size()));
  }
  directory.resize(L::kSectorSize, '\0');
  doc += directory;
  for (const auto& stream : streams) {
    std::string data = stream.second;
    data.resize((data.size() + L::kSectorSize - 1) / L::kSectorSize * L::kSectorSize, '\0');
    doc += data;
  }
  return doc;
}

}  // namespace sp::test
