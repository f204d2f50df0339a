#include <gtest/gtest.h>
#include <stdlib.h>

#include "links_fixture.h"
#include "platform/clock.h"
#include "platform/filesys.h"
#include "support/files.h"
#include "support/opendocument.h"

namespace sp {
namespace {

// Waits for a file a started program writes; a test that never gets it fails.
std::vector<std::string> WaitForLines(const std::string& path) {
  const uint64_t giveUp = TickCount() + 20000;
  while (!FileExistsSafe(path) && TickCount() < giveUp) SleepMs(20);
  std::vector<std::string> lines;
  LoadStringsRetry(lines, path);
  return lines;
}

class TFakeChooser : public IProgramChooser {
 public:
  bool ChoiceRequested() override {
    ++asked;
    return requested;
  }
  bool ChooseProgram(const std::string& preset, const std::string& startFolder, std::string& chosen) override {
    seenPreset = preset;
    chosen = pick;
    return !pick.empty();
  }
  bool requested = true;
  std::string pick;
  std::string seenPreset;
  int asked = 0;
};

class OpenDocumentTest : public TClientRootTest {
 protected:
  void SetUp() override {
    TClientRootTest::SetUp();
    oldPath_ = EnvironmentText("PATH");
    // The desktop opener of these tests records its arguments.
    ::setenv("PATH", (Scratch("bin") + ":" + oldPath_).c_str(), 1);
    MakeRecorder("bin/xdg-open", "opener");
    recorder_ = MakeRecorder("bin/chosen-program", "chosen");
  }
  void TearDown() override {
    WaitForOpenJobs();
    InstallProgramChooser(nullptr);
    ::setenv("PATH", oldPath_.c_str(), 1);
    TClientRootTest::TearDown();
  }

  // A program that writes its name tag and arguments, one per line, to
  // <tag>.out in the scratch folder.
  std::string MakeRecorder(const std::string& name, const std::string& tag) {
    const std::string out = Scratch(tag + ".out");
    const std::string path = Scratch(name);
    ForceFolder(ExtractFilePath(path));
    const std::string script = "#!/bin/sh\nprintf '%s\\n' " + tag + " \"$#\" \"$@\" > '" + out + ".tmp' && mv '" + out +
                               ".tmp' '" + out + "'\n";
    EXPECT_EQ(ReplaceFileContent(AnsiToUtf8(path), script), 0);
    ChangeMode(AnsiToUtf8(path), 0755);
    return path;
  }
  std::vector<std::string> Recorded(const std::string& tag) { return WaitForLines(Scratch(tag + ".out")); }

  std::string oldPath_;
  std::string recorder_;
};

TEST_F(OpenDocumentTest, RememberedProgramGetsTheDocumentAsOneArgument) {
  SaveStringsRetry({".pdf=/nowhere", ".txt=" + recorder_}, ProgramMemoryFile());
  // A name full of shell syntax stays one argument and runs nothing.
  const std::string document = Scratch("a b; touch pwned $(touch pwned2) `touch pwned3`.TXT");
  OpenDocument("open", "\"" + document + "\"", false);
  EXPECT_EQ(Recorded("chosen"), (std::vector<std::string>{"chosen", "1", document}));
  EXPECT_FALSE(FileExistsSafe(Scratch("pwned")));
  EXPECT_FALSE(FileExistsSafe("pwned"));
  EXPECT_FALSE(FileExistsSafe("pwned2"));
  EXPECT_FALSE(FileExistsSafe("pwned3"));
}

TEST_F(OpenDocumentTest, WithoutMemoryTheDesktopOpenerOpens) {
  EXPECT_EQ(AssociatedProgram("x.xls"), Scratch("bin/xdg-open"));
  EXPECT_EQ(ChooseProgram("x.xls"), Scratch("bin/xdg-open"));
  OpenDocument("open", Scratch("Kunde A.xls"), false);
  EXPECT_EQ(Recorded("opener"), (std::vector<std::string>{"opener", "1", Scratch("Kunde A.xls")}));
}

TEST_F(OpenDocumentTest, UrlsIgnoreTheMemory) {
  SaveStringsRetry({".de=" + recorder_}, ProgramMemoryFile());
  OpenDocument("open", "\"https://www.firma.de\"", false);
  EXPECT_EQ(Recorded("opener"), (std::vector<std::string>{"opener", "1", "https://www.firma.de"}));
}

TEST_F(OpenDocumentTest, DocumentsThatLookLikeOptionsAreNoOptions) {
  OpenDocument("open", "-rf.xls", false);
  EXPECT_EQ(Recorded("opener"), (std::vector<std::string>{"opener", "1", "./-rf.xls"}));
}

TEST_F(OpenDocumentTest, ChosenProgramIsRememberedAndUsed) {
  TFakeChooser chooser;
  chooser.pick = recorder_;
  InstallProgramChooser(&chooser);
  SaveStringsRetry({".pdf=/opt/viewer", ".xls=/opt/old"}, ProgramMemoryFile());
  OpenDocument("open", Scratch("Liste.XLS"), true);
  EXPECT_EQ(chooser.seenPreset, Scratch("bin/xdg-open"));
  EXPECT_EQ(Recorded("chosen"), (std::vector<std::string>{"chosen", "1", Scratch("Liste.XLS")}));
  std::vector<std::string> memory;
  LoadStringsRetry(memory, ProgramMemoryFile());
  EXPECT_EQ(memory, (std::vector<std::string>{".pdf=/opt/viewer", ".xls=" + recorder_}));
  EXPECT_EQ(ChooseProgram("other.xls"), recorder_);
}

TEST_F(OpenDocumentTest, CancelledChoiceOpensNothing) {
  TFakeChooser chooser;
  InstallProgramChooser(&chooser);
  OpenDocument("open", Scratch("Liste.xls"), true);
  WaitForOpenJobs();
  EXPECT_EQ(chooser.asked, 1);
  EXPECT_FALSE(FileExistsSafe(ProgramMemoryFile()));
  // A later opening that is not asked about still works, so nothing was pending.
  chooser.requested = false;
  OpenDocument("open", Scratch("Liste.xls"), true);
  EXPECT_EQ(Recorded("opener"), (std::vector<std::string>{"opener", "1", Scratch("Liste.xls")}));
}

TEST_F(OpenDocumentTest, ChooserIsOnlyAskedWhenAllowed) {
  TFakeChooser chooser;
  chooser.pick = recorder_;
  InstallProgramChooser(&chooser);
  OpenDocument("open", Scratch("a.xls"), false);
  EXPECT_EQ(Recorded("opener").size(), 3u);
  EXPECT_EQ(chooser.asked, 0);
}

TEST(OpenDocument, UnquotesOnePair) {
  EXPECT_EQ(UnquoteDocument("\"a b\""), "a b");
  EXPECT_EQ(UnquoteDocument("\"\"x\"\""), "\"x\"");
  EXPECT_EQ(UnquoteDocument("\""), "\"");
  EXPECT_EQ(UnquoteDocument("a\""), "a\"");
}

}  // namespace
}  // namespace sp
