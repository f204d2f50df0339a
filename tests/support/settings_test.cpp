#include "support/settings.h"

#include <gtest/gtest.h>

#include "platform/filesys.h"
#include "support/files.h"
#include "support/formatting.h"
#include "support/text1252.h"
#include "tests/support/scratch_folder.h"

namespace sp {
namespace {

TEST(UserSettings, FileName) {
  EXPECT_EQ(UserModeFile("/x/y"), "/x/y/UserMode.INI");
  EXPECT_EQ(UserModeFile("/x/y/"), "/x/y/UserMode.INI");
  EXPECT_EQ(UserModeFile(), ProgramFolder() + "UserMode.INI");
}

TEST(UserSettings, StringsRoundTripWhateverTheyHold) {
  TScratchFolder scratch;
  const std::string folder = scratch.Path();
  const std::string values[] = {"plain", "say \"hi\"", "a;b", "\"", "", Ansi("Größe ; 5 \"x\""), "  padded  "};
  for (const auto& value : values) {
    WriteUserModeString("_DAZIRAZAORTDLL.InitialDir", value, folder);
    EXPECT_EQ(ReadUserModeString("_DAZIRAZAORTDLL.InitialDir", "default", folder), value) << value;
  }
  WriteUserModeString("k", "say \"hi\"", folder);
  EXPECT_NE(Content(UserModeFile(folder)).find("k=\"say \"\"hi\"\"\"\r\n"), std::string::npos);
  EXPECT_EQ(ReadUserModeString("", "default", folder), "");
  EXPECT_EQ(ReadUserModeString("missing", "default", folder), "default");
  WriteUserModeString("", "ignored", folder);
  EXPECT_EQ(Content(UserModeFile(folder)).find("ignored"), std::string::npos);
}

TEST(UserSettings, HandWrittenValues) {
  TScratchFolder scratch;
  ASSERT_EQ(ReplaceFileContent(UserModeFile(scratch.Path()),
                               "[MODE]\r\nbare=a;b\r\nopen=\"unterminated\r\nnum=abc\r\nhex=0x10\r\n"),
            0);
  EXPECT_EQ(ReadUserModeString("bare", "", scratch.Path()), "a");
  EXPECT_EQ(ReadUserModeString("open", "", scratch.Path()), "unterminated");
  EXPECT_EQ(ReadUserModeInteger("hex", 0, scratch.Path()), 16);
  EXPECT_EQ(ReadUserModeInteger("num", 30, scratch.Path()), 30);
  EXPECT_NE(Content(UserModeFile(scratch.Path())).find("num=abc"), std::string::npos);
  EXPECT_EQ(ReadUserModeInteger("num", 30, scratch.Path(), true), 30);
  EXPECT_NE(Content(UserModeFile(scratch.Path())).find("num=30\r\n"), std::string::npos);
  EXPECT_EQ(ReadUserModeInteger("", 5, scratch.Path(), true), 5);
}

TEST(UserSettings, WriteBackMakesTheKeyExist) {
  TScratchFolder scratch;
  EXPECT_EQ(ReadUserModeString("TSymbolDlg.ASCII.Chars", "abc", scratch.Path(), true), "abc");
  EXPECT_EQ(Content(UserModeFile(scratch.Path())), "[MODE]\r\nTSymbolDlg.ASCII.Chars=\"abc\"\r\n");
  WriteUserModeInteger("TSymbolDlg.Grid.XY", 30, scratch.Path());
  EXPECT_EQ(ReadUserModeInteger("TSymbolDlg.Grid.XY", 0, scratch.Path()), 30);
}

TEST(UserSettings, FailuresNeverReachTheCaller) {
  TScratchFolder scratch;
  ASSERT_EQ(ReplaceFileContent(scratch / "file", "x"), 0);
  const std::string impossible = scratch / "file/below";  // a file where a folder should be
  EXPECT_NO_THROW(WriteUserModeString("k", "v", impossible));
  EXPECT_NO_THROW(WriteUserModeInteger("k", 1, impossible));
  EXPECT_EQ(ReadUserModeString("k", "d", impossible, true), "d");
  EXPECT_EQ(ReadUserModeInteger("k", 4, impossible, true), 4);
  ASSERT_EQ(MakeFolder(scratch / "dir"), 0);
  ASSERT_EQ(MakeFolder(scratch / "dir/UserMode.INI"), 0);  // unreadable as a file
  EXPECT_EQ(ReadUserModeString("k", "d", scratch / "dir"), "d");
  EXPECT_NO_THROW(WriteUserModeString("k", "v", scratch / "dir"));
}

class RegionalSettings : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = FormatSettings(); }
  void TearDown() override { FormatSettings() = saved_; }
  void Load(std::string_view content) {
    if (!content.empty()) {
      ASSERT_EQ(ReplaceFileContent(scratch_ / "ALTEURO.INI", content), 0);
    }
    LoadRegionalSettings(scratch_.Path());
  }
  TScratchFolder scratch_;
  TFormatSettings saved_;
};

TEST_F(RegionalSettings, WithoutTheFileTheEuroDefaultsHold) {
  FormatSettings().DecimalSeparator = '#';
  FormatSettings().CurrencyString = "x";
  Load("");
  const TFormatSettings& f = FormatSettings();
  EXPECT_EQ(f.DecimalSeparator, ',');
  EXPECT_EQ(f.ThousandSeparator, '.');
  EXPECT_EQ(f.CurrencyString, " \x80");
  EXPECT_EQ(f.CurrencyFormat, 1);
  EXPECT_EQ(f.NegCurrFormat, 5);
  EXPECT_EQ(f.CurrencyDecimals, 2);
  EXPECT_EQ(f.DateSeparator, '.');
  EXPECT_EQ(FormatFloat("#,##0.00", 1234.5), "1.234,50");
}

TEST_F(RegionalSettings, FileValues) {
  struct Case {
    std::string_view content;
    char decimal, thousands;
    std::string currency;
    std::string formatted;
  };
  const Case cases[] = {
      {"[COUNTRY]\r\nEURO=0\r\n", '.', '\'', " \x80", "1'234.50"},
      {"[COUNTRY]\r\nEURO=1\r\n[EUCHAR]\r\nVALUE=EUR\r\n", ',', '.', "EUR", "1.234,50"},
      {"[EUCHAR]\r\nVALUE=DM\r\nNULL=1\r\n", ',', '.', "", "1.234,50"},
      {"[country]\r\neuro = 0 ; old\r\n", '.', '\'', " \x80", "1'234.50"},
  };
  for (const auto& c : cases) {
    Load(c.content);
    EXPECT_EQ(FormatSettings().DecimalSeparator, c.decimal) << c.content;
    EXPECT_EQ(FormatSettings().ThousandSeparator, c.thousands) << c.content;
    EXPECT_EQ(FormatSettings().CurrencyString, c.currency) << c.content;
    EXPECT_EQ(FormatFloat("#,##0.00", 1234.5), c.formatted) << c.content;
  }
}

TEST_F(RegionalSettings, AFolderInPlaceOfTheFileReadsAsMissing) {
  ASSERT_EQ(MakeFolder(scratch_ / "ALTEURO.INI"), 0);  // exists, but no file
  FormatSettings().DecimalSeparator = '#';
  Load("");
  EXPECT_EQ(FormatSettings().DecimalSeparator, ',');
}

}  // namespace
}  // namespace sp
