#include "platform/compound/compound_file.h"

#include <algorithm>
#include <cstring>

#include "platform/compound/little_endian.h"

namespace sp {

namespace {

constexpr uint8_t kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr uint32_t kNoStream = 0xFFFFFFFF;
constexpr uint32_t kHeaderFatEntries = 109;
constexpr uint32_t kMiniSectorSize = 64;
constexpr uint32_t kEntrySize = 128;
constexpr uint64_t kUnknownLength = UINT64_MAX;

[[noreturn]] void Fail(const std::string& what) { throw ECompoundError("Damaged compound document: " + what); }

std::string Num(uint64_t n) { return std::to_string(n); }

char16_t FoldCase(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 32);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 32);
  return c;
}

bool SameName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  return true;
}

uint64_t CeilDiv(uint64_t a, uint64_t b) { return a / b + (a % b != 0); }

// Appends bytes [sourceOffset, +length) of the source as the stream's next
// part, merging with the previous extent when they touch.
void AppendExtent(std::vector<TCompoundExtent>& extents, uint64_t sourceOffset, uint64_t length) {
  if (!extents.empty()) {
    TCompoundExtent& last = extents.back();
    if (last.sourceOffset + last.length == sourceOffset) {
      last.length += length;
      return;
    }
  }
  const uint64_t streamOffset = extents.empty() ? 0 : extents.back().streamOffset + extents.back().length;
  extents.push_back({sourceOffset, streamOffset, length});
}

}  // namespace

bool TCompoundFile::HasSignature(TStream& source) {
  uint8_t head[sizeof kSignature];
  source.SetPosition(0);
  const int64_t got = source.Read(head, sizeof head);
  source.SetPosition(0);
  return got == static_cast<int64_t>(sizeof head) && std::memcmp(head, kSignature, sizeof head) == 0;
}

TCompoundFile::TCompoundFile(std::shared_ptr<TStream> source) : source_(std::move(source)) {
  const int64_t size = source_->Size();
  fileSize_ = size > 0 ? static_cast<uint64_t>(size) : 0;
  ReadHeader();
  ReadFat();
  ReadDirectory();
  ListRootElements();
}

TCompoundFile::~TCompoundFile() = default;

void TCompoundFile::ReadSector(uint32_t sector, void* buffer) const {
  const uint64_t offset = (static_cast<uint64_t>(sector) + 1) * sectorSize_;
  // The last sector of a file may be cut short; its missing bytes read as 0.
  const uint64_t present = offset < fileSize_ ? std::min<uint64_t>(sectorSize_, fileSize_ - offset) : 0;
  std::memset(buffer, 0, sectorSize_);
  source_->SetPosition(static_cast<int64_t>(offset));
  source_->ReadBuffer(buffer, static_cast<int64_t>(present));
}

void TCompoundFile::ReadHeader() {
  uint8_t h[512];
  if (fileSize_ < sizeof h) throw ECompoundError("The file is not a compound document (shorter than its header)");
  source_->SetPosition(0);
  source_->ReadBuffer(h, sizeof h);
  if (std::memcmp(h, kSignature, sizeof kSignature) != 0)
    throw ECompoundError("The file is not a compound document (no signature at offset 0)");
  if (Le16(h + 28) != 0xFFFE) Fail("unknown byte order mark at offset 28");
  const uint16_t shift = Le16(h + 30);
  if (shift != 9 && shift != 12) Fail("unsupported sector size 2^" + Num(shift) + " at offset 30");
  if (Le16(h + 32) != 6) Fail("unsupported mini sector size 2^" + Num(Le16(h + 32)) + " at offset 32");
  sectorSize_ = 1u << shift;
  if (fileSize_ < sectorSize_) Fail("the file ends inside its " + Num(sectorSize_) + "-byte header");
  sectorCount_ = CeilDiv(fileSize_ - sectorSize_, sectorSize_);

  const uint32_t fatCount = Le32(h + 44);
  firstDirectorySector_ = Le32(h + 48);
  miniCutoff_ = Le32(h + 56);
  firstMiniFatSector_ = Le32(h + 60);
  miniFatSectorCount_ = Le32(h + 64);
  uint32_t difatSector = Le32(h + 68);
  if (fatCount > sectorCount_)
    Fail("the header claims " + Num(fatCount) + " FAT sectors, the file has " + Num(sectorCount_) + " sectors");

  fatSectors_.reserve(fatCount);
  for (uint32_t i = 0; i < std::min(fatCount, kHeaderFatEntries); ++i) {
    const uint32_t sector = Le32(h + 76 + 4 * i);
    if (sector >= sectorCount_)
      Fail("FAT sector " + Num(sector) + " outside the file (header offset " + Num(76 + 4 * i) + ")");
    fatSectors_.push_back(sector);
  }
  // The FAT sectors beyond the header's 109 are listed in the DIFAT chain.
  std::vector<uint8_t> block(sectorSize_);
  std::vector<bool> visited;
  const uint32_t perSector = sectorSize_ / 4 - 1;
  while (fatSectors_.size() < fatCount) {
    if (difatSector >= sectorCount_) Fail("DIFAT sector " + Num(difatSector) + " outside the file");
    if (visited.empty()) visited.resize(sectorCount_);
    if (visited[difatSector]) Fail("the DIFAT chain loops at sector " + Num(difatSector));
    visited[difatSector] = true;
    ReadSector(difatSector, block.data());
    for (uint32_t j = 0; j < perSector && fatSectors_.size() < fatCount; ++j) {
      const uint32_t sector = Le32(block.data() + 4 * j);
      if (sector >= sectorCount_)
        Fail("FAT sector " + Num(sector) + " outside the file (DIFAT sector " + Num(difatSector) + ")");
      fatSectors_.push_back(sector);
    }
    difatSector = Le32(block.data() + 4 * perSector);
  }
}

