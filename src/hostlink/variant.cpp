#include "hostlink/variant.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <type_traits>

#include "platform/errors.h"
#include "support/text1252.h"

namespace sp {

namespace {

struct TIntegerRange {
  uint32_t tag;
  int64_t low;
  int64_t high;
};

constexpr TIntegerRange kIntegerRanges[] = {
    {kVarSmallint, INT16_MIN, INT16_MAX}, {kVarInteger, INT32_MIN, INT32_MAX},
    {kVarError, INT32_MIN, INT32_MAX},    {kVarShortInt, INT8_MIN, INT8_MAX},
    {kVarByte, 0, UINT8_MAX},             {kVarWord, 0, UINT16_MAX},
    {kVarLongWord, 0, UINT32_MAX},        {kVarInt64, INT64_MIN, INT64_MAX},
};

const TIntegerRange* IntegerRange(uint32_t tag) {
  for (const auto& range : kIntegerRanges)
    if (range.tag == tag) return &range;
  return nullptr;
}

bool IsFloatTag(uint32_t tag) { return tag == kVarSingle || tag == kVarDouble || tag == kVarCurrency; }

[[noreturn]] void RaiseNoConversion(const std::string& text, uint32_t tag) {
  throw EConvertError("Could not convert \"" + text + "\" into a variant of type " + std::to_string(tag));
}

// Decimal text with an optional sign; nothing else.
template <typename Int>
bool ParseDecimal(const std::string& text, Int& value) {
  const char* first = text.data();
  const char* last = first + text.size();
  const bool plus = first != last && *first == '+';
  if (plus) ++first;
  if (first == last || (*first == '-' && (plus || std::is_unsigned_v<Int>))) return false;
  const auto [end, error] = std::from_chars(first, last, value);
  return error == std::errc() && end == last;
}

}  // namespace

TVariant::TVariant(std::string text) : tag_(kVarString), text_(std::move(text)) {}

TVariant::TVariant(int32_t value) : tag_(kVarInteger) { number_.integer = value; }

TVariant TVariant::Tagged(uint32_t tag) {
  TVariant v;
  v.tag_ = tag;
  return v;
}

TVariant TVariant::Null() { return Tagged(kVarNull); }

TVariant TVariant::Integer(uint32_t tag, int64_t value) {
  const TIntegerRange* range = IntegerRange(tag);
  if (!range) throw EConvertError("Variant type " + std::to_string(tag) + " is no integer type");
  if (value < range->low || value > range->high) RaiseNoConversion(std::to_string(value), tag);
  TVariant v = Tagged(tag);
  v.number_.integer = value;
  return v;
}

TVariant TVariant::UInt64(uint64_t value) {
  TVariant v = Tagged(kVarUInt64);
  v.number_.unsignedInteger = value;
  return v;
}

TVariant TVariant::Float(uint32_t tag, double value) {
  if (!IsFloatTag(tag)) throw EConvertError("Variant type " + std::to_string(tag) + " is no float type");
  TVariant v = Tagged(tag);
  v.number_.real = tag == kVarSingle ? static_cast<double>(static_cast<float>(value)) : value;
  return v;
}

TVariant TVariant::Date(TDateTime value) {
  TVariant v = Tagged(kVarDate);
  v.number_.real = value;
  return v;
}

TVariant TVariant::Boolean(bool value) {
  TVariant v = Tagged(kVarBoolean);
  v.number_.integer = value ? 1 : 0;
  return v;
}

TVariant TVariant::WideText(std::u16string text) {
  TVariant v = Tagged(kVarOleStr);
  v.wide_ = std::move(text);
  return v;
}

TVariant TVariant::ByteArray(int32_t low, std::string bytes) {
  TVariant v = Tagged(kVarArray | kVarByte);
  v.low_ = low;
  v.text_ = std::move(bytes);
  return v;
}

TVariant TVariant::Array(uint32_t elementType, int32_t low, std::vector<TVariant> items) {
  if ((elementType & kVarTypeMask) == kVarByte) throw EConvertError("Byte arrays hold bytes, not values");
  TVariant v = Tagged(kVarArray | (elementType & kVarTypeMask));
  v.low_ = low;
  v.items_ = std::move(items);
  return v;
}

TVariant TVariant::FromText(uint32_t tag, const std::string& text) {
  if (tag == kVarEmpty) return TVariant();
  if (tag == kVarNull) return Null();
  if (tag == kVarString) return TVariant(text);
  if (tag == kVarOleStr) return WideText(AnsiToUtf16(text));
  if (IntegerRange(tag)) {
    int64_t value = 0;
    if (!ParseDecimal(text, value)) RaiseNoConversion(text, tag);
    return Integer(tag, value);
  }
  if (tag == kVarUInt64) {
    uint64_t value = 0;
    if (!ParseDecimal(text, value)) RaiseNoConversion(text, tag);
    return UInt64(value);
  }
  if (IsFloatTag(tag)) {
    double value = 0;
    if (!TextToFloat(text, value)) RaiseNoConversion(text, tag);
    return Float(tag, value);
  }
  if (tag == kVarDate) {
    TDateTime value = 0;
    if (!TextToDateTime(text, value)) RaiseNoConversion(text, tag);
    return Date(value);
  }
  if (tag == kVarBoolean) {
    if (SameText(text, "True")) return Boolean(true);
    if (SameText(text, "False")) return Boolean(false);
    int64_t value = 0;
    if (!ParseDecimal(text, value)) RaiseNoConversion(text, tag);
    return Boolean(value != 0);
  }
  throw EConvertError("Unsupported variant type " + std::to_string(tag));
}

int32_t TVariant::High() const {
  const size_t count = IsByteArray() ? text_.size() : items_.size();
  return static_cast<int32_t>(static_cast<int64_t>(low_) + static_cast<int64_t>(count) - 1);
}

std::string TVariant::ToText() const {
  if (IsArray()) throw EConvertError("Could not convert an array of type " + std::to_string(tag_) + " into text");
  if (IntegerRange(tag_)) return std::to_string(number_.integer);
  if (IsFloatTag(tag_)) return FloatToText(number_.real);
  switch (tag_) {
    case kVarEmpty:
    case kVarNull:
      return {};
    case kVarUInt64:
      return std::to_string(number_.unsignedInteger);
    case kVarDate:
      return DateTimeToText(number_.real);
    case kVarOleStr:
      return Utf16ToAnsi(wide_);
    case kVarBoolean:
      return number_.integer ? "True" : "False";
    default:
      return text_;
  }
}

std::string TVariant::ToTextOrEmpty() const { return IsArray() ? std::string() : ToText(); }

bool TVariant::ToInt32(int32_t& value) const {
  int64_t wide = 0;
  if (tag_ == kVarEmpty) {
    wide = 0;
  } else if (IntegerRange(tag_)) {
    wide = number_.integer;
  } else if (tag_ == kVarUInt64) {
    if (number_.unsignedInteger > static_cast<uint64_t>(INT32_MAX)) return false;
    wide = static_cast<int64_t>(number_.unsignedInteger);
  } else if (IsFloatTag(tag_) || tag_ == kVarDate) {
    const double rounded = std::nearbyint(number_.real);
    if (!(rounded >= INT32_MIN && rounded <= INT32_MAX)) return false;
    wide = static_cast<int64_t>(rounded);
  } else if (tag_ == kVarBoolean) {
    wide = number_.integer ? -1 : 0;
  } else if (tag_ == kVarString || tag_ == kVarOleStr) {
    if (!ParseDecimal(ToText(), wide)) return false;
  } else {
    return false;
  }
  if (wide < INT32_MIN || wide > INT32_MAX) return false;
  value = static_cast<int32_t>(wide);
  return true;
}

bool operator==(const TVariant& a, const TVariant& b) {
  return a.tag_ == b.tag_ && a.low_ == b.low_ && a.number_.integer == b.number_.integer && a.text_ == b.text_ &&
         a.wide_ == b.wide_ && a.items_ == b.items_;
}

}  // namespace sp
