// Fuzz target of the compound-document reader: opens the input, then opens
// and reads every stream below the root, in pieces and after seeks.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/compound/compound_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto source = std::make_shared<sp::TMemoryStream>(std::string(reinterpret_cast<const char*>(data), size));
  try {
    sp::TCompoundFile document(source);
    for (const sp::TCompoundElement& element : document.RootElements()) {
      std::unique_ptr<sp::TStream> stream = document.OpenStream(element.Name);
      if (!stream) continue;
      char block[777];
      while (stream->Read(block, sizeof block) > 0) {
      }
      stream->Seek(-1000, sp::TSeekOrigin::End);
      stream->Read(block, sizeof block);
      stream->Seek(INT64_MAX, sp::TSeekOrigin::Current);
      stream->Read(block, sizeof block);
    }
  } catch (const sp::Exception&) {
    // a refused document
  }
  return 0;
}