std::vector<uint32_t> TCompoundFile::ReadTable(const std::vector<uint32_t>& sectors) const {
  const uint32_t perSector = sectorSize_ / 4;
  std::vector<uint32_t> table(sectors.size() * perSector);
  std::vector<uint8_t> block(sectorSize_);
  for (size_t i = 0; i < sectors.size(); ++i) {
    ReadSector(sectors[i], block.data());
    for (uint32_t j = 0; j < perSector; ++j) table[i * perSector + j] = Le32(block.data() + 4 * j);
  }
  return table;
}

void TCompoundFile::ReadFat() { fat_ = ReadTable(fatSectors_); }

std::vector<uint32_t> TCompoundFile::FollowChain(uint32_t start, uint64_t neededSectors,
                                                 const std::vector<uint32_t>& table, uint64_t limit,
                                                 const char* what) const {
  std::vector<uint32_t> chain;
  if (neededSectors == 0) return chain;
  limit = std::min<uint64_t>(limit, table.size());
  chain.reserve(static_cast<size_t>(std::min(neededSectors, limit)));
  std::vector<bool> visited(static_cast<size_t>(limit));
  uint32_t sector = start;
  while (chain.size() < neededSectors) {
    if (sector == kEndOfChain && neededSectors == kUnknownLength) break;
    if (sector == kEndOfChain)
      Fail(std::string("the chain of the ") + what + " ends after " + Num(chain.size()) + " of " +
           Num(neededSectors) + " sectors");
    if (sector >= limit) Fail(std::string("the chain of the ") + what + " leaves the file at sector " + Num(sector));
    if (visited[sector]) Fail(std::string("the chain of the ") + what + " loops at sector " + Num(sector));
    visited[sector] = true;
    chain.push_back(sector);
    sector = table[sector];
  }
  return chain;
}

void TCompoundFile::ReadDirectory() {
  const std::vector<uint32_t> chain = FollowChain(firstDirectorySector_, kUnknownLength, fat_, sectorCount_, "directory");
  if (chain.empty()) Fail("the directory is empty");
  const uint32_t perSector = sectorSize_ / kEntrySize;
  directory_.resize(chain.size() * perSector);
  std::vector<uint8_t> block(sectorSize_);
  for (size_t s = 0; s < chain.size(); ++s) {
    ReadSector(chain[s], block.data());
    for (uint32_t k = 0; k < perSector; ++k) {
      const uint8_t* e = block.data() + k * kEntrySize;
      DirectoryEntry& entry = directory_[s * perSector + k];
      const size_t chars = std::min<size_t>(Le16(e + 64) / 2, 32);
      for (size_t i = 0; i < chars; ++i) {
        const char16_t c = static_cast<char16_t>(Le16(e + 2 * i));
        if (c == 0) break;
        entry.name.push_back(c);
      }
      entry.type = e[66];
      entry.left = Le32(e + 68);
      entry.right = Le32(e + 72);
      entry.child = Le32(e + 76);
      entry.start = Le32(e + 116);
      // Version 3 documents leave the upper half of the size undefined.
      entry.size = sectorSize_ == 512 ? Le32(e + 120) : Le64(e + 120);
    }
  }
  if (directory_[0].type != 5) Fail("the first directory entry is not the root entry");
}

