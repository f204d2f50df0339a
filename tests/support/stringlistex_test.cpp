#include <gtest/gtest.h>

#include "support/stringlistex.h"

namespace sp {
namespace {

TStringListEx Memory() {
  TStringListEx list;
  list.Lines = {".xls=/opt/calc", "noseparator", ".PDF=/opt/viewer", "=/opt/empty-name", ".doc=a=b"};
  return list;
}

TEST(StringListEx, NamesAndValues) {
  const TStringListEx list = Memory();
  struct Case {
    const char* name;
    int index;
    const char* value;
  };
  const Case cases[] = {
      {".xls", 0, "/opt/calc"}, {".XLS", 0, "/opt/calc"},  {".pdf", 2, "/opt/viewer"},
      {"", 3, "/opt/empty-name"}, {".doc", 4, "a=b"},       {"noseparator", -1, ""},
      {".txt", -1, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(list.IndexOfName(c.name), c.index) << c.name;
    EXPECT_EQ(list.ValueOf(c.name), c.value) << c.name;
  }
  EXPECT_EQ(list.NameOf("a=b=c"), "a");
  EXPECT_EQ(list.NameOf("abc"), "");
  EXPECT_EQ(list.ValueFromIndex(1), "");  // a line without separator has no value
  EXPECT_EQ(list.ValueFromIndex(5), "");
  EXPECT_EQ(list.ValueFromIndex(-1), "");
}

TEST(StringListEx, CaseSensitiveNames) {
  TStringListEx list = Memory();
  list.CaseSensitive = true;
  EXPECT_EQ(list.IndexOfName(".XLS"), -1);
  EXPECT_EQ(list.IndexOfName(".PDF"), 2);
  EXPECT_EQ(list.IndexOfName(".pdf"), -1);
}

TEST(StringListEx, WindowsLettersCompareWithoutCase) {
  TStringListEx list;
  list.Lines = {"\xC4rger=1"};  // Ärger
  EXPECT_EQ(list.ValueOf("\xE4RGER"), "1");
}

TEST(StringListEx, SetValueReplacesAppendsAndDeletes) {
  TStringListEx list = Memory();
  list.SetValueOf(".XLS", "/usr/bin/other");
  EXPECT_EQ(list.Lines[0], ".XLS=/usr/bin/other");
  list.SetValueOf(".txt", "/usr/bin/edit");
  EXPECT_EQ(list.Lines.back(), ".txt=/usr/bin/edit");
  list.SetValueOf(".pdf", "");
  EXPECT_EQ(list.IndexOfName(".pdf"), -1);
  EXPECT_EQ(list.Lines.size(), 5u);
  list.SetValueOf(".none", "");
  EXPECT_EQ(list.Lines.size(), 5u);
}

TEST(StringListEx, SeparatorAndCopy) {
  TStringListEx list;
  EXPECT_EQ(list.NameValueSeparator(), '=');
  EXPECT_EQ(list.Flags() & TStringListEx::kSeparatorSet, 0);
  list.SetNameValueSeparator(':');
  list.CaseSensitive = true;
  list.SetValueOf("key", "value");
  EXPECT_EQ(list.Lines[0], "key:value");

  TStringListEx copy;
  copy = list;
  EXPECT_EQ(copy.NameValueSeparator(), ':');
  EXPECT_TRUE(copy.CaseSensitive);
  EXPECT_NE(copy.Flags() & TStringListEx::kSeparatorSet, 0);
  EXPECT_EQ(copy.ValueOf("key"), "value");
  EXPECT_EQ(copy.ValueOf("KEY"), "");
}

}  // namespace
}  // namespace sp
