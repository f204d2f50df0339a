#include <gtest/gtest.h>

#include <set>

#include "support/files.h"
#include "support/formatting.h"
#include "support/text1252.h"

namespace sp {
namespace {

using Parts = std::vector<std::string>;

TEST(TextTools, SplitText) {
  struct Case {
    std::string_view separator, text;
    int maxCount, fixedCount;
    Parts expected;
  };
  const Case cases[] = {
      {";", "a;;b;", 0, 0, {"a", "", "b"}},
      {";", "a;;b;", 2, 0, {"a", ";b;"}},
      {";", "a;;b;", 0, 5, {"a", "", "b", "", ""}},
      {";", "a;;b;", 0, 2, {"a", ""}},
      {";", "a;;b;", 1, 0, {"a;;b;"}},
      {";", ";a", 0, 0, {"", "a"}},
      {";", "", 0, 0, {}},
      {";", "", 0, 2, {"", ""}},
      {";", "a;b", -1, 0, {}},
      {"", "a;b", 0, 0, {"a;b"}},
      {"<>", "6066<>A<><>x", 0, 0, {"6066", "A", "", "x"}},
      {"ab", "xABy", 0, 0, {"xABy"}},  // case-sensitive
  };
  for (const auto& c : cases)
    EXPECT_EQ(SplitText(c.separator, c.text, c.maxCount, c.fixedCount), c.expected) << c.text << " " << c.maxCount;
}

TEST(TextTools, ReplaceTextAll) {
  struct Case {
    std::string text, from, to, expected;
  };
  const Case cases[] = {
      {"aXbxc", "x", "-", "a-b-c"},
      {"aaa", "a", "aa", "aaaaaa"},  // inserted text is not rescanned
      {"abc", "", "z", "abc"},
      {Ansi("Straße GRÖßE größe GRÖSSE"), Ansi("größe"), "x", Ansi("Straße x x GRÖSSE")},
      {"\x8A\x9A", "\x9A", "s", "ss"},
      {"\xDF", "\xFF", "y", "\xDF"},  // ß has no upper case partner
  };
  for (const auto& c : cases) EXPECT_EQ(ReplaceTextAll(c.text, c.from, c.to), c.expected) << c.text;
}

TEST(TextTools, ShortenLeft) {
  const std::string fifty = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMN";
  ASSERT_EQ(fifty.size(), 50u);
  const std::string shortened = ShortenLeft(fifty, 40);
  EXPECT_EQ(shortened.size(), 43u);
  EXPECT_EQ(shortened, ".." + fifty.substr(9));
  EXPECT_EQ(ShortenLeft("abc", 3), "abc");
  EXPECT_EQ(ShortenLeft("abcd", 0), "..d");
}

TEST(TextTools, CopyStreamDataWritesAtTheTargetStartWithoutTruncating) {
  TMemoryStream source("hello");
  TMemoryStream target("0123456789");
  source.SetPosition(3);
  CopyStreamData(source, target, false);
  EXPECT_EQ(target.Bytes(), "hello56789");
  EXPECT_EQ(target.Position(), 0);
  EXPECT_EQ(source.Position(), 0);

  source.SetPosition(3);
  CopyStreamData(source, target, true);
  EXPECT_EQ(target.Bytes(), "lollo56789");
  EXPECT_EQ(source.Position(), 5);

  TMemoryStream empty;
  target.SetPosition(4);
  CopyStreamData(empty, target, false);
  EXPECT_EQ(target.Position(), 4);  // nothing to copy: nothing happens
}

TEST(TextTools, NumbersAndFlags) {
  FormatSettings().DecimalSeparator = ',';
  EXPECT_DOUBLE_EQ(TextToFloatDef("1,5"), 1.5);
  EXPECT_DOUBLE_EQ(TextToFloatDef(" -2,25 "), -2.25);
  EXPECT_DOUBLE_EQ(TextToFloatDef("abc"), 0.0);
  EXPECT_DOUBLE_EQ(TextToFloatDef(""), 0.0);
  EXPECT_TRUE(IsOneText("1"));
  EXPECT_FALSE(IsOneText("1 "));
  EXPECT_FALSE(IsOneText("01"));
}

TEST(TextTools, ElfHashKnownValues) {
  EXPECT_EQ(ElfHash(""), 0);
  EXPECT_EQ(ElfHash("A"), 65);
  EXPECT_EQ(ElfHash("AB"), 1106);
  EXPECT_EQ(ElfHash("0123456789ABCDEF"), 187553398);
  EXPECT_EQ(ElfHash("3F2504E0-4F89-11D3-9A0C-0305E82C3301"), 218172961);
  EXPECT_EQ(ElfHash("\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF"), 4335);  // bytes count unsigned
}

TEST(TextTools, GuidsAndUniqueNumbers) {
  std::set<std::string> seen;
  for (int i = 0; i < 200; ++i) {
    const std::string guid = NewGuidText();
    ASSERT_EQ(guid.size(), 36u);
    for (size_t k = 0; k < guid.size(); ++k) {
      if (k == 8 || k == 13 || k == 18 || k == 23) ASSERT_EQ(guid[k], '-') << guid;
      else ASSERT_TRUE(std::isdigit(static_cast<unsigned char>(guid[k])) || (guid[k] >= 'A' && guid[k] <= 'F')) << guid;
    }
    seen.insert(guid);
    const int32_t n = NewUniqueNumber();
    EXPECT_GE(n, 0);
    EXPECT_LT(n, 1 << 28);
  }
  EXPECT_EQ(seen.size(), 200u);
}

}  // namespace
}  // namespace sp
