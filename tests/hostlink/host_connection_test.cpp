#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "hostlink/clientconnect.h"
#include "hostlink/hostconnection.h"
#include "hostlink/localnames.h"
#include "platform/clock.h"
#include "tests/hostlink/pipe_test_support.h"
#include "tests/hostlink/wire_bytes.h"

namespace sp {
namespace {

using testing::Int32;
using testing::Text;
using testing::Integer;

using testing::RawPeer;


// A pipe message as a host would send it.
std::string HostMessage(const TMessageHeader& header, const std::string& command, const std::string& sender) {
  TMemoryStream stream;
  WriteMessageHeader(stream, header);
  if (header.Kind == kKindEncoded) {
    TInternalMessage message = NewMessage();
    message.Code = header.Code;
    message.Params[kCommandTextParam] = TVariant(command);
    message.Params[kSenderParam] = TVariant(sender);
    EncodeMessage(message, stream);
  } else {
    stream.WriteText(command);
  }
  return stream.Bytes();
}

TMessageHeader Header(int32_t channel = kHostCommandChannel, int32_t kind = kKindEncoded, int32_t tag = 0) {
  return TMessageHeader{kMessageMagic, kHostCommandCode, channel, tag, 0, kind};
}

// The parameter 3 text of a pipe message an observer received.
std::string CommandTextOf(const std::string& pipeMessage) {
  TMemoryStream stream(pipeMessage);
  const auto received = ReadPipeMessage(stream);
  if (!received || !received->BackData) return "<not a host command>";
  return received->BackData->Params[kCommandTextParam].AsString();
}

class HostConnectionTest : public testing::PipeTest {
 protected:
  void SetUp() override {
    PipeTest::SetUp();
    TPipeClientConnect::SetRelayProgram(testing::RelayProgramPath());
    InstallPlainMessageBox([this](const std::string& text) { shown_.push_back(text); });
  }
  void TearDown() override {
    ReleaseHostConnection();
    InstallPlainMessageBox(nullptr);
    TPipeClientConnect::SetRelayProgram("");
    PipeTest::TearDown();
  }
  void StartRelayAndWait() {
    ASSERT_GT(StartRelay(), 0);
    ASSERT_TRUE(WaitForPipe());
  }

