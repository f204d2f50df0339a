#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <string>

#include "platform/clock.h"
#include "platform/process.h"
#include "tests/hostlink/pipe_test_support.h"

namespace sp {
namespace {

using testing::RawPeer;

class RelayTest : public testing::PipeTest {};

TEST_F(RelayTest, PassesEveryMessageUnchangedToEveryOtherClientInOrder) {
  ASSERT_GT(StartRelay(), 0);
  ASSERT_TRUE(WaitForPipe());
  RawPeer a = RawPeer::ConnectTo(), b = RawPeer::ConnectTo(), c = RawPeer::ConnectTo();
  ASSERT_TRUE(a.Valid() && b.Valid() && c.Valid());
  std::string huge(16 << 20, 'h');
  huge[7] = '\0';
  huge[huge.size() - 1] = '\xff';
  const std::vector<std::string> fromA = {"first", "", huge, std::string(10000, 's')};
  for (const auto& m : fromA) ASSERT_TRUE(a.Send(m, 20000));
  ASSERT_TRUE(b.Send("from b"));
  for (RawPeer* receiver : {&b, &c}) {
    for (const auto& m : fromA) {
      std::string got;
      ASSERT_TRUE(receiver->Receive(got, 20000));
      EXPECT_TRUE(got == m) << got.size() << " vs " << m.size();
    }
  }
  std::string got;
  ASSERT_TRUE(c.Receive(got));
  EXPECT_EQ(got, "from b");
  ASSERT_TRUE(a.Receive(got));
  EXPECT_EQ(got, "from b");  // a never gets its own messages back
  EXPECT_FALSE(a.Receive(got, 100));
}

TEST_F(RelayTest, ClientsThatBreakOffOrSendGarbageDisturbNobody) {
  ASSERT_GT(StartRelay(), 0);
  ASSERT_TRUE(WaitForPipe());
  RawPeer a = RawPeer::ConnectTo(), b = RawPeer::ConnectTo();
  RawPeer garbage = RawPeer::ConnectTo(), halfway = RawPeer::ConnectTo();
  ASSERT_TRUE(garbage.SendRaw(std::string("\xff\xff\xff\x7f garbage", 12)));
  ASSERT_TRUE(halfway.SendRaw(std::string("\x10\x00\x00\x00half", 8)));
  halfway.Close();
  std::string got;
  EXPECT_FALSE(garbage.Receive(got, 2000));  // the relay ends that connection
  ASSERT_TRUE(a.Send("still here"));
  ASSERT_TRUE(b.Receive(got));
  EXPECT_EQ(got, "still here");
  ASSERT_TRUE(b.Send("and back"));
  ASSERT_TRUE(a.Receive(got));
  EXPECT_EQ(got, "and back");
}

TEST_F(RelayTest, EndsByItselfWhenTheLastClientHasGone) {
  const int relay = StartRelay({"--idle-ms", "300"});
  ASSERT_TRUE(WaitForPipe());
  {
    RawPeer a = RawPeer::ConnectTo();
    ASSERT_TRUE(a.Valid());
    SleepMs(600);  // longer than the idle time: a connected client keeps the relay
    EXPECT_TRUE(ProcessRunning(relay));
  }
  EXPECT_EQ(WaitProcess(relay), 0);
  EXPECT_FALSE(std::filesystem::exists(folder_ + "/KorvoPipeServer001"));
}

TEST_F(RelayTest, ASecondRelayLeavesTheFirstServing) {
  const int first = StartRelay();
  ASSERT_TRUE(WaitForPipe());
  const int second = StartRelay();
  EXPECT_EQ(WaitProcess(second), 0);
  EXPECT_TRUE(ProcessRunning(first));
  RawPeer a = RawPeer::ConnectTo(), b = RawPeer::ConnectTo();
  ASSERT_TRUE(a.Send("one relay"));
  std::string got;
  ASSERT_TRUE(b.Receive(got));
  EXPECT_EQ(got, "one relay");
}

TEST_F(RelayTest, TerminationSignalEndsItCleanly) {
  const int relay = StartRelay({"--pipe", "OtherPipe"});
  ASSERT_TRUE(WaitForPipe("OtherPipe"));
  ::kill(relay, SIGTERM);
  EXPECT_EQ(WaitProcess(relay), 0);
  EXPECT_FALSE(std::filesystem::exists(folder_ + "/OtherPipe"));
  EXPECT_EQ(WaitProcess(StartRelay({"--idle-ms"})), 1);
}

}  // namespace
}  // namespace sp
