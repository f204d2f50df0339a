#include "support/files.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/errors.h"
#include "platform/filesys.h"
#include "platform/process.h"
#include "support/text1252.h"
#include "tests/support/scratch_folder.h"

namespace sp {
namespace {

void Put(const std::string& path, std::string_view bytes) { ASSERT_EQ(ReplaceFileContent(path, bytes), 0) << path; }

uint32_t ModeOf(const std::string& path) { return QueryPath(path).mode; }

// Sets an environment variable for one test and puts the old value back.
class TScopedEnv {
 public:
  TScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = ::getenv(name)) old_ = old, hadOld_ = true;
    ::setenv(name, value.c_str(), 1);
  }
  ~TScopedEnv() {
    if (hadOld_) ::setenv(name_, old_.c_str(), 1);
    else ::unsetenv(name_);
  }

 private:
  const char* name_;
  std::string old_;
  bool hadOld_ = false;
};

TEST(Paths, IncludeDelimiterUnderBothRuleSets) {
  struct Case {
    const char* path;
    TPathRules rules;
    const char* expected;
  };
  const Case cases[] = {
      {"", kWindowsPathRules, ""},         {"C", kWindowsPathRules, "C:\\"},
      {"c", kWindowsPathRules, "c:\\"},    {"C:", kWindowsPathRules, "C:"},
      {"C:\\", kWindowsPathRules, "C:\\"}, {"1", kWindowsPathRules, "1\\"},
      {"ab", kWindowsPathRules, "ab\\"},   {"C:\\x", kWindowsPathRules, "C:\\x\\"},
      {"", kPosixPathRules, ""},           {"C", kPosixPathRules, "C/"},
      {"C:", kPosixPathRules, "C:/"},      {"/tmp/", kPosixPathRules, "/tmp/"},
      {"/tmp", kPosixPathRules, "/tmp/"},  {"/", kPosixPathRules, "/"},
  };
  for (const auto& c : cases) EXPECT_EQ(IncludeDelimiter(c.path, c.rules), c.expected) << c.path;
  EXPECT_EQ(IncludeBackslash("/a"), "/a/");
  EXPECT_EQ(ExcludeDelimiter("C:\\x\\", kWindowsPathRules), "C:\\x");
  EXPECT_EQ(ExcludeBackslash("/a//"), "/a/");  // one delimiter only
  EXPECT_EQ(ExcludeBackslash(""), "");
}

TEST(Paths, SplitIntoFolderAndName) {
  EXPECT_EQ(ExtractFilePath("/a/b.txt"), "/a/");
  EXPECT_EQ(ExtractFileName("/a/b.txt"), "b.txt");
  EXPECT_EQ(ExtractFilePath("b.txt"), "");
  EXPECT_EQ(ExtractFileName("/a/"), "");
  EXPECT_EQ(AlternativeFileName("/a/b.txt", 2), "/a/[2]b.txt");
  EXPECT_EQ(AlternativeFileName("b.txt", 1), "[1]b.txt");
}

TEST(Paths, ProgramFolderHoldsThisProgram) {
  const std::string folder = ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '/');
  EXPECT_EQ(folder + ExtractFileName(Utf8ToAnsi(ExecutablePath())), Utf8ToAnsi(ExecutablePath()));
  EXPECT_TRUE(FileExistsSafe(Utf8ToAnsi(ExecutablePath())));
}

TEST(Paths, SharedFoldersComeFromTheEnvironmentAndAreCreated) {
  TScratchFolder scratch;
  {
    TScopedEnv docs("ORV_COMMON_DOCUMENTS", scratch / "docs");
    EXPECT_EQ(SpecialFolder(kCommonDocumentsFolder), scratch / "docs/");
    EXPECT_EQ(ClientRootFolder(), scratch / "docs/Orv-ClientRoot/default/");
    EXPECT_TRUE(FolderExists(scratch / "docs/Orv-ClientRoot/default"));
  }
  {
    TScopedEnv unsetDocs("ORV_COMMON_DOCUMENTS", "");
    TScopedEnv xdg("XDG_DATA_HOME", scratch / "xdg");
    EXPECT_EQ(SpecialFolder(kCommonDocumentsFolder), scratch / "xdg/");
  }
  TScopedEnv tmp("TMPDIR", scratch / "t/");
  EXPECT_EQ(TempFolder(), scratch / "t/OrvTempDir/");
  EXPECT_EQ(TempFolder("XCURSOR"), scratch / "t/OrvTempDir/XCURSOR/");
  EXPECT_TRUE(FolderExists(scratch / "t/OrvTempDir/XCURSOR/"));
}