  std::vector<std::string> shown_;
};

TEST_F(HostConnectionTest, AliveCommandArrivesByteExactAtAnotherClient) {
  StartRelayAndWait();
  RawPeer observer = RawPeer::ConnectTo();
  ASSERT_TRUE(observer.Valid());
  ASSERT_TRUE(ConnectHost(nullptr));
  SetModuleKey("D:\\DATA\\");
  ASSERT_TRUE(SendToHost(6068, 0, 0, 0, "", 1234, 0));

  std::string expected = std::string("\x27\xFE\x01\x00", 4) + Int32(5000) + Int32(5000) + Int32(0) + Int32(0) + Int32(1);
  expected += Int32(1) + Int32(0) + Int32(27);
  expected += Integer("5000") + Text(";;;") + Text("") + Text("") + Integer("0");
  for (int i = 5; i <= 9; ++i) expected += Text("");
  expected += Text("6068<>0<>0<>0<><>D:\\DATA\\<>1234");
  for (int i = 11; i <= 22; ++i) expected += Text("");
  expected += Text(ComputerName() + "<>" + UserName());
  for (int i = 24; i <= 27; ++i) expected += Text("");

  std::string received;
  ASSERT_TRUE(observer.Receive(received));
  EXPECT_EQ(received, expected);
}

TEST_F(HostConnectionTest, SeparatorsInTheTextTravelEscaped) {
  StartRelayAndWait();
  RawPeer observer = RawPeer::ConnectTo();
  ASSERT_TRUE(ConnectHost(nullptr));
  SetModuleKey("c");
  ASSERT_TRUE(SendToHost(6067, 1, 2, 3, "Name=a<>b\r\n", 9, 4));
  std::string received;
  ASSERT_TRUE(observer.Receive(received));
  EXPECT_EQ(CommandTextOf(received), "6067<>1<>2<>3<>Name=a\x08" "b\r\n<>C:\\<>9");
  EXPECT_EQ(received.substr(12, 4), Int32(4));  // the tag
}

TEST_F(HostConnectionTest, OrderAndSizesSurviveTheRelay) {
  StartRelayAndWait();
  RawPeer observer = RawPeer::ConnectTo();
  TPipeClientConnect connection(nullptr);
  ASSERT_TRUE(connection.PipeClient().Connected());
  const std::vector<std::string> texts = {"small", std::string(10000, 'm'), std::string(1 << 20, 'L'), "last"};
  for (const auto& text : texts) ASSERT_TRUE(connection.SendPipeMessage(5000, text, 5000, 0));
  for (const auto& text : texts) {
    std::string received;
    ASSERT_TRUE(observer.Receive(received, 10000));
    EXPECT_EQ(CommandTextOf(received), text);
  }
}

TEST_F(HostConnectionTest, RelayIsStartedWhenItsPipeIsMissing) {
  TPipeClientConnect connection(nullptr);
  Adopt(connection.RelayProcess());
  EXPECT_GT(connection.RelayProcess(), 0);
  EXPECT_TRUE(connection.PipeClient().Connected());
}

TEST_F(HostConnectionTest, MissingRelayProgramIsNotStarted) {
  TPipeClientConnect::SetRelayProgram(folder_ + "/no-such-relay");
  TPipeClientConnect connection(nullptr);
  EXPECT_EQ(connection.RelayProcess(), 0);
  EXPECT_FALSE(connection.PipeClient().Connected());
  EXPECT_FALSE(connection.SendPipeMessage(5000, "x", 5000, 0));
  EXPECT_EQ(connection.PipeClient().WriteCount(), 0);
  EXPECT_FALSE(ConnectHost(nullptr));
  EXPECT_EQ(HostConnection(), nullptr);
  EXPECT_FALSE(SendToHost(6068, 0, 0, 0, "", 0, 0));
}

TEST_F(HostConnectionTest, GivesUpAfterTenSecondsWhenTheRelayNeverListens) {
  const std::string script = folder_ + "/silent-relay";
  const std::string starts = folder_ + "/starts";
  std::ofstream(script) << "#!/bin/sh\necho started >> '" << starts << "'\nexec sleep 60\n";
  ASSERT_EQ(::chmod(script.c_str(), 0755), 0);
  TPipeClientConnect::SetRelayProgram(script);
  const uint64_t began = TickCount();
  TPipeClientConnect connection(nullptr);
  const uint64_t waited = TickCount() - began;
  Adopt(connection.RelayProcess());
  EXPECT_FALSE(connection.PipeClient().Connected());
  EXPECT_GE(waited, 10000u);
  std::ifstream in(starts);
  std::stringstream lines;
  lines << in.rdbuf();
  EXPECT_EQ(lines.str(), "started\n");
}

TEST_F(HostConnectionTest, ReconnectsAfterTheRelayIsKilled) {
  const int first = StartRelay();
  ASSERT_TRUE(WaitForPipe());
  TKorvoPipeClientConnect connection(nullptr);
  ASSERT_TRUE(connection.PipeClient().Connected());
  Kill(first);
  ASSERT_TRUE(PumpUntil([&] { return connection.RetryCount() == 1; }, 20000));
  Adopt(connection.RelayProcess());
  EXPECT_NE(connection.RelayProcess(), first);
  EXPECT_TRUE(connection.PipeClient().Connected());
  RawPeer observer = RawPeer::ConnectTo();
  ASSERT_TRUE(observer.Valid());
  dispatcher_.PumpFor(50);
  ASSERT_TRUE(connection.SendPipeMessage(5000, "again", 5000, 0));
  std::string received;
  ASSERT_TRUE(observer.Receive(received));
  EXPECT_EQ(CommandTextOf(received), "again");
}

TEST_F(HostConnectionTest, InterruptionMessageAfterTwentyReconnections) {
  TPipeClientConnect::SetRelayProgram(folder_ + "/no-such-relay");
  TPipeClientConnect connection(nullptr);
  for (int i = 0; i < 5; ++i) connection.HandlePipeError(connection.PipeClient(), 0, TPipeContext::Worker, 232);
  EXPECT_EQ(connection.RetryCount(), 0);
  for (int i = 0; i < 20; ++i) connection.HandlePipeError(connection.PipeClient(), 0, TPipeContext::Worker, 109);
  EXPECT_EQ(connection.RetryCount(), 20);
  EXPECT_TRUE(shown_.empty());
  connection.HandlePipeError(connection.PipeClient(), 0, TPipeContext::Worker, 232);
  ASSERT_EQ(shown_.size(), 1u);
  EXPECT_EQ(shown_[0].substr(0, 48), "Die internerne Kommunikation wurde unterbrochen.");
  EXPECT_NE(shown_[0].find("\r\nDas Programm \"relayhost.exe\" wird anscheinend"), std::string::npos);
  connection.HandlePipeError(connection.PipeClient(), 0, TPipeContext::Worker, 109);
  EXPECT_EQ(shown_.size(), 1u);
}

TEST_F(HostConnectionTest, NoRelayStartOrReconnectionOnceTheSessionEnds) {
  TPipeClientConnect::SetRelayProgram(folder_ + "/no-such-relay");
  TPipeClientConnect connection(nullptr);
  TPipeClientConnect::SetRelayProgram(testing::RelayProgramPath());
  EXPECT_TRUE(connection.PipeClient().QueryEndSession());
  EXPECT_FALSE(connection.ConnectServer());
  EXPECT_EQ(connection.RelayProcess(), 0);
  connection.HandlePipeError(connection.PipeClient(), 0, TPipeContext::Worker, 109);
  EXPECT_EQ(connection.RetryCount(), 0);
}

TEST_F(HostConnectionTest, ReceivedMessagesAreFiltered) {
  StartRelayAndWait();
  RawPeer host = RawPeer::ConnectTo();
  ASSERT_TRUE(host.Valid());
  std::vector<std::string> events;
  TKorvoPipeClientConnect connection([&](const TMessageHeader& h, const TClientBackData* back, TStream* raw,
                                         const std::string& t19, const std::string&, int) {
    events.push_back("pass " + std::to_string(h.Kind) + (back ? " back" : "") + (raw ? " raw:" + raw->ReadRest() : "") +
                     (t19.empty() ? "" : " " + t19));
  });
  ASSERT_TRUE(connection.PipeClient().Connected());
  connection.ModuleKey = "D:\\DATA\\";
  connection.OnHostCommand = [&](int32_t code, int32_t a, int32_t b, int32_t c, const std::string& text,
                                 int32_t window, int32_t tag) {
    events.push_back("command " + std::to_string(code) + " " + std::to_string(a) + " " + std::to_string(b) + " " +
                     std::to_string(c) + " " + text + " " + std::to_string(window) + " " + std::to_string(tag));
  };
  connection.OnHostCommandText = [&](int32_t code, const std::string& a, int32_t, int32_t, const std::string&,
                                     int32_t, int32_t) { events.push_back("text " + std::to_string(code) + " " + a); };
  connection.OnHostNotice = [&](int32_t code, const std::string& text, const std::string& key) {
    events.push_back("notice " + std::to_string(code) + " " + text + " " + key);
  };
  connection.OnPlainMessage = [&](const TMessageHeader& h, const TClientBackData*, TStream* raw, const std::string&,
                                  const std::string&, int) {
    events.push_back("plain " + std::to_string(h.Channel) + (raw ? " raw" : ""));
  };
  dispatcher_.PumpFor(50);

  const std::string own = SenderName();
  struct Case {
    const char* what;
    std::string message;
    std::vector<std::string> events;
  };
  std::string corrupt = HostMessage(Header(), "6066<>0<>0<>0<>x<>D:\\DATA\\<>5", "");
  corrupt.resize(40);
  const Case cases[] = {
      {"addressed, no sender", HostMessage(Header(5000, 1, 7), "6066<>1<>2<>3<>a\x08" "b<>D:\\DATA\\<>77", ""),
       {"notice 6066 a\x08" "b D:\\DATA\\", "command 6066 1 2 3 a\x08" "b 77 7", "text 6066 1", "pass 1 back"}},
      {"own sender", HostMessage(Header(), "6066<>x<>0<>0<>t<>D:\\DATA\\<>1", own),
       {"notice 6066 t D:\\DATA\\", "command 6066 0 0 0 t 1 0", "text 6066 x", "pass 1 back"}},
      {"other sender", HostMessage(Header(), "6066<>0<>0<>0<>t<>D:\\DATA\\<>1", "elsewhere<>nobody"), {}},
      {"address in other case", HostMessage(Header(), "6066<>0<>0<>0<>t<>d:\\data\\<>1", ""),
       {"notice 6066 t d:\\data\\"}},
      {"six fields: window 0", HostMessage(Header(), "6066<>0<>0<>0<>t<>D:\\DATA\\", ""),
       {"notice 6066 t D:\\DATA\\", "command 6066 0 0 0 t 0 0", "text 6066 0", "pass 1 back"}},
      {"five fields", HostMessage(Header(), "6066<>0<>0<>0<>t", ""), {}},
      {"kind 0", HostMessage(Header(5000, 0), "6066<>0<>0<>0<>t<>D:\\DATA\\<>1", ""), {}},
      {"kind 2 raw", HostMessage(Header(5000, 2), "raw data", ""), {"pass 2 raw:raw data"}},
      {"kind 2 plain channel", HostMessage(Header(100, 2), "xyz", ""), {"plain 100 raw", "pass 2 raw:xyz"}},
      {"channel below 5000", HostMessage(Header(4999), "6066<>0<>0<>0<>t<>D:\\DATA\\<>1", ""),
       {"plain 4999", "pass 1 back"}},
      {"undecodable: no command text", corrupt, {}},
  };
  for (const auto& c : cases) {
    events.clear();
    ASSERT_TRUE(host.Send(c.message));
    // A marker message after each case tells when the case is through.
    ASSERT_TRUE(host.Send(HostMessage(Header(5000, 2), "end", "")));
    ASSERT_TRUE(PumpUntil([&] { return !events.empty() && events.back() == "pass 2 raw:end"; })) << c.what;
    events.pop_back();
    EXPECT_EQ(events, c.events) << c.what;
  }
}

TEST_F(HostConnectionTest, UndecodableMessagesReachOnReceiveMarked) {
  TPipeClientConnect::SetRelayProgram(folder_ + "/no-such-relay");
  std::vector<std::string> received;
  TPipeClientConnect connection([&](const TMessageHeader& h, const TClientBackData* back, TStream* raw,
                                    const std::string& t19, const std::string& t20, int) {
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(raw, nullptr);
    EXPECT_EQ(h.Tag, 3);
    EXPECT_EQ(back->Params[19], TVariant(t19));
    EXPECT_EQ(back->Params[20], TVariant(t20));
    EXPECT_EQ(back->Params[3], TVariant(std::string()));
    received.push_back(t19 + "|" + (t20.empty() ? "no text" : "text"));
  });
  std::string corrupt = HostMessage(Header(5000, 1, 3), "6066<>0<>0<>0<>x<>K<>5", "");
  corrupt.resize(40);
  TMemoryStream stream(corrupt);
  connection.HandlePipeMessage(connection.PipeClient(), 0, stream);
  TMemoryStream shortOne(corrupt.substr(0, 23));
  connection.HandlePipeMessage(connection.PipeClient(), 0, shortOne);
  EXPECT_EQ(received, std::vector<std::string>{"Fehler(V2S)|text"});
}

TEST_F(HostConnectionTest, ModuleFunctionsNeedTheConnection) {
  SetModuleKey("c");
  EXPECT_FALSE(SendToHost(6068, 0, 0, 0, "", 0, 0));
  EXPECT_EQ(HostConnection(), nullptr);
  StartRelayAndWait();
  ASSERT_TRUE(ConnectHost(nullptr));
  ASSERT_NE(HostConnection(), nullptr);
  EXPECT_TRUE(ConnectHost(nullptr));
  EXPECT_EQ(HostConnection()->ModuleKey, "");
  SetModuleKey("D:\\Data");
  EXPECT_EQ(HostConnection()->ModuleKey, "D:\\DATA\\");
  SetModuleKey("");
  EXPECT_EQ(HostConnection()->ModuleKey, "");
  ReleaseHostConnection();
  EXPECT_EQ(HostConnection(), nullptr);
  EXPECT_FALSE(SendToHost(6068, 0, 0, 0, "", 0, 0));
}

TEST_F(HostConnectionTest, ClosingSendsWhatIsQueued) {
  StartRelayAndWait();
  RawPeer observer = RawPeer::ConnectTo();
  ASSERT_TRUE(ConnectHost(nullptr));
  for (int i = 0; i < 50; ++i) ASSERT_TRUE(SendToHost(6068, i, 0, 0, "", 0, 0));
  EXPECT_GT(HostConnection()->PipeClient().WriteCount(), 0);
  ReleaseHostConnection();
  for (int i = 0; i < 50; ++i) {
    std::string received;
    ASSERT_TRUE(observer.Receive(received)) << i;
    EXPECT_EQ(CommandTextOf(received), "6068<>" + std::to_string(i) + "<>0<>0<><><>0");
  }
}

TEST_F(HostConnectionTest, ClosingDoesNotHangWhenTheLinkIsGone) {
  const int relay = StartRelay();
  ASSERT_TRUE(WaitForPipe());
  TPipeClientConnect::SetRelayProgram(folder_ + "/no-such-relay");
  ASSERT_TRUE(ConnectHost(nullptr));
  ::kill(relay, SIGSTOP);  // the relay stops reading; the socket fills up
  const std::string big(1 << 20, 'z');
  for (int i = 0; i < 16; ++i) ASSERT_TRUE(SendToHost(6068, 0, 0, 0, big, 0, 0));
  dispatcher_.PumpFor(200);
  Kill(relay);
  ASSERT_GT(HostConnection()->PipeClient().WriteCount(), 0);
  ReleaseHostConnection();
  EXPECT_EQ(HostConnection(), nullptr);
}

}  // namespace
}  // namespace sp
