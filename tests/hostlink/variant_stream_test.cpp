#include <gtest/gtest.h>

#include <string>

#include "hostlink/fastmemorystream.h"
#include "hostlink/variantstream.h"
#include "platform/errors.h"
#include "support/formatting.h"
#include "support/text1252.h"
#include "tests/hostlink/wire_bytes.h"

namespace sp {
namespace {

using testing::Int32;
using testing::Block;


std::string Encode(const TVariant& value) {
  TMemoryStream stream;
  TVariant2StreamConverter(stream).WriteVariant("V", value);
  return stream.Bytes();
}

TVariant Decode(const std::string& bytes) {
  TMemoryStream stream(bytes);
  return TVariant2StreamConverter(stream).ReadVariant("V");
}

struct EncodingCase {
  const char* what;
  TVariant value;
  std::string bytes;
};

TEST(VariantStream, EncodesEachKindByteExact) {
  FormatSettings() = TFormatSettings();
  TDateTime date = 0;
  ASSERT_TRUE(EncodeDate(2024, 3, 5, date));
  TDateTime time = 0;
  ASSERT_TRUE(EncodeTime(13, 4, 5, 0, time));
  const EncodingCase cases[] = {
      {"empty 8-bit string", TVariant(std::string()), Int32(256) + Int32(0)},
      {"32-bit integer 5000", TVariant(5000), Int32(3) + Block("5000")},
      {"empty", TVariant(), Int32(0)},
      {"null", TVariant::Null(), Int32(1)},
      {"16-bit integer", TVariant::Integer(kVarSmallint, -12), Int32(2) + Block("-12")},
      {"one and a half, German", TVariant::Float(kVarDouble, 1.5), Int32(5) + Block("1,5")},
      {"currency", TVariant::Float(kVarCurrency, 12.25), Int32(6) + Block("12,25")},
      {"date only", TVariant::Date(date), Int32(7) + Block("05.03.2024")},
      {"date and time", TVariant::Date(date + time), Int32(7) + Block("05.03.2024 13:04:05")},
      {"boolean", TVariant::Boolean(true), Int32(11) + Block("True")},
      {"UTF-16 text", TVariant::WideText(u"Gr\u00fc\u00dfe"), Int32(8) + Block(Ansi("Grüße"))},
      {"byte array 0..2", TVariant::ByteArray(0, std::string("\x01\x00\xff", 3)),
       Int32(0x2011) + Int32(1) + Int32(0) + Int32(2) + std::string("\x01\x00\xff", 3)},
      {"array of integers", TVariant::Array(kVarInteger, 1, {TVariant(7), TVariant(-8)}),
       Int32(0x2003) + Int32(1) + Int32(1) + Int32(2) + Int32(3) + Block("7") + Int32(3) + Block("-8")},
      {"empty array", TVariant::Array(kVarVariant, 0, {}), Int32(0x200C) + Int32(1) + Int32(0) + Int32(-1)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Encode(c.value), c.bytes) << c.what;
  }
}

TEST(VariantStream, ReadsBackWithTheDocumentedKinds) {
  FormatSettings() = TFormatSettings();
  struct Case {
    const char* what;
    TVariant written;
    TVariant expected;
  };
  const Case cases[] = {
      {"32-bit float comes back as 64-bit", TVariant::Float(kVarSingle, 0.5), TVariant::Float(kVarDouble, 0.5)},
      {"currency comes back as 64-bit", TVariant::Float(kVarCurrency, 2.75), TVariant::Float(kVarDouble, 2.75)},
      {"16-bit integer", TVariant::Integer(kVarSmallint, 300), TVariant::Integer(kVarSmallint, 300)},
      {"64-bit integer", TVariant::Integer(kVarInt64, -9000000000), TVariant::Integer(kVarInt64, -9000000000)},
      {"unsigned 64-bit", TVariant::UInt64(18446744073709551615u), TVariant::UInt64(18446744073709551615u)},
      {"8-bit text with every byte", TVariant(std::string("\x00\x08<>\xff", 5)), TVariant(std::string("\x00\x08<>\xff", 5))},
      {"boolean false", TVariant::Boolean(false), TVariant::Boolean(false)},
      {"byte array keeps bounds", TVariant::ByteArray(5, "abc"), TVariant::ByteArray(5, "abc")},
      {"array of integers becomes array of variants",
       TVariant::Array(kVarInteger, -1, {TVariant(1), TVariant(2)}),
       TVariant::Array(kVarVariant, -1, {TVariant(1), TVariant(2)})},
      {"nested arrays",
       TVariant::Array(kVarVariant, 0, {TVariant("a"), TVariant::Array(kVarString, 3, {TVariant("b")})}),
       TVariant::Array(kVarVariant, 0, {TVariant("a"), TVariant::Array(kVarVariant, 3, {TVariant("b")})})},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Decode(Encode(c.written)), c.expected) << c.what;
  }
}

TEST(VariantStream, FloatsAndDatesFollowTheRegionalSettings) {
  FormatSettings() = TFormatSettings();
  FormatSettings().DecimalSeparator = '.';
  FormatSettings().DateSeparator = '/';
  FormatSettings().ShortDateFormat = "yyyy/mm/dd";
  TDateTime date = 0;
  ASSERT_TRUE(EncodeDate(2023, 12, 31, date));
  EXPECT_EQ(Encode(TVariant::Float(kVarDouble, 1.5)), Int32(5) + Block("1.5"));
  EXPECT_EQ(Encode(TVariant::Date(date)), Int32(7) + Block("2023/12/31"));
  EXPECT_EQ(Decode(Encode(TVariant::Date(date))), TVariant::Date(date));
  FormatSettings() = TFormatSettings();
  EXPECT_EQ(Decode(Int32(5) + Block("0,125")), TVariant::Float(kVarDouble, 0.125));
}

TEST(VariantStream, TextOutsideTheCodePageLosesItsCharacters) {
  const TVariant back = Decode(Encode(TVariant::WideText(u"a\u4e2db")));
  EXPECT_EQ(back.Tag(), kVarOleStr);
  EXPECT_EQ(back.AsWideText(), u"a?b");
}

TEST(VariantStream, HostileInputFailsBeforeAllocating) {
  struct Case {
    const char* what;
    std::string bytes;
  };
  const Case cases[] = {
      {"short tag", std::string("\x03\x00", 2)},
      {"text length beyond the end", Int32(256) + Int32(1000) + "abc"},
      {"negative text length", Int32(256) + Int32(-1)},
      {"byte array larger than the rest", Int32(0x2011) + Int32(1) + Int32(0) + Int32(2000000000)},
      {"element count larger than the rest", Int32(0x200C) + Int32(1) + Int32(0) + Int32(1000)},
      {"high below low - 1", Int32(0x200C) + Int32(1) + Int32(5) + Int32(3)},
      {"full int32 range", Int32(0x200C) + Int32(1) + Int32(INT32_MIN) + Int32(INT32_MAX)},
      {"two dimensions", Int32(0x200C) + Int32(2) + Int32(0) + Int32(0) + Int32(0)},
      {"two-dimensional byte array", Int32(0x2011) + Int32(2) + Int32(0) + Int32(0)},
      {"integer tag with text", Int32(3) + Block("12a")},
      {"16-bit integer out of range", Int32(2) + Block("40000")},
      {"unsupported scalar tag", Int32(9) + Block("x")},
      {"float that is no number", Int32(5) + Block("abc")},
  };
  for (const auto& c : cases) {
    EXPECT_THROW(Decode(c.bytes), Exception) << c.what;
  }
}

TEST(VariantStream, DimensionErrorsUseTheirTexts) {
  try {
    Decode(Int32(0x200C) + Int32(2) + Int32(0) + Int32(0));
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "ReadVariantArray only supports one dimension.");
  }
  try {
    Decode(Int32(0x2011) + Int32(0) + Int32(0) + Int32(0));
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "ReadVariantByteArray only supports one dimension.");
  }
}