void TCompoundFile::ListRootElements() {
  // In-order walk of the root's sibling tree, without recursion; a node met
  // twice means the links loop.
  std::vector<bool> visited(directory_.size());
  std::vector<uint32_t> stack;
  uint32_t node = directory_[0].child;
  while (node != kNoStream || !stack.empty()) {
    while (node != kNoStream) {
      if (node >= directory_.size()) Fail("directory link to entry " + Num(node) + " outside the directory");
      if (visited[node] || node == 0) Fail("the directory tree loops at entry " + Num(node));
      visited[node] = true;
      stack.push_back(node);
      node = directory_[node].left;
    }
    node = stack.back();
    stack.pop_back();
    const DirectoryEntry& entry = directory_[node];
    if (entry.type == 1 || entry.type == 2) {
      const auto type = static_cast<TCompoundElementType>(entry.type);
      rootElements_.push_back({entry.name, type, type == TCompoundElementType::Stream ? entry.size : 0});
      rootChildIds_.push_back(node);
    }
    node = entry.right;
  }
}

void TCompoundFile::LoadMiniStructures() {
  if (miniLoaded_) return;
  const DirectoryEntry& root = directory_[0];
  if (root.size > sectorCount_ * sectorSize_)
    Fail("the mini stream's size " + Num(root.size) + " exceeds the file");
  miniStreamSectors_ = FollowChain(root.start, CeilDiv(root.size, sectorSize_), fat_, sectorCount_, "mini stream");
  const uint64_t fatLength = miniFatSectorCount_ == 0 ? 0 : kUnknownLength;
  miniFat_ = ReadTable(FollowChain(firstMiniFatSector_, fatLength, fat_, sectorCount_, "mini FAT"));
  miniLoaded_ = true;
}

std::vector<TCompoundExtent> TCompoundFile::StreamExtents(const DirectoryEntry& entry) {
  std::vector<TCompoundExtent> extents;
  const uint64_t size = entry.size;
  const std::string name = "stream of entry " + Num(&entry - directory_.data());
  if (size >= miniCutoff_) {
    if (size > sectorCount_ * sectorSize_) Fail("the size " + Num(size) + " of the " + name + " exceeds the file");
    const std::vector<uint32_t> chain = FollowChain(entry.start, CeilDiv(size, sectorSize_), fat_, sectorCount_, name.c_str());
    for (size_t i = 0; i < chain.size(); ++i) {
      const uint64_t offset = (static_cast<uint64_t>(chain[i]) + 1) * sectorSize_;
      const uint64_t length = std::min<uint64_t>(sectorSize_, size - i * sectorSize_);
      if (offset + length > fileSize_) Fail("the " + name + " reaches beyond the end of the file");
      AppendExtent(extents, offset, length);
    }
    return extents;
  }
  LoadMiniStructures();
  const uint64_t miniSize = directory_[0].size;
  const std::vector<uint32_t> chain =
      FollowChain(entry.start, CeilDiv(size, kMiniSectorSize), miniFat_, CeilDiv(miniSize, kMiniSectorSize), name.c_str());
  for (size_t i = 0; i < chain.size(); ++i) {
    const uint64_t inMini = static_cast<uint64_t>(chain[i]) * kMiniSectorSize;
    const uint64_t length = std::min<uint64_t>(kMiniSectorSize, size - i * kMiniSectorSize);
    if (inMini + length > miniSize) Fail("the " + name + " reaches beyond the mini stream");
    const uint64_t offset = (static_cast<uint64_t>(miniStreamSectors_[inMini / sectorSize_]) + 1) * sectorSize_ +
                            inMini % sectorSize_;
    if (offset + length > fileSize_) Fail("the " + name + " reaches beyond the end of the file");
    AppendExtent(extents, offset, length);
  }
  return extents;
}

std::unique_ptr<TStream> TCompoundFile::OpenStream(std::u16string_view name) {
  for (size_t i = 0; i < rootElements_.size(); ++i) {
    if (rootElements_[i].Type != TCompoundElementType::Stream || !SameName(rootElements_[i].Name, name)) continue;
    const DirectoryEntry& entry = directory_[rootChildIds_[i]];
    return std::make_unique<TCompoundStream>(source_, StreamExtents(entry), entry.size);
  }
  return nullptr;
}

}  // namespace sp
