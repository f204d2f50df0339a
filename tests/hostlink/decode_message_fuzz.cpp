// Feeds arbitrary bytes to the receiving side of the host link: the header
// checks and the message decoding that every pipe message goes through, and
// the decoder alone on the same bytes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "hostlink/hostmessage.h"
#include "hostlink/internalmessage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  sp::TMemoryStream pipeMessage(bytes);
  const auto received = sp::ReadPipeMessage(pipeMessage);
  if (received && received->BackData && received->BackData->Params.size() != sp::kMessageParamCount) std::abort();

  sp::TMemoryStream body(bytes);
  const sp::TInternalMessage message = sp::DecodeMessage(body);
  // Whatever was decoded can be sent on again.
  sp::TMemoryStream again;
  sp::EncodeMessage(message, again);
  return 0;
}