TEST(Paths, FoldersWithUmlautsAreConvertedAtTheSystemCall) {
  TScratchFolder scratch;
  const std::string ansi = Utf8ToAnsi(scratch.Path()) + Ansi("Größe/Ä");
  ASSERT_TRUE(ForceFolder(ansi));
  EXPECT_EQ(QueryPath(scratch / "Größe/Ä").isFolder, true);
  EXPECT_TRUE(FolderExists(ansi));
}

TEST(Existence, FileExistsSafeAndFolderExists) {
  TScratchFolder scratch;
  Put(scratch / "file", "x");
  Put(scratch / "locked", "x");
  ASSERT_EQ(::chmod((scratch / "locked").c_str(), 0), 0);
  ASSERT_EQ(MakeFolder(scratch / "folder"), 0);
  ASSERT_EQ(::symlink((scratch / "folder").c_str(), (scratch / "to-folder").c_str()), 0);
  ASSERT_EQ(::symlink((scratch / "gone").c_str(), (scratch / "dangling").c_str()), 0);
  ASSERT_EQ(::symlink((scratch / "loop2").c_str(), (scratch / "loop1").c_str()), 0);
  ASSERT_EQ(::symlink((scratch / "loop1").c_str(), (scratch / "loop2").c_str()), 0);

  struct Case {
    std::string name;
    bool file;
    bool folder;
  };
  const Case cases[] = {
      {scratch / "file", true, false},
      {scratch / "locked", true, false},         // exists though nobody may read it
      {scratch / "folder", false, true},
      {scratch / "folder/", false, true},
      {scratch / "to-folder", false, true},
      {scratch / "dangling", false, false},      // link whose target is gone
      {scratch / "missing", false, false},
      {scratch / "file/below", false, false},    // a file on the way
      {scratch / std::string(5000, 'n'), false, false},
      // Unresolvable for another reason than absence: the listing decides
      // the file test, and the folder test counts it as existing.
      {scratch / "loop1", true, true},
      {"", false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FileExistsSafe(c.name), c.file) << c.name;
    EXPECT_EQ(FolderExists(c.name), c.folder) << c.name;
  }
}

TEST(Folders, ForceFolderCreatesTheWholePath) {
  TScratchFolder scratch;
  EXPECT_TRUE(ForceFolder(scratch / "a/b/c/"));
  EXPECT_TRUE(FolderExists(scratch / "a/b/c"));
  EXPECT_TRUE(ForceFolder(scratch / "a/b/c"));  // existing: true
  EXPECT_TRUE(ForceFolder("/"));
  Put(scratch / "file", "x");
  EXPECT_FALSE(ForceFolder(scratch / "file/sub"));
  try {
    ForceFolder("");
    FAIL() << "no exception";
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.ErrorCode(), 3);
    EXPECT_EQ(e.Message(), "Verzeichnis kann nicht erstellt werden");
  }
}

TEST(Folders, ForceFolderOfARelativePath) {
  TScratchFolder scratch;
  char* old = ::getcwd(nullptr, 0);
  ASSERT_EQ(::chdir(scratch.Path().c_str()), 0);
  EXPECT_TRUE(ForceFolder("rel/sub"));
  EXPECT_TRUE(FolderExists(scratch / "rel/sub"));
  ASSERT_EQ(::chdir(old), 0);
  ::free(old);
}

TEST(Folders, MakeFolderPath) {
  TScratchFolder scratch;
  MakeFolderPath(scratch / "x/y/");
  EXPECT_TRUE(FolderExists(scratch / "x/y"));
  try {
    MakeFolderPath("");
    FAIL() << "no exception";
  } catch (const EInOutError&) {
    FAIL() << "wrong class";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Das Verzeichnis kann nicht erstellt werden");
  }
}

TEST(Folders, DeleteFileIfExists) {
  TScratchFolder scratch;
  Put(scratch / "f", "x");
  EXPECT_TRUE(DeleteFileIfExists(scratch / "f"));
  EXPECT_FALSE(FileExistsSafe(scratch / "f"));
  EXPECT_TRUE(DeleteFileIfExists(scratch / "f"));  // not there: true
}

