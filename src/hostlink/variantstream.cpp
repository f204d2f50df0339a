#include "hostlink/variantstream.h"

#include <limits>

#include "platform/errors.h"

namespace sp {

namespace {

std::string Named(std::string_view name, std::string_view suffix) {
  std::string text(name);
  text += suffix;
  return text;
}

}  // namespace

int64_t TVariant2StreamConverter::BytesLeft() { return stream_.Size() - stream_.Position(); }

void TVariant2StreamConverter::Fail(std::string_view name, const std::string& problem) {
  throw EReadError("Variant stream: " + std::string(name) + ": " + problem + " at offset " +
                   std::to_string(stream_.Position()));
}

// ---- Writing -------------------------------------------------------------

void TVariant2StreamConverter::WriteInteger(std::string_view, int32_t value) {
  unsigned char bytes[4];
  const auto bits = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<unsigned char>(bits >> (8 * i));
  stream_.WriteBuffer(bytes, 4);
}

void TVariant2StreamConverter::WriteString(std::string_view name, std::string_view text) {
  if (text.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
    throw EWriteError("Variant stream: " + Named(name, "_SIZE") + ": text too long");
  WriteInteger(name, static_cast<int32_t>(text.size()));
  stream_.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

void TVariant2StreamConverter::WriteVariant(std::string_view name, const TVariant& value) {
  WriteInteger(name, static_cast<int32_t>(value.Tag()));
  if (value.IsByteArray()) {
    WriteVariantByteArray(name, value);
  } else if (value.IsArray()) {
    WriteVariantArray(name, value);
  } else if (!value.IsEmpty() && !value.IsNull()) {
    WriteString(name, value.ToText());
  }
}

void TVariant2StreamConverter::WriteVariantArray(std::string_view name, const TVariant& array) {
  WriteInteger(name, 1);
  WriteInteger(name, array.Low());
  WriteInteger(name, array.High());
  for (const TVariant& item : array.Items()) WriteVariant(name, item);
}

void TVariant2StreamConverter::WriteVariantByteArray(std::string_view name, const TVariant& array) {
  WriteInteger(name, 1);
  WriteInteger(name, array.Low());
  WriteInteger(name, array.High());
  stream_.WriteBuffer(array.Bytes().data(), static_cast<int64_t>(array.Bytes().size()));
}

// ---- Reading -------------------------------------------------------------

int32_t TVariant2StreamConverter::ReadInteger(std::string_view name) {
  unsigned char bytes[4];
  if (BytesLeft() < 4 || stream_.Read(bytes, 4) != 4) Fail(name, "stream ends inside a 32-bit integer");
  uint32_t bits = 0;
  for (int i = 3; i >= 0; --i) bits = (bits << 8) | bytes[i];
  return static_cast<int32_t>(bits);
}

std::string TVariant2StreamConverter::ReadString(std::string_view name) {
  const int32_t length = ReadInteger(name);
  if (length < 0) Fail(name, "negative text length " + std::to_string(length));
  const int64_t left = BytesLeft();
  if (length > left) Fail(name, "text length " + std::to_string(length) + " exceeds the " + std::to_string(left) + " bytes left");
  std::string text(static_cast<size_t>(length), '\0');
  if (length > 0 && stream_.Read(text.data(), length) != length) Fail(name, "stream ends inside a text");
  return text;
}

int64_t TVariant2StreamConverter::ReadArrayHead(std::string_view name, const char* what, int64_t minElementSize,
                                                int32_t& low) {
  const int32_t dimensions = ReadInteger(Named(name, "_DIM"));
  if (dimensions != 1) throw EReadError(std::string(what) + " only supports one dimension.");
  low = ReadInteger(Named(name, "_LOW"));
  const int32_t high = ReadInteger(Named(name, "_HIGH"));
  const int64_t count = static_cast<int64_t>(high) - low + 1;
  if (count < 0) Fail(name, "high bound " + std::to_string(high) + " below low bound " + std::to_string(low));
  const int64_t left = BytesLeft();
  if (count > left / minElementSize)
    Fail(name, std::to_string(count) + " elements cannot fit in the " + std::to_string(left) + " bytes left");
  return count;
}

TVariant TVariant2StreamConverter::ReadVariantArray(std::string_view name) {
  int32_t low = 0;
  const int64_t count = ReadArrayHead(name, "ReadVariantArray", 4, low);
  if (depth_ >= kMaxNesting) Fail(name, "arrays nested more than " + std::to_string(kMaxNesting) + " deep");
  ++depth_;
  std::vector<TVariant> items;
  try {
    for (int64_t i = 0; i < count; ++i) items.push_back(ReadVariant(name));
  } catch (...) {
    --depth_;
    throw;
  }
  --depth_;
  return TVariant::Array(kVarVariant, low, std::move(items));
}

TVariant TVariant2StreamConverter::ReadVariantByteArray(std::string_view name) {
  int32_t low = 0;
  const int64_t count = ReadArrayHead(name, "ReadVariantByteArray", 1, low);
  std::string bytes(static_cast<size_t>(count), '\0');
  if (count > 0 && stream_.Read(bytes.data(), count) != count) Fail(name, "stream ends inside a byte array");
  return TVariant::ByteArray(low, std::move(bytes));
}

TVariant TVariant2StreamConverter::ReadVariant(std::string_view name) {
  const auto tag = static_cast<uint32_t>(ReadInteger(Named(name, "_TYPE")));
  if (tag & kVarArray)
    return (tag & kVarTypeMask) == kVarByte ? ReadVariantByteArray(name) : ReadVariantArray(name);
  if (tag == kVarEmpty) return TVariant();
  if (tag == kVarNull) return TVariant::Null();
  const std::string text = ReadString(Named(name, "_SIZE"));
  switch (tag) {
    case kVarSingle:
    case kVarDouble:
    case kVarCurrency:
      return TVariant::FromText(kVarDouble, text);
    case kVarString:
      return TVariant(text);
    default:
      return TVariant::FromText(tag, text);
  }
}

}  // namespace sp
