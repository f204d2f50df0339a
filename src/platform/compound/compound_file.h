// A read-only compound document (structured storage): the container of BIFF5
// to BIFF8 workbooks. It opens over any seekable byte stream (a file handle or
// a block in memory), validates the header, the FAT with its DIFAT chain and
// the directory at open, and the mini FAT and mini stream when a small stream
// is first opened.
//
// Every sector number, chain and size read from the document is checked
// before use: chains that loop, leave the file or end early, sizes beyond the
// file, and tree links that repeat or point outside the directory raise
// ECompoundError with a description and, where one exists, the byte offset
// of the fault. Allocations are bounded by the document's size.
//
// Ownership: the document shares its source stream with every stream it
// opens, so streams stay valid after the document is gone. Not thread-safe:
// one document and its streams are used by one thread at a time.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/compound/compound_stream.h"
#include "platform/errors.h"
#include "platform/stream.h"

namespace sp {

class ECompoundError : public EStreamError { using EStreamError::EStreamError; };

enum class TCompoundElementType : uint8_t { Storage = 1, Stream = 2 };

struct TCompoundElement {
  std::u16string Name;
  TCompoundElementType Type;
  uint64_t Size;  // streams only; 0 for storages
};

class TCompoundFile {
 public:
  // True when the source starts with the compound-document signature. Leaves
  // the source's position at 0.
  static bool HasSignature(TStream& source);

  // REQUIRES: `source` is seekable and not changed while the document lives.
  // Raises ECompoundError when the source is no valid compound document.
  explicit TCompoundFile(std::shared_ptr<TStream> source);
  ~TCompoundFile();
  TCompoundFile(const TCompoundFile&) = delete;
  TCompoundFile& operator=(const TCompoundFile&) = delete;

  // The elements directly below the root storage, in storage order (the
  // order of the directory's sibling tree).
  const std::vector<TCompoundElement>& RootElements() const { return rootElements_; }

  // Opens the stream below the root whose name equals `name` ignoring the
  // letter case; nullptr when there is none (a storage of that name does not
  // count). Raises ECompoundError when its sectors are damaged.
  std::unique_ptr<TStream> OpenStream(std::u16string_view name);

 private:
  struct DirectoryEntry {
    std::u16string name;
    uint8_t type = 0;  // 0 unused, 1 storage, 2 stream, 5 root
    uint32_t left = 0, right = 0, child = 0;
    uint32_t start = 0;
    uint64_t size = 0;
  };

  void ReadHeader();
  void ReadFat();
  void ReadDirectory();
  void ListRootElements();
  void LoadMiniStructures();
  std::vector<uint32_t> FollowChain(uint32_t start, uint64_t neededSectors, const std::vector<uint32_t>& table,
                                    uint64_t limit, const char* what) const;
  std::vector<TCompoundExtent> StreamExtents(const DirectoryEntry& entry);
  void ReadSector(uint32_t sector, void* buffer) const;
  // The 32-bit entries of the given sectors, in order (the FAT, the mini FAT).
  std::vector<uint32_t> ReadTable(const std::vector<uint32_t>& sectors) const;

  std::shared_ptr<TStream> source_;
  uint64_t fileSize_ = 0;
  uint32_t sectorSize_ = 512;
  uint64_t sectorCount_ = 0;  // sectors that start inside the file
  uint32_t miniCutoff_ = 4096;
  uint32_t firstDirectorySector_ = 0;
  uint32_t firstMiniFatSector_ = 0;
  uint32_t miniFatSectorCount_ = 0;
  std::vector<uint32_t> fatSectors_;
  std::vector<uint32_t> fat_;
  std::vector<DirectoryEntry> directory_;
  std::vector<TCompoundElement> rootElements_;
  std::vector<uint32_t> rootChildIds_;  // directory ids of rootElements_
  bool miniLoaded_ = false;
  std::vector<uint32_t> miniFat_;
  std::vector<uint32_t> miniStreamSectors_;  // the root entry's chain
};

}  // namespace sp
