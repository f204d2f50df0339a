// Feeds arbitrary bytes as a rules store file to the store's loader (which
// takes its fields from the file's definition block), and checks that what
// it accepts survives a save and reload.
#include <cstddef>
#include <cstdint>
#include <string>

#include "csvfuzzcheck.h"
#include "memtablefixture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  sp::TMemTable store;
  sp::testing::DefineStoreFields(store);
  sp::testing::CheckCsvRoundTrip(std::string(reinterpret_cast<const char*>(data), size), store,
                                 sp::TCsvVariant::Store, /*mayFail=*/true);
  return 0;
}
