#include "platform/filesys.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>

#include "tests/support/scratch_folder.h"

namespace sp {
namespace {

// Caps the size of files this process may write, as a full disk would.
class TFileSizeCap {
 public:
  explicit TFileSizeCap(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    oldHandler_ = ::signal(SIGXFSZ, SIG_IGN);
    rlimit cap = old_;
    cap.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &cap);
  }
  ~TFileSizeCap() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    ::signal(SIGXFSZ, oldHandler_);
  }

 private:
  rlimit old_{};
  sighandler_t oldHandler_;
};

TEST(ReplacingFile, NewFileAndReplacementKeepTheMode) {
  TScratchFolder scratch;
  const std::string target = scratch / "data.ini";
  ASSERT_EQ(ReplaceFileContent(target, "first"), 0);
  EXPECT_EQ(Content(target), "first");
  const mode_t mask = ::umask(0);
  ::umask(mask);
  EXPECT_EQ(QueryPath(target).mode, 0666u & ~mask);
  ASSERT_EQ(ChangeMode(target, 0640), 0);
  ASSERT_EQ(ReplaceFileContent(target, "second"), 0);
  EXPECT_EQ(Content(target), "second");
  EXPECT_EQ(QueryPath(target).mode, 0640u);
  EXPECT_EQ(Names(scratch.Path()), std::vector<std::string>{"data.ini"});  // no temp file left
}

TEST(ReplacingFile, AFailedWriteLeavesTheOldFileWhole) {
  TScratchFolder scratch;
  const std::string target = scratch / "data.ini";
  const std::string old(3000, 'o');
  ASSERT_EQ(ReplaceFileContent(target, old), 0);
  {
    TFileSizeCap cap(1024);
    EXPECT_EQ(ReplaceFileContent(target, std::string(5000, 'n')), EFBIG);
  }
  EXPECT_EQ(Content(target), old);
  EXPECT_EQ(Names(scratch.Path()), std::vector<std::string>{"data.ini"});
}

TEST(ReplacingFile, ALinkStaysALink) {
  TScratchFolder scratch;
  ASSERT_EQ(MakeFolder(scratch / "shared"), 0);
  ASSERT_EQ(ReplaceFileContent(scratch / "shared/real.ini", "old"), 0);
  ASSERT_EQ(::symlink((scratch / "shared/real.ini").c_str(), (scratch / "link.ini").c_str()), 0);
  ASSERT_EQ(ReplaceFileContent(scratch / "link.ini", "new"), 0);
  EXPECT_TRUE(QueryPath(scratch / "link.ini").isLink);
  EXPECT_EQ(Content(scratch / "shared/real.ini"), "new");
  EXPECT_EQ(Names(scratch / "shared"), std::vector<std::string>{"real.ini"});
}

TEST(ReplacingFile, AbandonedWriterChangesNothing) {
  TScratchFolder scratch;
  const std::string target = scratch / "x";
  ASSERT_EQ(ReplaceFileContent(target, "keep"), 0);
  {
    TReplacingFile file;
    ASSERT_EQ(file.Open(target), 0);
    ASSERT_EQ(file.Write("lost", 4), 0);
  }
  EXPECT_EQ(Content(target), "keep");
  EXPECT_EQ(Names(scratch.Path()), std::vector<std::string>{"x"});
  EXPECT_NE(ReplaceFileContent(scratch / "missing/x", "a"), 0);
  ASSERT_EQ(MakeFolder(scratch / "dir"), 0);
  EXPECT_EQ(ReplaceFileContent(scratch / "dir", "a"), EISDIR);
}

TEST(FileSystem, ListAndRemoveTreeNeverFollowLinks) {
  TScratchFolder scratch;
  TScratchFolder outside;
  ASSERT_EQ(ReplaceFileContent(outside / "keep", "k"), 0);
  ASSERT_EQ(MakeFolder(scratch / "t"), 0);
  ASSERT_EQ(MakeFolder(scratch / "t/sub"), 0);
  ASSERT_EQ(ReplaceFileContent(scratch / "t/sub/.f", "1"), 0);
  ASSERT_EQ(ReplaceFileContent(scratch / "t/g", "2"), 0);
  ASSERT_EQ(::symlink(outside.Path().c_str(), (scratch / "t/link").c_str()), 0);
  EXPECT_EQ(Names(scratch / "t"), (std::vector<std::string>{"g", "link", "sub/"}));
  EXPECT_EQ(RemoveTree(scratch / "t"), 0);
  EXPECT_EQ(QueryPath(scratch / "t").error, ENOENT);
  EXPECT_EQ(Content(outside / "keep"), "k");
  EXPECT_EQ(RemoveTree(scratch / "t"), ENOENT);
}

TEST(FileSystem, FolderListsEntry) {
  TScratchFolder scratch;
  ASSERT_EQ(MakeFolder(scratch / "d"), 0);
  ASSERT_EQ(ReplaceFileContent(scratch / "f", ""), 0);
  bool isFolder = false;
  EXPECT_TRUE(FolderListsEntry(scratch / "", "d", isFolder));
  EXPECT_TRUE(isFolder);
  EXPECT_TRUE(FolderListsEntry(scratch / "", "f", isFolder));
  EXPECT_FALSE(isFolder);
  EXPECT_FALSE(FolderListsEntry(scratch / "", "F", isFolder));  // exact bytes
  EXPECT_FALSE(FolderListsEntry(scratch / "nope", "f", isFolder));
}

TEST(FileSystem, TempFolderFollowsTmpdir) {
  const char* old = ::getenv("TMPDIR");
  const std::string saved = old ? old : "";
  ::setenv("TMPDIR", "/var/tmp//", 1);
  EXPECT_EQ(SystemTempFolder(), "/var/tmp");
  ::setenv("TMPDIR", "", 1);
  EXPECT_EQ(SystemTempFolder(), "/tmp");
  if (old) ::setenv("TMPDIR", saved.c_str(), 1);
  else ::unsetenv("TMPDIR");
}

}  // namespace
}  // namespace sp
