#include "installer/profileini.h"

#include <gtest/gtest.h>

#include "platform/filesys.h"
#include "support/text1252.h"
#include "tests/support/scratch_folder.h"

namespace sp {
namespace {

TEST(ProfileIni, Reads) {
  TScratchFolder scratch;
  const std::string name = scratch / "a.ini";
  const std::string text = "x=outside\r\n[ Global ]\r\n Width = 0x78 \r\n;Caption=comment\r\nCaption=\"Module\"\r\n"
                           "Caption=second\r\nq='single'\r\nhalf=\"open\r\nbare\r\n[global]\r\nlate=1\r\n[Long]\r\nv=" +
                           std::string(3000, 'v') + "\n";
  ASSERT_EQ(ReplaceFileContent(name, text), 0);
  const TProfileIni ini(name);
  struct Case {
    std::string_view section, key, fallback, expected;
  };
  const Case cases[] = {
      {"GLOBAL", "width", "", "0x78"},
      {"global", "CAPTION", "", "Module"},   // first key of the name, quotes removed, comment skipped
      {"GLOBAL", "q", "", "single"},
      {"GLOBAL", "half", "", "\"open"},
      {"GLOBAL", "bare", "d", "d"},          // no "=": no key
      {"GLOBAL", "late", "d", "d"},          // only the first section of a name counts
      {"GLOBAL", "x", "d", "d"},
      {"missing", "k", "fall back  ", "fall back"},
      {"", "Width", "d", "d"},
      {"GLOBAL", "", "d", "d"},
  };
  for (const auto& c : cases) EXPECT_EQ(ini.ReadString(c.section, c.key, c.fallback), c.expected) << c.key;
  EXPECT_EQ(ini.ReadString("long", "v", ""), std::string(2047, 'v'));
  EXPECT_EQ(ini.ReadInteger("GLOBAL", "Width", 0), 120);
  EXPECT_EQ(ini.ReadInteger("GLOBAL", "Caption", 7), 7);
  EXPECT_EQ(TProfileIni(scratch / "none.ini").ReadString("GLOBAL", "Caption", "d"), "d");
}

TEST(ProfileIni, WritesChangeOnlyWhatTheyMust) {
  TScratchFolder scratch;
  struct Case {
    std::string_view before;
    std::string_view section, key, value;
    std::string_view after;
  };
  const Case cases[] = {
      {"", "GLOBAL", "Width", "90", "[GLOBAL]\r\nWidth=90\r\n"},
      {"[GLOBAL]\nwidth = 0 \n; c\n\n[Other]\nx=1", "Global", "WIDTH", "90",
       "[GLOBAL]\nwidth=90\n; c\n\n[Other]\nx=1"},
      {"[GLOBAL]\nWidth=0\n; about Other\n\n[Other]\nx=1", "GLOBAL", "Caption", "Kalkulation",
       "[GLOBAL]\nWidth=0\nCaption=Kalkulation\r\n; about Other\n\n[Other]\nx=1"},
      {"[GLOBAL]", "GLOBAL", "k", "v", "[GLOBAL]\r\nk=v\r\n"},
      {"[A]\r\nx=1", "B", "k", "v", "[A]\r\nx=1\r\n\r\n[B]\r\nk=v\r\n"},
      {"[A]\r\n\r\n", "B", "k", "v", "[A]\r\n\r\n[B]\r\nk=v\r\n"},
      {"[A]\r\nk=same\r\n", "a", "K", "same", "[A]\r\nk=same\r\n"},
  };
  for (const auto& c : cases) {
    const std::string name = scratch / "w.ini";
    RemoveFile(name);
    if (!c.before.empty()) {
      ASSERT_EQ(ReplaceFileContent(name, c.before), 0);
    }
    TProfileIni ini(name);
    ini.WriteString(c.section, c.key, c.value);
    EXPECT_EQ(Content(name), c.after) << c.before;
    EXPECT_EQ(ini.ReadString(c.section, c.key, "?"), c.value) << c.before;
  }
}

TEST(ProfileIni, ARefusedWriteRaisesAndLeavesTheFile) {
  TScratchFolder scratch;
  ASSERT_EQ(MakeFolder(scratch / "taken.ini"), 0);
  TProfileIni folder(scratch / "taken.ini");
  try {
    folder.WriteString("GLOBAL", "k", "v");
    FAIL() << "no exception";
  } catch (const EIniFileException& e) {
    EXPECT_EQ(e.Message(), "nach " + (scratch / "taken.ini") + " kann nicht geschrieben werden");
  }
  TProfileIni noFolder(scratch / "missing/x.ini");
  EXPECT_THROW(noFolder.WriteString("GLOBAL", "k", "v"), EIniFileException);
  EXPECT_EQ(QueryPath(scratch / "missing").error, ENOENT);
}

}  // namespace
}  // namespace sp
