#include "support/formatting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace sp {
namespace {

// Restores the German defaults after a test that changes the formats.
class Formatting : public ::testing::Test {
 protected:
  void TearDown() override { FormatSettings() = TFormatSettings(); }
};

TEST_F(Formatting, FloatToTextGeneralForm) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {0, "0"},
      {1.5, "1,5"},
      {-2.25, "-2,25"},
      {100, "100"},
      {0.1, "0,1"},
      {1.0 / 3, "0,333333333333333"},
      {123456789012345, "123456789012345"},
      {1e15, "1E15"},
      {1.5e20, "1,5E20"},
      {0.0001, "0,0001"},
      {0.00001, "1E-5"},
      {-1.25e-7, "-1,25E-7"},
      {0.1 + 0.2, "0,3"},
  };
  for (const auto& c : cases) EXPECT_EQ(FloatToText(c.value), c.text) << c.value;
  FormatSettings().DecimalSeparator = '.';
  EXPECT_EQ(FloatToText(1.5), "1.5");
}

// printf's "%.15g" follows the same rule (15 significant digits, exponent
// form below 1E-4 and from 1E15 on), so it is an independent oracle once its
// separator and exponent spelling are mapped.
std::string GeneralFormOracle(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15g", value);
  std::string text(buffer);
  const size_t e = text.find('e');
  std::string exponent;
  if (e != std::string::npos) {
    const int power = std::atoi(text.c_str() + e + 1);
    exponent = "E" + std::to_string(power);
    text.resize(e);
  }
  for (char& c : text)
    if (c == '.') c = ',';
  return text + exponent;
}

TEST_F(Formatting, FloatToTextAgreesWithAnIndependentOracle) {
  std::vector<double> values = {0.0001, 0.00009999, 1e-5, 0.1, 0.3, 2.675, 1.005, 99999999999999.9, 999999999999999.0,
                                999999999999999.9, 1e15, 123456789012345.6, 0.1 + 0.2, 1.0 / 3, -2.5, 5e-324,
                                1.7976931348623157e308, 4503599627370497.0};
  uint64_t state = 88172645463325252ull;  // xorshift: numbers of every size, many with two decimals
  for (int i = 0; i < 20000; ++i) {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    const double scale = std::pow(10.0, static_cast<int>(state % 24) - 8);
    values.push_back(static_cast<double>(static_cast<int64_t>(state >> 11) % 10000000) / 100 * scale);
    values.push_back(static_cast<double>(state >> 11) / 9007199254740992.0 * scale);
  }
  for (double v : values) ASSERT_EQ(FloatToText(v), GeneralFormOracle(v)) << v;
}

TEST_F(Formatting, TextToFloatUsesTheSeparatorInForce) {
  double v = -1;
  EXPECT_TRUE(TextToFloat(" 1,5 ", v));
  EXPECT_DOUBLE_EQ(v, 1.5);
  EXPECT_TRUE(TextToFloat("-,25", v));
  EXPECT_DOUBLE_EQ(v, -0.25);
  EXPECT_TRUE(TextToFloat("1,5E3", v));
  EXPECT_DOUBLE_EQ(v, 1500);
  for (const char* bad : {"", "1.5", "abc", "1,5x", "1,2,3", "E5", "1E", "-", "1.000,5"}) {
    v = 7;
    EXPECT_FALSE(TextToFloat(bad, v)) << bad;
    EXPECT_EQ(v, 7) << bad;
  }
  EXPECT_EQ(TextToFloatOr("x", 3), 3);
  FormatSettings().DecimalSeparator = '.';
  EXPECT_TRUE(TextToFloat("1.5", v));
  EXPECT_DOUBLE_EQ(v, 1.5);
  EXPECT_FALSE(TextToFloat("1,5", v));
}

