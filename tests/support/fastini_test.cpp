#include "support/fastini.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/filesys.h"
#include "platform/process.h"
#include "support/fileex.h"
#include "support/iniscan.h"
#include "support/files.h"
#include "support/text1252.h"
#include "tests/support/scratch_folder.h"

namespace sp {
namespace {

using Lines = std::vector<std::string>;

// An in-memory INI object over `text`.
struct TIni {
  explicit TIni(std::string_view text) : ini("") { ini.LoadFromText(text); }
  TFastIniFile ini;
};

// A big file: `sections` sections of `keys` keys "kN=vN" (N = 0..keys-1).
std::string BigIni(int sections, int keys) {
  std::string text;
  for (int s = 0; s < sections; ++s) {
    text += "[S" + std::to_string(s) + "]\r\n";
    for (int k = 0; k < keys; ++k) text += "k" + std::to_string(k) + "=v" + std::to_string(s) + "." + std::to_string(k) + "\r\n";
  }
  return text;
}

TEST(FastIni, UntouchedLinesAreWrittenBackByteForByte) {
  const std::string text =
      "; head comment\r\n\r\n[A]\r\n  key one = 1  \r\nx=2\r\n  free text  \r\n# not a comment\r\n"
      "[B]\r\nlooked  =  up\r\nnext = 3\r\n [not a header]\r\n";
  TIni t(text);
  EXPECT_EQ(t.ini.ReadString("B", "looked", "?"), "up");
  t.ini.WriteString("B", "looked", "up");  // same value: no change
  EXPECT_FALSE(t.ini.Modified());
  // Section A untouched; in B the lines up to the key found are parsed.
  EXPECT_EQ(t.ini.SaveToText(),
            "; head comment\r\n\r\n[A]\r\n  key one = 1  \r\nx=2\r\n  free text  \r\n# not a comment\r\n"
            "[B]\r\nlooked=up\r\nnext = 3\r\n [not a header]\r\n");
  EXPECT_EQ(t.ini.ReadString("A", "free text", "?"), "?");  // a line without "=" is no key
  EXPECT_EQ(t.ini.ReadString("A", "key one", "?"), "1");
  EXPECT_EQ(t.ini.SaveToText(),
            "; head comment\r\n\r\n[A]\r\nkey one=1\r\nx=2\r\nfree text  \r\n# not a comment\r\n"
            "[B]\r\nlooked=up\r\nnext = 3\r\n [not a header]\r\n");
}

TEST(FastIni, LineBreaksAndNulBytes) {
  struct Case {
    std::string_view text;
    std::string_view saved;
  };
  const Case cases[] = {
      {"a=1", "a=1\r\n"},                          // last line gets its break
      {"a\nb\rc\r\nd", "a\r\nb\r\nc\r\nd\r\n"},
      {"a\n\rb", "a\r\n\r\nb\r\n"},                // LF CR: two breaks
      {"a\r\n\r\n", "a\r\n\r\n"},
      {std::string_view("a\r\nb\0c\r\nd", 10), "a\r\nb\r\n"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(TIni(c.text).ini.SaveToText(), c.saved) << c.text;
}

TEST(FastIni, InlineCommentKeepsItsColumn) {
  TIni t("[S]\r\nk = a      ; note\r\n");
  EXPECT_EQ(t.ini.ReadString("S", "k", ""), "a");
  t.ini.WriteString("S", "k", "bb");
  EXPECT_EQ(t.ini.SaveToText(), "[S]\r\nk=bb     ; note\r\n");
  t.ini.WriteString("S", "k", "1234567");
  EXPECT_EQ(t.ini.SaveToText(), "[S]\r\nk=1234567 ; note\r\n");
  EXPECT_EQ(t.ini.ReadString("S", "k", ""), "1234567");
  t.ini.StripComments = false;
  EXPECT_EQ(t.ini.ReadString("S", "k", ""), "1234567 ; note");
  t.ini.WriteString("S", "k", "plain");
  EXPECT_EQ(t.ini.SaveToText(), "[S]\r\nk=plain\r\n");
}

TEST(FastIni, SemicolonsInValues) {
  TIni t("");
  t.ini.WriteString("S", "cut", "a;b");
  EXPECT_EQ(t.ini.ReadString("S", "cut", ""), "a");
  t.ini.WriteString("S", "quoted", "\"a;b\"");
  EXPECT_EQ(t.ini.ReadString("S", "quoted", ""), "\"a;b\"");
  t.ini.WriteString("S", "single", "'a;b'");  // single quotes do not quote
  EXPECT_EQ(t.ini.ReadString("S", "single", ""), "'a");
  EXPECT_EQ(InlineCommentPos("x\"\";y"), 4u);
  EXPECT_EQ(InlineCommentPos("\"x;"), 0u);
}

TEST(FastIni, DuplicateSectionsUseTheLastOne) {
  TIni t("[D]\r\nk=first\r\n[other]\r\n[d]\r\nk=second\r\n");
  EXPECT_EQ(t.ini.ReadString("D", "k", ""), "second");
  t.ini.WriteString("D", "k", "new");
  t.ini.WriteString("D", "added", "x");
  EXPECT_EQ(t.ini.SaveToText(), "[D]\r\nk=first\r\n[other]\r\n[d]\r\nk=new\r\nadded=x\r\n");
  Lines sections;
  t.ini.ReadSections(sections);
  EXPECT_EQ(sections, (Lines{"D", "other", "d"}));
}

TEST(FastIni, DuplicateKeysFirstInSmallFilesLastInIndexedOnes) {
  TIni small("[S]\r\nk=first\r\nk=second\r\n");
  EXPECT_FALSE(small.ini.Items().KeyIndexMode());
  EXPECT_EQ(small.ini.ReadString("S", "k", ""), "first");

  std::string text = BigIni(1, 249) + "k0=later\r\n";  // 250 entries in one section
  TIni big(text);
  EXPECT_TRUE(big.ini.Items().KeyIndexMode());
  EXPECT_EQ(big.ini.ReadString("S0", "k0", ""), "later");
  big.ini.DeleteKey("S0", "k0");  // deletion always takes the first
  EXPECT_EQ(big.ini.ReadString("S0", "k0", ""), "later");
  big.ini.DeleteKey("S0", "k0");
  EXPECT_EQ(big.ini.ReadString("S0", "k0", "gone"), "gone");

  TIni below(BigIni(2, 249));  // 249 per section: linear
  EXPECT_FALSE(below.ini.Items().KeyIndexMode());
}

TEST(FastIni, IndexedLookupsStayRightAcrossInsertsAndRemovals) {
  TIni t(BigIni(3, 300));
  ASSERT_TRUE(t.ini.Items().KeyIndexMode());
  EXPECT_EQ(t.ini.ReadString("S1", "k299", ""), "v1.299");
  EXPECT_EQ(t.ini.ReadString("S2", "k5", ""), "v2.5");
  t.ini.WriteString("S0", "fresh", "f");  // shifts everything below
  t.ini.WriteString("S1", "fresh1", "g");
  EXPECT_EQ(t.ini.ReadString("S1", "k299", ""), "v1.299");
  EXPECT_EQ(t.ini.ReadString("S2", "k5", ""), "v2.5");
  EXPECT_EQ(t.ini.ReadString("S0", "fresh", ""), "f");
  EXPECT_EQ(t.ini.ReadString("S1", "fresh1", ""), "g");
  t.ini.DeleteKey("S1", "k0");
  t.ini.EraseSection("S0");
  EXPECT_EQ(t.ini.ReadString("S0", "k1", "none"), "none");
  EXPECT_EQ(t.ini.ReadString("S1", "k1", ""), "v1.1");
  EXPECT_EQ(t.ini.ReadString("S1", "k0", "deleted"), "deleted");
  EXPECT_EQ(t.ini.ReadString("S2", "k299", ""), "v2.299");
  t.ini.WriteString("S2", "k299", "changed");
  EXPECT_EQ(t.ini.ReadString("S2", "k299", ""), "changed");
  Lines keys;
  t.ini.ReadSection("S1", keys);
  EXPECT_EQ(keys.size(), 300u);
  EXPECT_EQ(keys.back(), "fresh1");
}

TEST(FastIni, NewKeysAndSectionsGoWhereTheyBelong) {
  TIni t("[A]\r\nk=1\r\ntext line\r\n; trailing\r\n\r\n[B]\r\n");
  t.ini.WriteString("A", "new", "2");
  t.ini.WriteString("B", "b", "3");
  t.ini.WriteString("C", "c", "4");
  EXPECT_EQ(t.ini.SaveToText(),
            "[A]\r\nk=1\r\ntext line\r\nnew=2\r\n; trailing\r\n\r\n[B]\r\nb=3\r\n\r\n[C]\r\nc=4\r\n");
  TIni empty("");
  empty.ini.WriteString("S", " padded key ", "v");
  EXPECT_EQ(empty.ini.SaveToText(), "[S]\r\npadded key=v\r\n");
  TIni endsBlank("[A]\r\n\r\n");
  endsBlank.ini.WriteString("B", "k", "");
  EXPECT_TRUE(endsBlank.ini.Modified());  // a new key counts even with an empty value
  EXPECT_EQ(endsBlank.ini.SaveToText(), "[A]\r\n\r\n[B]\r\nk=\r\n");
}

TEST(FastIni, NamesCompareCaseInsensitivelyAndEmptyNamesMatchNothing) {
  TIni t(Ansi("[ÄNDERUNG]\r\nSchlüssel=1\r\n=empty\r\n[]\r\nk=2\r\n"));
  EXPECT_EQ(t.ini.ReadString(Ansi("änderung"), Ansi("SCHLÜSSEL"), ""), "1");
  EXPECT_EQ(t.ini.ReadString(Ansi("änderung"), "", "none"), "none");
  EXPECT_EQ(t.ini.ReadString("", "k", "none"), "none");
  EXPECT_EQ(NameHash("abc"), NameHash("ABC"));
  EXPECT_EQ(NameHash("ab"), ((uint32_t{'A'} << 2) ^ 'B'));
  EXPECT_FALSE(SameName("", ""));
}

TEST(FastIni, EraseSectionTakesItsBlankLinesButLeavesTheNextComment) {
  struct Case {
    std::string_view text;
    std::string_view saved;
  };
  const Case cases[] = {
      {"[A]\r\nk=1\r\n\r\n\r\n[B]\r\n", "[B]\r\n"},
      {"[A]\r\nk=1\r\n\r\n; about B\r\n\r\n[B]\r\n", "; about B\r\n\r\n[B]\r\n"},
      {"[A]\r\nk=1\r\n; c\r\n\r\n\r\n[B]\r\n", "[B]\r\n"},  // two blanks after the comment: all goes
      {"x=0\r\n[A]\r\nk=1\r\n; end\r\n", "x=0\r\n; end\r\n"},
      {"[A]\r\n[B]\r\nk=1\r\n", "[B]\r\nk=1\r\n"},
  };
  for (const auto& c : cases) {
    TIni t(c.text);
    t.ini.EraseSection("a");
    EXPECT_EQ(t.ini.SaveToText(), c.saved) << c.text;
    EXPECT_EQ(t.ini.ReadString("A", "k", "none"), "none");
  }
  TIni missing("[B]\r\n");
  missing.ini.EraseSection("A");
  EXPECT_TRUE(missing.ini.Modified());
}

TEST(FastIni, WriteStringWithAnEmptyKey) {
  TIni t("[A]\r\nk=1\r\n[B]\r\nk=2\r\n");
  t.ini.WriteString("A", "", "value");  // ignored
  EXPECT_FALSE(t.ini.Modified());
  t.ini.WriteString("A", "", "");       // erases A
  EXPECT_EQ(t.ini.SaveToText(), "[B]\r\nk=2\r\n");
}

TEST(FastIni, ListingsAndDeletion) {
  TIni t("[S]\r\na = 1 ; c\r\ntext\r\nb=2\r\n[T]\r\nc=3\r\n");
  Lines keys{"stale"};
  t.ini.ReadSection("S", keys);
  EXPECT_EQ(keys, (Lines{"a", "b"}));
  t.ini.ReadSectionValues("s", keys);
  EXPECT_EQ(keys, (Lines{"a=1", "b=2"}));
  t.ini.ReadSection("missing", keys);
  EXPECT_TRUE(keys.empty());
  t.ini.DeleteKey("S", "a");
  t.ini.DeleteKey("S", "missing");
  EXPECT_EQ(t.ini.ReadString("T", "c", ""), "3");
  EXPECT_EQ(t.ini.SaveToText(), "[S]\r\ntext\r\nb=2\r\n[T]\r\nc=3\r\n");
  const TStatistics& st = t.ini.Items().Statistics();
  EXPECT_EQ(st.Sections, 2);
  EXPECT_EQ(st.Entries, 3);
  EXPECT_EQ(st.Blanks, 0);
  try {
    t.ini.Items().Item(6);
    FAIL() << "no exception";
  } catch (const EStringListError& e) {
    EXPECT_EQ(e.Message(), Ansi("Der Index der Liste überschreitet das Maximum (6)"));
  }
}

TEST(FastIni, TypedValues) {
  TIni t("[N]\r\nhex=0x1F\r\nHEX=0XffffFFFF\r\nbare=0x\r\nneg=-12\r\nbad=12a\r\nbig=2147483648\r\nmin=-2147483648\r\n");
  struct Case {
    const char* key;
    int32_t expected;
  };
  const Case cases[] = {{"hex", 31}, {"HEX", 31}, {"bare", 7}, {"neg", -12}, {"bad", 7}, {"big", 7},
                        {"min", INT32_MIN}, {"missing", 7}};
  for (const auto& c : cases) EXPECT_EQ(t.ini.ReadInteger("N", c.key, 7), c.expected) << c.key;
  int32_t all = 0;
  EXPECT_TRUE(IniTextToInteger("0xFFFFFFFF", all));
  EXPECT_EQ(all, -1);
  t.ini.WriteInteger("N", "w", -5);
  t.ini.WriteBool("N", "flag", true);
  EXPECT_EQ(t.ini.ReadString("N", "w", ""), "-5");
  EXPECT_TRUE(t.ini.ReadBool("N", "flag", false));
  EXPECT_TRUE(t.ini.ReadBool("N", "neg", false));
  EXPECT_TRUE(t.ini.ReadBool("N", "missing", true));
  FormatSettings().DecimalSeparator = ',';
  t.ini.WriteFloat("N", "f", 2.5);
  EXPECT_EQ(t.ini.ReadString("N", "f", ""), "2,5");
  EXPECT_DOUBLE_EQ(t.ini.ReadFloat("N", "f", 0), 2.5);
  EXPECT_DOUBLE_EQ(t.ini.ReadFloat("N", "bad", 9), 9);
}

TEST(FastIniFile, ReadsLazilyOnceAndWritesOnlyWhenChanged) {
  TScratchFolder scratch;
  const std::string name = scratch / "sub/dir/UserMode.INI";
  {
    TFastIniFile ini(name);
    EXPECT_EQ(ini.ReadString("MODE", "k", "default"), "default");  // missing file reads empty
    ini.WriteString("MODE", "k", "v");
  }  // destruction writes, folders created
  EXPECT_EQ(Content(name), "[MODE]\r\nk=v\r\n");

  TFastIniFile ini(name);
  ASSERT_EQ(ReplaceFileContent(name, "[MODE]\r\nk=changed before first use\r\n"), 0);
  EXPECT_FALSE(ini.Loaded());
  EXPECT_EQ(ini.ReadString("MODE", "k", ""), "changed before first use");
  ASSERT_EQ(ReplaceFileContent(name, "[MODE]\r\nk=later\r\n"), 0);
  EXPECT_EQ(ini.ReadString("MODE", "k", ""), "changed before first use");  // never re-read
  ini.UpdateFile();  // not modified: the file stays
  EXPECT_EQ(Content(name), "[MODE]\r\nk=later\r\n");
  ini.EraseSection("none");  // marks modified
  ini.UpdateFile();
  EXPECT_EQ(Content(name), "[MODE]\r\nk=changed before first use\r\n");
}

TEST(FastIniFile, FlushKeepsPermissionsAndFailsWithoutHarm) {
  TScratchFolder scratch;
  const std::string name = scratch / "ALTEURO.INI";
  ASSERT_EQ(ReplaceFileContent(name, "[COUNTRY]\r\nEURO=1\r\n"), 0);
  ASSERT_EQ(ChangeMode(name, 0444), 0);
  {
    TFastIniFile ini(name);
    ini.WriteString("COUNTRY", "EURO", "0");
  }
  EXPECT_EQ(Content(name), "[COUNTRY]\r\nEURO=0\r\n");
  EXPECT_EQ(QueryPath(name).mode, 0444u);

  ASSERT_EQ(MakeFolder(scratch / "taken"), 0);
  TFastIniFile blocked(scratch / "taken");  // a folder stands where the file should be
  blocked.WriteString("S", "k", "v");
  EXPECT_THROW(blocked.UpdateFile(), EFCreateError);
  EXPECT_TRUE(blocked.Modified());

  ASSERT_EQ(ReplaceFileContent(scratch / "file", "x"), 0);
  TFastIniFile noFolder(scratch / "file/sub/x.ini");
  noFolder.WriteString("S", "k", "v");
  try {
    noFolder.UpdateFile();
    FAIL() << "no exception";
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.Message(), "Verzeichnis kann nicht erstellt werden");
  }
}

TEST(FileStreamEx, OpenModesAndMessages) {
  TScratchFolder scratch;
  {
    TFileStreamEx created(scratch / "f", TFileOpenMode::Create);
    created.WriteText("abc");
  }
  TFileStreamEx read(scratch / "f", TFileOpenMode::Read);
  EXPECT_EQ(read.ReadRest(), "abc");
  EXPECT_EQ(read.Write("x", 1), 0);  // read only
  try {
    TFileStreamEx missing(scratch / "none", TFileOpenMode::Read);
    FAIL() << "no exception";
  } catch (const EFCreateError& e) {
    EXPECT_EQ(e.Message(), Ansi("Datei ") + (scratch / "none") + Ansi(" kann nicht geöffnet werden"));
  }
  try {
    TFileStreamEx folder(scratch / "no/f", TFileOpenMode::Create);
    FAIL() << "no exception";
  } catch (const EFCreateError& e) {
    EXPECT_EQ(e.Message(), "Datei " + (scratch / "no/f") + " kann nicht erstellt werden");
  }
}

TEST(FileStreamEx, OpenWaitsForABusyFile) {
  // A running program's file cannot be opened for writing (ETXTBSY) until
  // the program has ended: the open waits for that.
  TScratchFolder scratch;
  const std::string program = scratch / "busy";
  std::string bytes;
  ASSERT_EQ(ReadWholeFile("/bin/sleep", bytes), 0);
  ASSERT_EQ(ReplaceFileContent(program, bytes), 0);
  ASSERT_EQ(ChangeMode(program, 0755), 0);
  const int pid = StartProcess(program, {"0.3"});
  ASSERT_GT(pid, 0);
  SleepMs(50);
  int attempts = 0;
  EXPECT_EQ(AttemptPatiently([&] {
              ++attempts;
              return attempts < 3 ? EBUSY : 0;
            }),
            0);
  EXPECT_EQ(attempts, 3);
  {
    TFileStreamEx stream(program, TFileOpenMode::ReadWrite);
    EXPECT_FALSE(ProcessRunning(pid));
  }
  WaitProcess(pid);
  EXPECT_EQ(AttemptPatiently([] { return ENOENT; }), ENOENT);  // hopeless: no wait
}

}  // namespace
}  // namespace sp

namespace sp {
namespace {

TEST(IniScan, CountsLinesByKindAndFindsHeaders) {
  struct Case {
    std::string_view text;
    int32_t lines, blanks, comments;
    bool onlyCrLf;
    std::vector<TIniHeader> headers;
  };
  const Case cases[] = {
      {"", 0, 0, 0, true, {}},
      {"a", 1, 0, 0, false, {}},
      {"[A]\r\nk=1\r\n", 2, 0, 0, true, {{0, 3, 0}}},
      {"\r\n;c\r\n[B]\r\n [no]\r\n[x\r\n[]\r\n", 6, 1, 1, true, {{6, 9, 2}, {22, 24, 5}}},
      {"a\n\rb\r\r\n[C]", 5, 2, 0, false, {{7, 10, 4}}},
      {"[", 1, 0, 0, false, {}},
      {"]\n[D]x\n;", 3, 0, 1, false, {}},
  };
  for (const auto& c : cases) {
    for (const TIniScan& scan : {ScanIniText(c.text), ScanIniTextPlain(c.text)}) {
      EXPECT_EQ(scan.lines, c.lines) << c.text;
      EXPECT_EQ(scan.blanks, c.blanks) << c.text;
      EXPECT_EQ(scan.comments, c.comments) << c.text;
      EXPECT_EQ(scan.onlyCrLf, c.onlyCrLf) << c.text;
      EXPECT_EQ(scan.headers, c.headers) << c.text;
    }
  }
}

TEST(IniScan, BlockScanAgreesWithTheLineByLineReference) {
  // Texts made of the bytes that matter, across 64-byte block edges.
  const char alphabet[] = {'\r', '\n', ';', '[', ']', 'k', '=', '{', '\x1B', ' '};
  uint32_t state = 12345;
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    const int length = static_cast<int>(state % 300);
    for (int i = 0; i < length; ++i) {
      state = state * 1103515245u + 12345u;
      text += alphabet[(state >> 16) % sizeof alphabet];
    }
    state = state * 1103515245u + 12345u;
    ASSERT_EQ(ScanIniText(text), ScanIniTextPlain(text)) << round;
  }
}

TEST(FastIni, ItemsAreReachableByIndexAcrossSplitAndUnsplitSections) {
  TIni t("pre\r\n[A]\r\na=1\r\n[B]\r\nb=2\r\n");
  EXPECT_EQ(t.ini.Items().Count(), 5);
  EXPECT_EQ(t.ini.ReadString("B", "b", ""), "2");
  const std::string_view names[] = {"pre", "[A]", "a=1", "[B]", "b"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(t.ini.Items().Item(i).Name, names[i]) << i;
  EXPECT_EQ(t.ini.Items().Item(4).Kind, lkEntry);
  EXPECT_EQ(t.ini.Items().Item(2).Kind, lkRaw);  // never looked at
  EXPECT_THROW(t.ini.Items().Item(-1), EStringListError);
}

}  // namespace
}  // namespace sp
