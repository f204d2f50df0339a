// Feeds arbitrary bytes as a map value to DecompressToStream: it must end,
// stay within its output limit, and either decompress or copy exactly.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "hostlink/compression.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string value(reinterpret_cast<const char*>(data), size);
  sp::TMemoryStream source(value);
  sp::TMemoryStream destination;
  const bool decompressed = sp::DecompressToStream(source, destination);
  if (destination.Position() != 0 || destination.Size() > sp::kMaxDecompressedSize) std::abort();
  if (!decompressed && destination.Bytes() != value) std::abort();
  return 0;
}