TEST_F(Formatting, FormatFloatPatterns) {
  const struct {
    const char* pattern;
    double value;
    const char* text;
  } cases[] = {
      {"00.00", 7, "07,00"},
      {"00.00", 16, "16,00"},
      {"00.00", 123.456, "123,46"},
      {"0.###", 1, "1"},
      {"0.###", 1.5, "1,5"},
      {"0.###", 2.12345, "2,123"},
      {"0.###", 0, "0"},
      {"#,##0.00", 1234.5, "1.234,50"},
      {"#,##0.00", 1234567.891, "1.234.567,89"},
      {"#,##0.00", 0.5, "0,50"},
      {"#,##0.00", -1234.5, "-1.234,50"},
      {"#######.00 'DM'", 12.5, "12,50 DM"},
      {"#######.00 'DM'", 0.5, ",50 DM"},
      {"##.00 '%'", 16, "16,00 %"},
      {"##.0 '%'", 8, "8,0 %"},
      {"0", 2.6, "3"},
      {"#", 0, ""},
      {".00", 12.5, "12,50"},
      {"0.00E+00", 12345, "1,23E+04"},
      {"0.0E-0", 0.00012, "1,2E-4"},
      {"0.00;(0.00);'null'", -3.5, "(3,50)"},
      {"0.00;(0.00);'null'", 0, "null"},
      {"0.00;;'null'", -1, "-1,00"},
      {"\"Nr. \"0", 5, "Nr. 5"},
      {"0.00", -0.001, "0,00"},
      {"", 1.5, "1,5"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatFloat(c.pattern, c.value), c.text) << c.pattern << " " << c.value;
}

TEST_F(Formatting, SwissSeparatorsGiveApostropheGrouping) {
  FormatSettings().DecimalSeparator = '.';
  FormatSettings().ThousandSeparator = '\'';
  EXPECT_EQ(FormatFloat("#,##0.00", 1234.5), "1'234.50");
}

TEST_F(Formatting, DateCalendarRoundTrip) {
  TDateTime d = 0;
  ASSERT_TRUE(EncodeDate(1899, 12, 30, d));
  EXPECT_EQ(d, 0);
  ASSERT_TRUE(EncodeDate(2024, 2, 29, d));
  EXPECT_EQ(d, 45351);  // the workbook serial of that day
  int y, m, dd;
  DecodeDate(45351.75, y, m, dd);
  EXPECT_EQ(y * 10000 + m * 100 + dd, 20240229);
  DecodeDate(-1.5, y, m, dd);
  EXPECT_EQ(y * 10000 + m * 100 + dd, 18991229);
  EXPECT_FALSE(EncodeDate(2023, 2, 29, d));
  EXPECT_FALSE(EncodeDate(2023, 13, 1, d));
  int h, n, s, z;
  DecodeTime(0.999999999, h, n, s, z);  // rounds to the next midnight
  EXPECT_EQ(h * 3600 + n * 60 + s, 0);
}

TEST_F(Formatting, FormatDateTimeSpecifiers) {
  TDateTime d = 0, t = 0;
  ASSERT_TRUE(EncodeDate(2024, 3, 5, d));
  ASSERT_TRUE(EncodeTime(14, 7, 9, 45, t));
  const TDateTime v = d + t;
  const struct {
    const char* pattern;
    const char* text;
  } cases[] = {
      {"dd.mm.yyyy", "05.03.2024"},
      {"d.m.yy", "5.3.24"},
      {"hh:mm:ss", "14:07:09"},
      {"h:n:s.zzz", "14:7:9.045"},
      {"dddd, d. mmmm yyyy", "Dienstag, 5. M\xE4rz 2024"},
      {"ddd mmm", "Di M\xE4r"},
      {"yyyy/mm/dd", "2024.03.05"},
      {"hh:nn am/pm", "02:07 pm"},
      {"'mm' mm", "mm 03"},
      {"c", "05.03.2024 14:07:09"},
      {"DD.MM.YYYY", "05.03.2024"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatDateTime(c.pattern, v), c.text) << c.pattern;
}

TEST_F(Formatting, OutsideTheCalendarDatesShowAsNumbers) {
  EXPECT_EQ(DateTimeToText(2958466), "2958466");  // 01.01.10000
  EXPECT_EQ(DateTimeToText(2958465), "31.12.9999");
  EXPECT_EQ(FormatDateTime("dd.mm.yyyy", -1.21332e184), "-1,21332E184");
  EXPECT_EQ(DateTimeToText(std::nan("")), "NAN");
  int y = 1, m = 1, d = 1;
  DecodeDate(1e300, y, m, d);
  EXPECT_EQ(y + m + d, 0);
}

TEST_F(Formatting, DateTimeToTextAndBack) {
  TDateTime d = 0, t = 0, back = 0;
  ASSERT_TRUE(EncodeDate(2024, 3, 5, d));
  ASSERT_TRUE(EncodeTime(8, 30, 0, 0, t));
  EXPECT_EQ(DateTimeToText(d), "05.03.2024");
  EXPECT_EQ(DateTimeToText(d + t), "05.03.2024 08:30:00");
  EXPECT_EQ(DateTimeToText(t), "08:30:00");
  ASSERT_TRUE(TextToDateTime("05.03.2024 08:30:00", back));
  EXPECT_DOUBLE_EQ(back, d + t);
  ASSERT_TRUE(TextToDateTime("5.3.24", back));
  EXPECT_DOUBLE_EQ(back, d);
  ASSERT_TRUE(TextToDateTime("08:30", back));
  EXPECT_DOUBLE_EQ(back, t);
  for (const char* bad : {"", "31.02.2024", "05.03.2024 25:00", "05.03.2024x", "abc", "5", "1.2.3.4"})
    EXPECT_FALSE(TextToDateTime(bad, back)) << bad;
}

}  // namespace
}  // namespace sp
