#include <gtest/gtest.h>

#include "support/boxtext.h"
#include "support/text1252.h"

namespace sp {
namespace {

std::string NumberedLines(int count, const char* separator) {
  std::string text;
  for (int i = 1; i <= count; ++i) text += "Zeile " + std::to_string(i) + separator;
  return text;
}

TEST(BoxText, BreaksBecomeOneBrEach) {
  struct Case {
    const char* message;
    const char* expected;
  };
  const Case cases[] = {
      {"eins<br>zwei\r\ndrei<BR>vier\nf\xFCnf\rsechs", "eins<br>zwei<br>drei<br>vier<br>f\xFCnf<br>sechs"},
      {"<B>Fett</B><Br>normal", "<B>Fett</B><br>normal"},
      {"a\r\n<br>b", "a<br><br>b"},
      {"Ende<br>", "Ende"},
      {"", ""},
      {"ohne Umbruch", "ohne Umbruch"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatBoxText(c.message), c.expected) << c.message;
}

// "Zeile 1<br>Zeile 2<br>...<br>Zeile n"
std::string ShownLines(int count) {
  std::string shown = NumberedLines(count, "<br>");
  return shown.substr(0, shown.size() - 4);
}

TEST(BoxText, LongTextsKeepTwentyOneLinesAndTheLast) {
  const std::string dotted = "<br>................<br>";
  EXPECT_EQ(FormatBoxText(NumberedLines(30, "\r\n")), ShownLines(21) + dotted + "Zeile 30");
  EXPECT_EQ(FormatBoxText(NumberedLines(30, "<BR>")), ShownLines(21) + dotted + "Zeile 30");
  EXPECT_EQ(FormatBoxText(NumberedLines(22, "\n")), ShownLines(21) + dotted + "Zeile 22");
  EXPECT_EQ(FormatBoxText(NumberedLines(21, "\n")), ShownLines(21));
}

TEST(BoxText, ErrorHeader) { EXPECT_EQ(PossibleErrorHeader(), "<B>M\xF6glicher Fehler:</B><BR>"); }

}  // namespace
}  // namespace sp
