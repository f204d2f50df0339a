#include "platform/errors.h"

#include <cstring>

namespace sp {

void RaiseOSError(int code) {
  throw EOSError(std::string("System Error.  Code: ") + std::to_string(code) + ".\r\n" + std::strerror(code), code);
}

}  // namespace sp
