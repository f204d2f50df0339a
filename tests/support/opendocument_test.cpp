#include <gtest/gtest.h>

#include "links_fixture.h"
#include "recorder.h"
#include "support/files.h"
#include "support/opendocument.h"

namespace sp {
namespace {

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
  void TearDown() override {
    WaitForOpenJobs();
    InstallProgramChooser(nullptr);
    TClientRootTest::TearDown();
  }
  std::vector<std::string> Recorded(const std::string& tag) { return programs_.Recorded(tag); }

  TRecorderPrograms programs_{scratch_};
  const std::string& recorder_ = programs_.ChosenProgram();
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
  EXPECT_EQ(AssociatedProgram("x.xls"), programs_.Opener());
  EXPECT_EQ(ChooseProgram("x.xls"), programs_.Opener());
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
  EXPECT_EQ(chooser.seenPreset, programs_.Opener());
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
