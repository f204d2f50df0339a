// Feeds arbitrary bytes as a shared section's content to the order data
// map's loader, and checks that what it accepts survives a save and reload.
#include <cstddef>
#include <cstdint>
#include <string>

#include "csvfuzzcheck.h"
#include "memtablefixture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  sp::TMemTable map;
  sp::testing::DefineMapFields(map);
  sp::testing::CheckCsvRoundTrip(std::string(reinterpret_cast<const char*>(data), size), map, sp::TCsvVariant::Map);
  return 0;
}
