// Little-endian field access for parsers of outside data. The callers check
// that the bytes exist; these only assemble them.
#pragma once

#include <cstdint>
#include <cstring>

namespace sp {

inline uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
inline uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}
inline uint64_t Le64(const uint8_t* p) { return Le32(p) | static_cast<uint64_t>(Le32(p + 4)) << 32; }
inline double LeDouble(const uint8_t* p) {
  const uint64_t bits = Le64(p);
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

}  // namespace sp
