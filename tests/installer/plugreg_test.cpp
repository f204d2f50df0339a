// Runs the real plugreg program, copied into a temporary install folder.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

#include "installer/cursorfiles.h"
#include "platform/filesys.h"
#include "tests/support/scratch_folder.h"

namespace sp {
namespace {

constexpr const char* kModules = "USERCALCMODULE.INI";
constexpr const char* kRegistration = "_DAZIRAZACDLLUSERCALC.INI";

struct TRun {
  int exitCode = -1;
  std::string errors;  // what the program wrote to stderr
};

class Plugreg : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string program;
    ASSERT_EQ(ReadWholeFile(PLUGREG_PROGRAM, program), 0);
    ASSERT_EQ(ReplaceFileContent(install_ / "plugreg", program), 0);
    ASSERT_EQ(ChangeMode(install_ / "plugreg", 0755), 0);
    ASSERT_EQ(ChangeMode(install_.Path(), 0755), 0);
    ASSERT_EQ(ChangeMode(temp_.Path(), 0777), 0);
  }

  // Runs plugreg with `arguments`; with a user id other than -1, as that user.
  TRun Run(std::vector<std::string> arguments, uid_t user = static_cast<uid_t>(-1)) {
    const std::string errorsFile = temp_ / "stderr.txt";
    const std::string program = install_ / "plugreg";
    const pid_t pid = ::fork();
    if (pid == 0) {
      const int fd = ::open(errorsFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
      ::dup2(fd, 2);
      if (user != static_cast<uid_t>(-1) &&
          (::setgroups(0, nullptr) != 0 || ::setgid(user) != 0 || ::setuid(user) != 0))
        ::_exit(99);
      ::setenv("TMPDIR", temp_.Path().c_str(), 1);
      std::vector<char*> argv{const_cast<char*>(program.c_str())};
      for (auto& a : arguments) argv.push_back(a.data());
      argv.push_back(nullptr);
      ::execv(program.c_str(), argv.data());
      ::_exit(98);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    TRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.errors = Content(errorsFile);
    RemoveFile(errorsFile);
    return run;
  }

  std::string Registration() const {
    return "[GLOBAL]\r\nCaption=Excel-Import\r\nDLL=" + install_.Path() +
           "sheetpull\r\nBitmap=Excel.bmp\r\nCompress=1\r\n";
  }

  TScratchFolder install_;
  TScratchFolder temp_;
};

TEST_F(Plugreg, WithoutINSTALLNothingIsTouched) {
  const std::vector<std::vector<std::string>> calls = {{}, {"install"}, {"Install"}, {"INSTALLX"}, {"", "INSTALL"}};
  for (const auto& arguments : calls) {
    const TRun run = Run(arguments);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(Names(install_.Path()), std::vector<std::string>{"plugreg"});
  }
}

TEST_F(Plugreg, MissingFilesAreCreated) {
  const TRun run = Run({"INSTALL", "ignored"});
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_EQ(Content(install_ / kModules), "[GLOBAL]\r\nCaption=Kalkulation\r\nWidth=90\r\n");
  EXPECT_EQ(Content(install_ / kRegistration), Registration());
  EXPECT_TRUE(Names(temp_.Path()).empty());  // the cursor files went again at once
}

TEST_F(Plugreg, GlobalDefaultsOnlyWhereMissingOrZero) {
  struct Case {
    std::string before, after;
  };
  const Case cases[] = {
      {"; host\n[GLOBAL]\nWidth=120\nCaption=Module\n\n[Modul1]\nA=1\n",
       "; host\n[GLOBAL]\nWidth=120\nCaption=Module\n\n[Modul1]\nA=1\n"},
      {"[GLOBAL]\r\nWidth=0\r\nCaption=Module\r\n", "[GLOBAL]\r\nWidth=90\r\nCaption=Module\r\n"},
      {"[global]\r\nwidth=abc\r\ncaption=\r\n", "[global]\r\nwidth=90\r\ncaption=Kalkulation\r\n"},
      {"[GLOBAL]\r\nWidth=0x78\r\nCaption=x\r\n", "[GLOBAL]\r\nWidth=0x78\r\nCaption=x\r\n"},
      {"[Other]\r\nWidth=5\r\n", "[Other]\r\nWidth=5\r\n\r\n[GLOBAL]\r\nCaption=Kalkulation\r\nWidth=90\r\n"},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(ReplaceFileContent(install_ / kModules, c.before), 0);
    const TRun run = Run({"INSTALL"});
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(Content(install_ / kModules), c.after) << c.before;
    EXPECT_EQ(Content(install_ / kRegistration), Registration());
  }
}

TEST_F(Plugreg, ASecondRunChangesNothingAndKeepsOtherKeys) {
  ASSERT_EQ(ReplaceFileContent(install_ / kRegistration, "[GLOBAL]\r\ncaption=old\r\nExtra=keep\r\n[More]\r\nz=1\r\n"), 0);
  ASSERT_EQ(Run({"INSTALL"}).exitCode, 0);
  const std::string modules = Content(install_ / kModules);
  struct stat first {};
  ASSERT_EQ(::stat((install_ / kModules).c_str(), &first), 0);
  const std::string expected = "[GLOBAL]\r\ncaption=Excel-Import\r\nExtra=keep\r\nDLL=" + install_.Path() +
                               "sheetpull\r\nBitmap=Excel.bmp\r\nCompress=1\r\n[More]\r\nz=1\r\n";
  EXPECT_EQ(Content(install_ / kRegistration), expected);

  ASSERT_EQ(Run({"INSTALL"}).exitCode, 0);
  struct stat second {};
  ASSERT_EQ(::stat((install_ / kModules).c_str(), &second), 0);
  EXPECT_EQ(Content(install_ / kModules), modules);
  EXPECT_EQ(second.st_ino, first.st_ino);  // not even rewritten
  EXPECT_EQ(Content(install_ / kRegistration), expected);
}

TEST_F(Plugreg, ARefusedWriteEndsWithTheErrorText) {
  ASSERT_EQ(MakeFolder(install_ / kRegistration), 0);  // a folder where the file should be
  const TRun run = Run({"INSTALL"});
  EXPECT_NE(run.exitCode, 0);
  EXPECT_NE(run.errors.find("nach " + (install_ / kRegistration) + " kann nicht geschrieben werden"),
            std::string::npos)
      << run.errors;
  // The writes before the failing one stay.
  EXPECT_EQ(Content(install_ / kModules), "[GLOBAL]\r\nCaption=Kalkulation\r\nWidth=90\r\n");
}

TEST_F(Plugreg, AnUnwritableInstallFolder) {
  ASSERT_EQ(ChangeMode(install_.Path(), 0555), 0);
  // Permission bits do not stop root: then the program runs as "nobody".
  const uid_t user = ::geteuid() == 0 ? 65534 : static_cast<uid_t>(-1);
  const TRun run = Run({"INSTALL"}, user);
  ASSERT_EQ(ChangeMode(install_.Path(), 0755), 0);
  EXPECT_NE(run.exitCode, 0);
  EXPECT_NE(run.errors.find("nach " + (install_ / kModules) + " kann nicht geschrieben werden"), std::string::npos)
      << run.errors;
  EXPECT_EQ(Names(install_.Path()), std::vector<std::string>{"plugreg"});
}

TEST(BusyCursors, FourAnimatedCursorFiles) {
  const auto& cursors = BusyCursorResources();
  ASSERT_EQ(cursors.size(), 4u);
  for (size_t i = 0; i < cursors.size(); ++i) {
    const TCursorResource& c = cursors[i];
    EXPECT_EQ(c.number, -4997 + static_cast<int>(i));
    EXPECT_EQ(c.name, "crCursor_ajax0" + std::to_string(i + 1));
    ASSERT_GT(c.bytes.size(), 12u);
    EXPECT_EQ(c.bytes.substr(0, 4), "RIFF");
    EXPECT_EQ(c.bytes.substr(8, 8), "ACONanih");
    const auto le32 = [&](size_t at) {
      uint32_t v = 0;
      for (int k = 3; k >= 0; --k) v = v * 256 + static_cast<unsigned char>(c.bytes[at + static_cast<size_t>(k)]);
      return v;
    };
    EXPECT_EQ(le32(4), c.bytes.size() - 8);  // the RIFF size covers the file
    EXPECT_EQ(le32(20), 36u);                // header size
    EXPECT_EQ(le32(24), 8u);                 // frames
    size_t icons = 0;
    for (size_t at = c.bytes.find("icon"); at != std::string::npos; at = c.bytes.find("icon", at + 4)) ++icons;
    EXPECT_EQ(icons, 8u);
    if (i > 0) {
      EXPECT_NE(c.bytes, cursors[i - 1].bytes);
    }
  }
}

}  // namespace
}  // namespace sp