TEST(Folders, DeleteFolderTreeKeepsDotNamesAndNeverFollowsLinks) {
  TScratchFolder scratch;
  TScratchFolder outside;
  Put(outside / "precious", "keep");
  ASSERT_TRUE(ForceFolder(scratch / "t/sub/deeper"));
  Put(scratch / "t/a", "1");
  Put(scratch / "t/.hidden", "2");
  Put(scratch / "t/sub/b", "3");
  Put(scratch / "t/sub/deeper/c", "4");
  Put(scratch / "t/readonly", "5");
  ASSERT_EQ(::chmod((scratch / "t/readonly").c_str(), 0444), 0);
  ASSERT_EQ(::symlink(outside.Path().c_str(), (scratch / "t/link").c_str()), 0);

  EXPECT_TRUE(DeleteFolderTree(scratch / "t", false));
  EXPECT_TRUE(FolderExists(scratch / "t"));
  EXPECT_TRUE(FileExistsSafe(scratch / "t/.hidden"));
  EXPECT_FALSE(FileExistsSafe(scratch / "t/a"));
  EXPECT_FALSE(FileExistsSafe(scratch / "t/readonly"));
  EXPECT_TRUE(FolderExists(scratch / "t/sub"));  // emptied, kept
  EXPECT_FALSE(FileExistsSafe(scratch / "t/sub/deeper/c"));
  EXPECT_EQ(QueryPath(scratch / "t/link").error, ENOENT);
  EXPECT_EQ(Content(outside / "precious"), "keep");

  EXPECT_TRUE(DeleteFolderTree(scratch / "t/", true));
  EXPECT_EQ(QueryPath(scratch / "t").error, ENOENT);
  EXPECT_FALSE(DeleteFolderTree(scratch / "t", true));  // gone: false
  Put(scratch / "f", "x");
  EXPECT_FALSE(DeleteFolderTree(scratch / "f", true));  // no folder
}

TEST(Files, BetterFileStreamKeepsTheReadOnlyAttribute) {
  TScratchFolder scratch;
  const std::string name = scratch / "ro.txt";
  Put(name, "old content");
  ASSERT_EQ(::chmod(name.c_str(), 0440), 0);
  {
    TBetterFileStream stream(name, true, true);
    stream.WriteText("new");
    EXPECT_EQ(ModeOf(name) & 0200, 0200u);  // writable meanwhile
  }
  EXPECT_EQ(Content(name), "new");
  EXPECT_EQ(ModeOf(name), 0440u);
  {
    TBetterFileStream append(name, false, false);  // opens, keeps content
    EXPECT_EQ(append.Size(), 3);
  }
  try {
    TBetterFileStream bad(scratch / "no/such/folder.txt", true, true);
    FAIL() << "no exception";
  } catch (const EFCreateError& e) {
    EXPECT_EQ(e.Message(), "Datei " + (scratch / "no/such/folder.txt") + " kann nicht erstellt werden");
  }
}

