// Feeds arbitrary bytes as a shared section's content to the order data
// map's loader, and checks that it accepts them all and that what it read
// survives a save and reload.
#include <cstddef>
#include <cstdint>
#include <string>

#include "csvfuzzcheck.h"
#include "memtablefixture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  sp::TMemTable map;
  sp::testing::DefineMapFields(map);
  sp::testing::CheckCsvRoundTrip(std::string(reinterpret_cast<const char*>(data), size), map, sp::TCsvVariant::Map,
                                 /*mayFail=*/false);
  return 0;
}
