// TVariant2StreamConverter: the binary form of TVariant values on a stream.
//
// Positional, little-endian, 32-bit integers throughout. A value is its tag
// followed by: nothing (empty, null); an array head (dimension count 1, low
// bound, high bound) and the raw bytes (byte arrays) or every element as a
// value (other arrays); or a text block (32-bit length, then that many bytes)
// holding the scalar's text form. Arrays read back as arrays of variants
// (tag 0x200C); 32-bit floats and currencies as 64-bit floats.
//
// Reading treats the stream as hostile: a count, bound or length larger than
// the bytes left fails before anything is allocated, arrays nest at most
// kMaxNesting deep, and every failure raises EReadError naming the offset
// (conversion failures raise EConvertError). The names passed to the
// operations are not written; they name the value in error texts.
//
// The converter refers to a stream it does not own; one thread at a time.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "hostlink/variant.h"
#include "platform/stream.h"

namespace sp {

class TVariant2StreamConverter {
 public:
  static constexpr int kMaxNesting = 64;

  explicit TVariant2StreamConverter(TStream& stream) : stream_(stream) {}

  void WriteVariant(std::string_view name, const TVariant& value);
  TVariant ReadVariant(std::string_view name);
  // Head and elements of a non-byte array (no tag).
  void WriteVariantArray(std::string_view name, const TVariant& array);
  TVariant ReadVariantArray(std::string_view name);
  // Head and raw bytes of a byte array (no tag).
  void WriteVariantByteArray(std::string_view name, const TVariant& array);
  TVariant ReadVariantByteArray(std::string_view name);

  void WriteInteger(std::string_view name, int32_t value);
  int32_t ReadInteger(std::string_view name);
  void WriteString(std::string_view name, std::string_view text);
  std::string ReadString(std::string_view name);

 private:
  // Reads the head of a one-dimensional array and returns its element count,
  // checked against the bytes left (each element needs `minElementSize`).
  int64_t ReadArrayHead(std::string_view name, const char* what, int64_t minElementSize, int32_t& low);
  int64_t BytesLeft();
  [[noreturn]] void Fail(std::string_view name, const std::string& problem);

  TStream& stream_;
  int depth_ = 0;
};

}  // namespace sp