TEST(Files, LinesRoundTrip) {
  struct Case {
    std::string_view text;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\n", {"a"}},
      {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
      {"a\n\nb\r\r\n", {"a", "", "b", ""}},
      {"\r\n\r\n", {"", ""}},
      {"\n\r", {"", ""}},  // LF then a lone CR
  };
  for (const auto& c : cases) EXPECT_EQ(TextToLines(c.text), c.lines) << c.text;
  EXPECT_EQ(LinesToText({"a", "", "b"}), "a\r\n\r\nb\r\n");
}

TEST(Files, SaveAndLoadStringsRetry) {
  TScratchFolder scratch;
  const std::string name = scratch / "new/folder/list.txt";
  SaveStringsRetry({"eins", Ansi("zwei ä"), ""}, name);
  EXPECT_EQ(Content(name), Ansi("eins\r\nzwei ä\r\n\r\n"));
  std::vector<std::string> lines{"untouched"};
  LoadStringsRetry(lines, scratch / "missing.txt");
  EXPECT_EQ(lines, std::vector<std::string>{"untouched"});
  LoadStringsRetry(lines, name);
  EXPECT_EQ(lines, (std::vector<std::string>{"eins", Ansi("zwei ä"), ""}));
}

TEST(Files, SaveStringsRetryKeepsPermissionsOfAReadOnlyFile) {
  TScratchFolder scratch;
  const std::string name = scratch / "ro.ini";
  Put(name, "old\r\n");
  ASSERT_EQ(::chmod(name.c_str(), 0444), 0);
  SaveStringsRetry({"new"}, name);
  EXPECT_EQ(Content(name), "new\r\n");
  EXPECT_EQ(ModeOf(name), 0444u);
}

TEST(Files, SaveStringsRetryRaisesTheLastFailure) {
  TScratchFolder scratch;
  Put(scratch / "file", "x");
  const std::string name = scratch / "file/list.txt";  // a file where a folder should be
  try {
    SaveStringsRetry({"a"}, name);
    FAIL() << "no exception";
  } catch (const EFCreateError& e) {
    EXPECT_EQ(e.Message(), "Datei " + name + " kann nicht erstellt werden");
  }
  EXPECT_EQ(Content(scratch / "file"), "x");
}

TEST(Files, ExtractResourceFileFallsBackToAlternativeNames) {
  TScratchFolder scratch;
  EXPECT_EQ(ExtractResourceFile("RIFF", scratch / "cur/1.ani"), scratch / "cur/1.ani");
  EXPECT_EQ(Content(scratch / "cur/1.ani"), "RIFF");
  ASSERT_EQ(MakeFolder(scratch / "cur/2.ani"), 0);  // the name is taken by a folder
  EXPECT_EQ(ExtractResourceFile(std::string_view("\0\1", 2), scratch / "cur/2.ani"), scratch / "cur/[1]2.ani");
  EXPECT_EQ(Content(scratch / "cur/[1]2.ani"), std::string("\0\1", 2));
}

TEST(Files, CopyFileRetry) {
  TScratchFolder scratch;
  std::string big;
  for (int i = 0; i < 200000; ++i) big += static_cast<char>(i * 7);
  Put(scratch / "src", big);
  Put(scratch / "old", "previous");
  EXPECT_TRUE(CopyFileRetry(scratch / "src", scratch / "copies/dst"));
  EXPECT_EQ(Content(scratch / "copies/dst"), big);
  EXPECT_TRUE(CopyFileRetry(scratch / "src", scratch / "old"));
  EXPECT_EQ(Content(scratch / "old"), big);
  EXPECT_THROW(CopyFileRetry(scratch / "missing", scratch / "x"), EFOpenError);
  EXPECT_FALSE(CopyFileRetry(scratch / "src", scratch / "copies"));  // a folder: all ten attempts fail
  EXPECT_TRUE(FolderExists(scratch / "copies"));
}

TEST(Programs, CleanFileName) {
  struct Case {
    std::string_view text;
    bool removeSpaces;
    std::string_view expected;
  };
  const Case cases[] = {
      {"  Auf\ttrag: 12  ", false, "Auftrag 12"},
      {"  Auf\ttrag: 12  ", true, "Auftrag12"},
      {"a\\b?c|d>e<f:g/h*i\"j", false, "abcdefghij"},
      {"\x01\x1F" "x\x7F", false, "x\x7F"},
      {"", false, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(CleanFileName(c.text, c.removeSpaces), c.expected) << c.text;
}

TEST(Programs, RunProgramPassesArgumentsUntouchedAndPumpsWhileWaiting) {
  TScratchFolder scratch;
  TPlainDispatcher dispatcher;
  InstallDispatcher(&dispatcher);
  const std::string name = scratch / "a b; touch evil";
  EXPECT_GT(RunProgram("touch", {name}, true), 0);
  EXPECT_TRUE(FileExistsSafe(name));
  EXPECT_FALSE(FileExistsSafe(scratch / "evil"));
  // A program that runs for a while: the dispatcher's jobs run meanwhile.
  bool pumped = false;
  dispatcher.Post([&] { pumped = true; });
  EXPECT_GT(RunProgram("sleep", {"0.3"}, true), 0);
  EXPECT_TRUE(pumped);
  InstallDispatcher(nullptr);
  EXPECT_EQ(RunProgram(scratch / "no-such-program", {}, true), 0);
  const int pid = RunProgram("true", {}, false);
  EXPECT_GT(pid, 0);
  EXPECT_EQ(WaitProcess(pid), 0);
}

}  // namespace
}  // namespace sp
