#include "support/csvfield.h"

#include <gtest/gtest.h>

namespace sp {
namespace {

TEST(CsvField, EscapesQuotesAndTheirReversal) {
  const std::string plain("a%b\0c\rd\ne\"f", 11);
  std::string escaped;
  AppendEscaped(escaped, plain);
  EXPECT_EQ(escaped, "a%%b%0c%cd%ne\"f");
  std::string quoted;
  AppendQuoted(quoted, "say \"hi\"");
  EXPECT_EQ(quoted, "\"say \"\"hi\"\"\"");
  std::string both;
  AppendEscapedQuoted(both, plain);
  EXPECT_EQ(both, "\"a%%b%0c%cd%ne\"\"f\"");
  EXPECT_EQ(Unescape(escaped), plain);
}

TEST(CsvField, UnknownEscapesAndATrailingPercentStay) {
  EXPECT_EQ(Unescape("100 %x %"), "100 %x %");
  EXPECT_EQ(Unescape("%%%n"), "%\n");
  EXPECT_EQ(Unescape("%%n"), "%n");  // the escaped percent does not start a second escape
  std::string text = "no escapes";
  UnescapeInPlace(text);
  EXPECT_EQ(text, "no escapes");
}

}  // namespace
}  // namespace sp
