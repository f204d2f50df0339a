// Builders for expected bytes of the variant stream in tests.
#pragma once

#include <cstdint>
#include <string>

namespace sp::testing {

// A 32-bit little-endian integer.
inline std::string Int32(int32_t value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((static_cast<uint32_t>(value) >> (8 * i)) & 0xFF);
  return bytes;
}
// A text block: length, then the bytes.
inline std::string Block(const std::string& text) { return Int32(static_cast<int32_t>(text.size())) + text; }
// An 8-bit text value (tag 256) and a 32-bit integer value (tag 3).
inline std::string Text(const std::string& text) { return Int32(256) + Block(text); }
inline std::string Integer(const std::string& digits) { return Int32(3) + Block(digits); }

}  // namespace sp::testing
