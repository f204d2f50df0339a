// TVariant: one self-describing value of a host message. Its tag is the OLE
// Automation type number of its kind, except the 8-bit text string, which
// has the tag 256; arrays carry kVarArray plus their element type.
//
// Kinds held: empty, null, the integer kinds (2, 3, 10, 16 to 21), the float
// kinds (4 single, 5 double, 6 currency), date-time (7), UTF-16 text (8),
// Boolean (11), 8-bit text (256), one-dimensional byte arrays (element type
// 17) and one-dimensional arrays of values. Arrays have one dimension only:
// the stream format carries no other.
//
// Every scalar has a text form (ToText) and can be made back from it
// (FromText); floats and dates use the process's regional formats. A plain
// value object: copyable, no sharing, any thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/formatting.h"

namespace sp {

inline constexpr uint32_t kVarEmpty = 0;
inline constexpr uint32_t kVarNull = 1;
inline constexpr uint32_t kVarSmallint = 2;
inline constexpr uint32_t kVarInteger = 3;
inline constexpr uint32_t kVarSingle = 4;
inline constexpr uint32_t kVarDouble = 5;
inline constexpr uint32_t kVarCurrency = 6;
inline constexpr uint32_t kVarDate = 7;
inline constexpr uint32_t kVarOleStr = 8;
inline constexpr uint32_t kVarError = 10;
inline constexpr uint32_t kVarBoolean = 11;
inline constexpr uint32_t kVarVariant = 12;
inline constexpr uint32_t kVarShortInt = 16;
inline constexpr uint32_t kVarByte = 17;
inline constexpr uint32_t kVarWord = 18;
inline constexpr uint32_t kVarLongWord = 19;
inline constexpr uint32_t kVarInt64 = 20;
inline constexpr uint32_t kVarUInt64 = 21;
inline constexpr uint32_t kVarString = 256;
inline constexpr uint32_t kVarArray = 0x2000;
inline constexpr uint32_t kVarTypeMask = 0xFFF;

class TVariant {
 public:
  TVariant() = default;  // empty
  TVariant(std::string text);  // 8-bit text
  TVariant(const char* text) : TVariant(std::string(text)) {}
  TVariant(int32_t value);  // 32-bit integer

  static TVariant Null();
  // Integer kinds 2, 3, 10, 16 to 20. Raises EConvertError for another tag
  // or a value outside the kind's range.
  static TVariant Integer(uint32_t tag, int64_t value);
  static TVariant UInt64(uint64_t value);
  // Float kinds 4, 5, 6 (a single is rounded to single precision).
  static TVariant Float(uint32_t tag, double value);
  static TVariant Date(TDateTime value);
  static TVariant Boolean(bool value);
  static TVariant WideText(std::u16string text);
  // A byte array with the bounds low .. low + size - 1.
  static TVariant ByteArray(int32_t low, std::string bytes);
  // An array of element type `elementType` (not 17) with the bounds
  // low .. low + size - 1; each item keeps its own kind.
  static TVariant Array(uint32_t elementType, int32_t low, std::vector<TVariant> items);
  // The scalar of kind `tag` whose text form is `text`. Raises
  // EConvertError when the kind rejects the text or is not a scalar kind.
  static TVariant FromText(uint32_t tag, const std::string& text);

  uint32_t Tag() const { return tag_; }
  bool IsArray() const { return (tag_ & kVarArray) != 0; }
  bool IsByteArray() const { return IsArray() && (tag_ & kVarTypeMask) == kVarByte; }
  bool IsEmpty() const { return tag_ == kVarEmpty; }
  bool IsNull() const { return tag_ == kVarNull; }

  // The text form of a scalar: decimal integers, regional floats and dates,
  // "True"/"False", UTF-16 converted to Windows-1252; empty and null give "".
  // Raises EConvertError for arrays.
  std::string ToText() const;
  // Text form, or "" for arrays: what a receiver reads from any parameter.
  std::string ToTextOrEmpty() const;
  // The value as a 32-bit integer: integer kinds in range, floats rounded,
  // Booleans as -1/0, texts in decimal. False when it cannot be one.
  bool ToInt32(int32_t& value) const;

  int64_t AsInt64() const { return number_.integer; }
  uint64_t AsUInt64() const { return number_.unsignedInteger; }
  double AsDouble() const { return number_.real; }
  bool AsBoolean() const { return number_.integer != 0; }
  const std::string& AsString() const { return text_; }  // 8-bit text
  const std::u16string& AsWideText() const { return wide_; }

  // Arrays: bounds and content.
  int32_t Low() const { return low_; }
  int32_t High() const;
  const std::string& Bytes() const { return text_; }  // byte arrays
  const std::vector<TVariant>& Items() const { return items_; }
  std::vector<TVariant>& Items() { return items_; }

  friend bool operator==(const TVariant& a, const TVariant& b);

 private:
  static TVariant Tagged(uint32_t tag);

  uint32_t tag_ = kVarEmpty;
  int32_t low_ = 0;
  union {
    int64_t integer;
    uint64_t unsignedInteger;
    double real;
  } number_{0};
  std::string text_;
  std::u16string wide_;
  std::vector<TVariant> items_;
};

}  // namespace sp
