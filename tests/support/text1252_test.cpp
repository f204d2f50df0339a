#include "support/text1252.h"

#include <gtest/gtest.h>

namespace sp {
namespace {

TEST(Text1252, EveryByteSurvivesUtf8AndUtf16RoundTrips) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(all)), all);
  EXPECT_EQ(Utf16ToAnsi(AnsiToUtf16(all)), all);
}

TEST(Text1252, KnownCharacters) {
  EXPECT_EQ(AnsiToUtf8("\x80"), "\u20AC");
  EXPECT_EQ(AnsiToUtf8("M\xE4rz \xDF"), "M\u00E4rz \u00DF");
  EXPECT_EQ(Utf8ToAnsi("\u0160\u0153\u2122"), "\x8A\x9C\x99");
  EXPECT_EQ(Ansi("Stück"), "St\xFC" "ck");
}

TEST(Text1252, UnrepresentableAndMalformedBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToAnsi("a\u4E2Db"), "a?b");                 // CJK
  EXPECT_EQ(Utf8ToAnsi("\xF0\x9F\x98\x80"), "?");           // emoji: one character
  EXPECT_EQ(Utf8ToAnsi("x\xC3"), "x?");                     // truncated
  EXPECT_EQ(Utf8ToAnsi("\xC0\xAF!"), "?" "?!");             // overlong lead, stray continuation
  EXPECT_EQ(Utf8ToAnsi("\xED\xA0\x80z"), "?z");             // encoded surrogate
  EXPECT_EQ(Utf16ToAnsi(u"a\U0001F600b"), "a?b");           // surrogate pair: one "?"
  EXPECT_EQ(Utf16ToAnsi(std::u16string(1, char16_t(0xDC00)) + u"c"), "?c");  // lone surrogate
}

TEST(Text1252, UpperTableFollowsTheCodePage) {
  EXPECT_EQ(UpperTable['a'], 'A');
  EXPECT_EQ(UpperTable[0xE4], 0xC4);  // ä
  EXPECT_EQ(UpperTable[0xF7], 0xF7);  // division sign stays
  EXPECT_EQ(UpperTable[0xDF], 0xDF);  // ß has no single upper case
  EXPECT_EQ(UpperTable[0x9A], 0x8A);
  EXPECT_EQ(UpperTable[0x9C], 0x8C);
  EXPECT_EQ(UpperTable[0x9E], 0x8E);
  EXPECT_EQ(UpperTable[0xFF], 0x9F);
  EXPECT_EQ(UpperTable[0xB5], 0xB5);  // micro sign unchanged
  EXPECT_EQ(AnsiLowerCase("\xC4NDERUNG"), "\xE4nderung");
}

TEST(Text1252, CaseInsensitiveComparison) {
  EXPECT_TRUE(SameText(Ansi("ÄNDERUNG"), Ansi("änderung")));
  EXPECT_FALSE(SameText("abc", "abcd"));
  EXPECT_LT(CompareText("abc", "ABD"), 0);
  EXPECT_EQ(CompareText("Abc", "aBC"), 0);
  EXPECT_GT(CompareText("abcd", "ABC"), 0);
  EXPECT_EQ(FindText("Hello World", "WORLD"), 6u);
  EXPECT_EQ(FindText("abc", ""), std::string_view::npos);
}

TEST(Text1252, TrimRemovesBytesOneToThirtyTwo) {
  EXPECT_EQ(Trim("\t a b \r\n"), "a b");
  EXPECT_EQ(TrimLeft("  x "), "x ");
  EXPECT_EQ(TrimRight("  x "), "  x");
  EXPECT_EQ(Trim(std::string_view("\0x", 2)), std::string_view("\0x", 2));
}

}  // namespace
}  // namespace sp