TEST(VariantStream, DeepNestingIsRefused) {
  std::string bytes;
  for (int i = 0; i < 200; ++i) bytes += Int32(0x200C) + Int32(1) + Int32(0) + Int32(0);
  bytes += Int32(0);
  EXPECT_THROW(Decode(bytes), EReadError);
  std::string allowed;
  for (int i = 0; i < 10; ++i) allowed += Int32(0x200C) + Int32(1) + Int32(0) + Int32(0);
  allowed += Int32(0);
  EXPECT_TRUE(Decode(allowed).IsArray());
}

TEST(FastMemoryStream, GrowsByHalfThenByOneMebibyte) {
  TFastMemoryStream stream;
  stream.WriteBuffer("abcd", 4);
  EXPECT_EQ(stream.Capacity(), 4);
  stream.WriteBuffer("ef", 2);
  EXPECT_EQ(stream.Capacity(), 6 + 2);
  const std::string big(1 << 20, 'x');
  stream.WriteBuffer(big.data(), static_cast<int64_t>(big.size()));
  EXPECT_EQ(stream.Capacity(), 6 + (1 << 20) + 4);
  stream.WriteBuffer(big.data(), static_cast<int64_t>(big.size()));
  EXPECT_EQ(stream.Capacity(), 6 + 2 * (1 << 20) + (1 << 20));
  EXPECT_EQ(stream.Size(), 6 + 2 * (1 << 20));
  EXPECT_EQ(std::string(stream.Memory(), 6), "abcdef");
  stream.SetPosition(2);
  char two[2];
  stream.ReadBuffer(two, 2);
  EXPECT_EQ(std::string(two, 2), "cd");
}

TEST(FastMemoryStream, WritingPastTheEndFillsWithZeros) {
  TFastMemoryStream stream;
  stream.SetPosition(3);
  stream.WriteBuffer("z", 1);
  EXPECT_EQ(std::string(stream.Memory(), 4), std::string("\0\0\0z", 4));
  stream.SetSize(2);
  EXPECT_EQ(stream.Size(), 2);
  EXPECT_EQ(stream.Position(), 2);
}

}  // namespace
}  // namespace sp
