#include "platform/memtable/fieldcodec.h"

#include <random>

#include <gtest/gtest.h>

#include "support/formatting.h"

namespace sp {
namespace {

TEST(FieldCodec, SixBitPacking) {
  EXPECT_EQ(PackSixBit("abc"), "A)V8");
  EXPECT_EQ(PackSixBit("a"), "A!");
  EXPECT_EQ(PackSixBit("ab"), "A)&");
  EXPECT_EQ(UnpackSixBit("A)V8"), "abc");
  const struct {
    size_t bytes, chars;
  } lengths[] = {{0, 0}, {1, 2}, {2, 3}, {3, 4}, {4, 6}, {5, 7}, {6, 8}};
  std::mt19937 random(3);
  for (const auto& l : lengths) {
    std::string bytes;
    for (size_t i = 0; i < l.bytes; ++i) bytes += static_cast<char>(random());
    const std::string packed = PackSixBit(bytes);
    EXPECT_EQ(packed.size(), l.chars) << l.bytes;
    EXPECT_EQ(packed.find_first_not_of(std::string_view(" !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_")),
              std::string::npos);
    EXPECT_EQ(UnpackSixBit(packed), bytes) << l.bytes;
  }
  EXPECT_EQ(PackSixBit(std::string("\0\0\0", 3)), "    ");
  EXPECT_EQ(PackSixBit("\xFF"), "_#");
  // N characters give N * 3 / 4 bytes, whatever they are.
  EXPECT_EQ(UnpackSixBit("x").size(), 0u);
  EXPECT_EQ(UnpackSixBit("\x01\xFF\x7F~\n").size(), 3u);
}

TEST(FieldCodec, PercentEscapes) {
  std::string out;
  AppendEscaped(out, std::string("a\0b\nc\rd%e\"f", 11));
  EXPECT_EQ(out, "a%0b%nc%cd%%e\"f");
  EXPECT_EQ(Unescape(out), std::string("a\0b\nc\rd%e\"f", 11));
  EXPECT_EQ(Unescape("%x%"), "%x%");
  EXPECT_EQ(Unescape("100%%"), "100%");
}

TEST(FieldCodec, CellsQuoteEscapeAndPack) {
  const struct {
    TFieldType type;
    TFieldValue value;
    const char* cell;
  } cases[] = {
      {TFieldType::ftString, TFieldValue(), ""},
      {TFieldType::ftString, std::string(), "\"\""},
      {TFieldType::ftString, std::string("Sag \"Hallo\"\r\n100%"), "\"Sag \"\"Hallo\"\"%c%n100%%\""},
      {TFieldType::ftMemo, std::string("a\nb"), "\"a%nb\""},
      {TFieldType::ftBlob, std::string("abc"), "\"A)V8\""},
      {TFieldType::ftBlob, std::string("\x02", 1), "\"\"\" \""},  // packs to a quote and a blank
      {TFieldType::ftInteger, int64_t{-17}, "\"-17\""},
      {TFieldType::ftBoolean, false, "\"False\""},
  };
  for (const auto& c : cases) {
    std::string cell;
    AppendCsvCell(cell, c.type, c.value, TValueFormats::Fixed);
    EXPECT_EQ(cell, c.cell);
  }
}

TEST(FieldCodec, FixedAndRegionalForms) {
  FormatSettings() = TFormatSettings();
  TDateTime christmas = 0, evening = 0;
  ASSERT_TRUE(EncodeDate(2026, 12, 24, christmas));
  ASSERT_TRUE(EncodeTime(18, 30, 5, 0, evening));
  const struct {
    TFieldType type;
    TFieldValue value;
    const char* fixed;
    const char* regional;
  } cases[] = {
      {TFieldType::ftFloat, 1234.5, "1234.5", "1234,5"},
      {TFieldType::ftCurrency, -0.25, "-0.25", "-0,25"},
      {TFieldType::ftDate, christmas, "24/12/2026", "24.12.2026"},
      {TFieldType::ftTime, evening, "18:30:05", "18:30:05"},
      {TFieldType::ftDateTime, christmas + evening, "24/12/2026 18:30:05", "24.12.2026 18:30:05"},
      {TFieldType::ftDateTime, christmas, "24/12/2026", "24.12.2026"},
      {TFieldType::ftLargeint, int64_t{-9000000000}, "-9000000000", "-9000000000"},
      {TFieldType::ftBoolean, true, "True", "True"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ValueToText(c.type, c.value, TValueFormats::Fixed), c.fixed);
    EXPECT_EQ(ValueToText(c.type, c.value, TValueFormats::Regional), c.regional);
    for (auto [formats, text] : {std::pair{TValueFormats::Fixed, c.fixed}, std::pair{TValueFormats::Regional, c.regional}}) {
      const auto back = TextToValue(c.type, text, formats);
      ASSERT_TRUE(back.has_value()) << text;
      if (const auto* d = std::get_if<double>(&c.value)) {
        EXPECT_NEAR(std::get<double>(*back), *d, 1e-9) << text;
      } else {
        EXPECT_EQ(*back, c.value) << text;
      }
    }
  }
}

TEST(FieldCodec, TextThatIsNoValueOfTheType) {
  FormatSettings() = TFormatSettings();
  const struct {
    TFieldType type;
    const char* text;
    TValueFormats formats;
  } cases[] = {
      {TFieldType::ftSmallint, "32768", TValueFormats::Fixed},
      {TFieldType::ftWord, "-1", TValueFormats::Fixed},
      {TFieldType::ftInteger, "2147483648", TValueFormats::Fixed},
      {TFieldType::ftInteger, "12x", TValueFormats::Fixed},
      {TFieldType::ftInteger, "", TValueFormats::Fixed},
      {TFieldType::ftFloat, "1,5", TValueFormats::Fixed},
      {TFieldType::ftFloat, "1.5", TValueFormats::Regional},
      {TFieldType::ftBoolean, "yes", TValueFormats::Fixed},
      {TFieldType::ftDate, "31/02/2026", TValueFormats::Fixed},
      {TFieldType::ftDate, "24.12.2026", TValueFormats::Fixed},
      {TFieldType::ftTime, "25:00", TValueFormats::Fixed},
      {TFieldType::ftDateTime, "1/1/99999999999", TValueFormats::Fixed},
  };
  for (const auto& c : cases) EXPECT_FALSE(TextToValue(c.type, c.text, c.formats).has_value()) << c.text;
}

}  // namespace
}  // namespace sp
