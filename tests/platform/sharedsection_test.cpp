#include "platform/sharedsection.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <gtest/gtest.h>

#include "sectionnames.h"

namespace sp {
namespace {

using sp::testing::UniqueSectionName;

TEST(SharedSection, NameMapping) {
  const struct {
    const char* section;
    const char* object;
  } cases[] = {
      {"KorvoMap", "/KorvoMap"},
      {"Local\\Order42", "/Local_Order42"},
      {"a/b\\c", "/a_b_c"},
      {"", "/"},
      {"Gr\xF6\xDF" "e", "/Gr\xF6\xDF" "e"},
  };
  for (const auto& c : cases) EXPECT_EQ(SharedSectionObjectName(c.section), c.object) << c.section;
}

TEST(SharedSection, CreatedSectionIsZeroFilledPrivateAndSharedByName) {
  const std::string name = UniqueSectionName("share");
  TSharedSection host;
  ASSERT_EQ(host.Create(name, 4096), 0);
  ASSERT_EQ(host.MapView(), 0);
  EXPECT_EQ(host.ViewSize(), 4096);
  for (int i = 0; i < 4096; ++i) ASSERT_EQ(host.View()[i], 0) << i;

  struct stat info {};
  const int fd = ::shm_open(host.ObjectName().c_str(), O_RDONLY, 0);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::fstat(fd, &info), 0);
  ::close(fd);
  EXPECT_EQ(info.st_mode & 0777, 0600u);

  std::memcpy(host.View(), "order", 5);
  TSharedSection module;
  ASSERT_EQ(module.Open(name, TSectionAccess::All), 0);
  ASSERT_EQ(module.MapView(), 0);
  EXPECT_EQ(std::string(module.View(), 5), "order");
  std::memcpy(module.View() + 100, "back", 4);
  EXPECT_EQ(std::string(host.View() + 100, 4), "back");
}

TEST(SharedSection, AnotherProcessSeesTheSameBytes) {
  const std::string name = UniqueSectionName("fork");
  TSharedSection host;
  ASSERT_EQ(host.Create(name, 1000), 0);
  ASSERT_EQ(host.MapView(), 0);
  std::memcpy(host.View(), "ping", 4);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    TSharedSection module;
    bool ok = module.Open(name, TSectionAccess::All) == 0 && module.MapView() == 0 &&
              std::memcmp(module.View(), "ping", 4) == 0;
    if (ok) std::memcpy(module.View() + 4, "pong", 4);
    ok = ok && module.FlushView() == 0 && module.Close() == 0;
    ::_exit(ok ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(std::string(host.View(), 8), "pingpong");
}

TEST(SharedSection, OpeningFailuresGiveTheirErrno) {
  const std::string name = UniqueSectionName("fail");
  TSharedSection absent;
  EXPECT_EQ(absent.Open(name, TSectionAccess::All), ENOENT);
  EXPECT_FALSE(absent.IsOpen());

  TSharedSection host;
  ASSERT_EQ(host.Create(name, 64), 0);
  TSharedSection twice;
  EXPECT_EQ(twice.Create(name, 64), EEXIST);
  EXPECT_EQ(TSharedSection().Create(UniqueSectionName("empty"), 0), EINVAL);

  // The view is always writable, which a read-only opening cannot give.
  TSharedSection reader;
  ASSERT_EQ(reader.Open(name, TSectionAccess::Read), 0);
  EXPECT_EQ(reader.MapView(), EACCES);
  EXPECT_FALSE(reader.IsMapped());
}

TEST(SharedSection, OnlyTheCreatorRemovesTheName) {
  const std::string name = UniqueSectionName("owner");
  TSharedSection host;
  ASSERT_EQ(host.Create(name, 64), 0);
  {
    TSharedSection module;
    ASSERT_EQ(module.Open(name, TSectionAccess::Write), 0);
    ASSERT_EQ(module.MapView(), 0);
    EXPECT_EQ(module.Close(), 0);
    EXPECT_FALSE(module.IsOpen());
  }
  TSharedSection again;
  EXPECT_EQ(again.Open(name, TSectionAccess::All), 0);
  again.Close();

  TSharedSection moved = std::move(host);
  EXPECT_FALSE(host.IsOpen());
  EXPECT_EQ(moved.Close(), 0);
  EXPECT_EQ(TSharedSection().Open(name, TSectionAccess::All), ENOENT);
}

}  // namespace
}  // namespace sp
