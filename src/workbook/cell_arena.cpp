#include "workbook/cell_arena.h"

#include <cstdlib>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace sp {

namespace {

constexpr size_t kHugePage = size_t{2} << 20;

// Upstream of the arenas: blocks of at least a huge page are aligned to one
// and advised as huge-page memory; smaller ones come from the heap.
class THugePageBlocks : public std::pmr::memory_resource {
  void* do_allocate(size_t bytes, size_t alignment) override {
    if (bytes < kHugePage) return ::operator new(bytes, std::align_val_t(alignment));
    const size_t size = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    void* block = std::aligned_alloc(kHugePage, size);
    if (!block) throw std::bad_alloc();
#if defined(MADV_HUGEPAGE)
    madvise(block, size, MADV_HUGEPAGE);  // advice only: without it the block still works
#endif
    return block;
  }
  void do_deallocate(void* block, size_t bytes, size_t alignment) override {
    if (bytes < kHugePage)
      ::operator delete(block, std::align_val_t(alignment));
    else
      std::free(block);
  }
  bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override { return this == &other; }
};

std::pmr::memory_resource* HugePageBlocks() {
  static THugePageBlocks blocks;
  return &blocks;
}

}  // namespace

TCellArena::TCellArena() : std::pmr::monotonic_buffer_resource(4096, HugePageBlocks()) {}

}  // namespace sp
