// Memory for the cell lists of one sheet: a monotonic arena (nothing is given
// back before the whole sheet is cleared) whose larger blocks ask the system
// for huge pages. A big sheet touches tens of megabytes of new memory, and
// faulting that in 4 KiB pages costs more than reading the file; small
// sheets keep ordinary blocks, so they never cost a huge page each.
// Not thread-safe, like the store that owns it.
#pragma once

#include <cstddef>
#include <memory_resource>

namespace sp {

class TCellArena : public std::pmr::monotonic_buffer_resource {
 public:
  TCellArena();
};

}  // namespace sp
