#include <gtest/gtest.h>
#include <poll.h>

#include <string>
#include <vector>

#include "hostlink/localnames.h"
#include "hostlink/pipeclient.h"
#include "support/text1252.h"
#include "tests/hostlink/pipe_test_support.h"

namespace sp {
namespace {

using testing::RawPeer;

// A client with its events recorded, and an in-process server end.
class PipeClientTest : public testing::PipeTest {
 protected:
  void SetUp() override {
    PipeTest::SetUp();
    ASSERT_TRUE(server_.Listen("KorvoPipeServer001"));
    client_ = std::make_unique<TPipeClient>();
    client_->OnPipeMessage = [this](TPipeClient&, uint32_t, TStream& stream) {
      EXPECT_EQ(stream.Position(), 0);
      messages_.push_back(stream.ReadRest());
    };
    client_->OnPipeSent = [this](TPipeClient&, uint32_t, uint32_t size) { sent_.push_back(size); };
    client_->OnPipeError = [this](TPipeClient&, uint32_t, TPipeContext context, uint32_t code) {
      EXPECT_EQ(context, TPipeContext::Worker);
      errors_.push_back(code);
    };
    client_->OnPipeDisconnect = [this](TPipeClient&, uint32_t) { ++disconnects_; };
  }
  void TearDown() override {
    client_.reset();
    PipeTest::TearDown();
  }

  RawPeer AcceptPeer() {
    pollfd fd{server_.Fd(), POLLIN, 0};
    ::poll(&fd, 1, 5000);
    return RawPeer(server_.Accept());
  }

  TLocalPipeServer server_;
  std::unique_ptr<TPipeClient> client_;
  std::vector<std::string> messages_;
  std::vector<uint32_t> sent_;
  std::vector<uint32_t> errors_;
  int disconnects_ = 0;
};

TEST_F(PipeClientTest, ConnectWhileConnectedOpensNothingNew) {
  ASSERT_TRUE(client_->Connect());
  const uint32_t pipe = client_->Pipe();
  EXPECT_TRUE(client_->Connect());
  EXPECT_EQ(client_->Pipe(), pipe);
  RawPeer first = AcceptPeer();
  EXPECT_TRUE(first.Valid());
  EXPECT_EQ(server_.Accept(), -1);
}

TEST_F(PipeClientTest, MissingServerGivesFalse) {
  client_->SetPipeName("NobodyServesThis");
  EXPECT_FALSE(client_->Connect());
  EXPECT_FALSE(client_->Connected());
  EXPECT_FALSE(client_->Write("x", 1));
  EXPECT_EQ(client_->WriteCount(), 0);
}

TEST_F(PipeClientTest, PipeNameRules) {
  const std::string longest(63, 'p');
  client_->SetPipeName(longest);
  EXPECT_EQ(client_->PipeName(), longest);
  for (const std::string& bad : {std::string(64, 'p'), std::string(), std::string("a\\b")}) {
    try {
      client_->SetPipeName(bad);
      ADD_FAILURE() << bad;
    } catch (const EPipeException& e) {
      EXPECT_EQ(e.Message(), "Invalid pipe name specified!");
    }
    EXPECT_EQ(client_->PipeName(), longest);
  }
  client_->SetPipeName("KorvoPipeServer001");
  ASSERT_TRUE(client_->Connect());
  for (auto change : {+[](TPipeClient& c) { c.SetPipeName("Other"); },
                      +[](TPipeClient& c) { c.SetServerName("Other"); }}) {
    try {
      change(*client_);
      ADD_FAILURE();
    } catch (const EPipeException& e) {
      EXPECT_EQ(e.Message(), "Cannot change property when client is connected!");
    }
  }
}

TEST_F(PipeClientTest, ServerNameDecidesLocalOrUnreachable) {
  client_->SetServerName(AnsiLowerCase(ComputerName()));
  EXPECT_EQ(client_->PipePath(), "\\\\.\\pipe\\KorvoPipeServer001");
  client_->SetServerName(AnsiUpperCase(ComputerName()));
  EXPECT_EQ(client_->PipePath(), "\\\\.\\pipe\\KorvoPipeServer001");
  EXPECT_TRUE(client_->Connect());
  client_->Disconnect();
  client_->SetServerName("elsewhere-" + ComputerName());
  EXPECT_EQ(client_->PipePath(), "\\\\elsewhere-" + ComputerName() + "\\pipe\\KorvoPipeServer001");
  EXPECT_FALSE(client_->Connect());
}

TEST_F(PipeClientTest, MessagesOfAnySizeArriveWhole) {
  ASSERT_TRUE(client_->Connect());
  RawPeer peer = AcceptPeer();
  std::vector<std::string> sent = {std::string(10000, 'a'), std::string(1 << 20, 'b'), "", "tail"};
  sent[0][4095] = 'X';
  sent[1][12345] = 'Y';
  for (const auto& m : sent) ASSERT_TRUE(peer.Send(m));
  ASSERT_TRUE(PumpUntil([&] { return messages_.size() >= 3; }));
  dispatcher_.PumpFor(50);
  ASSERT_EQ(messages_.size(), 3u);  // the empty message raises nothing
  EXPECT_EQ(messages_[0], sent[0]);
  EXPECT_EQ(messages_[1], sent[1]);
  EXPECT_EQ(messages_[2], "tail");
}

TEST_F(PipeClientTest, WritesBecomeMessagesInOrderWithSentEvents) {
  ASSERT_TRUE(client_->Connect());
  RawPeer peer = AcceptPeer();
  EXPECT_TRUE(client_->Write("first", 5));
  EXPECT_TRUE(client_->Write("second!", 7));
  std::string a, b;
  ASSERT_TRUE(peer.Receive(a));
  ASSERT_TRUE(peer.Receive(b));
  EXPECT_EQ(a, "first");
  EXPECT_EQ(b, "second!");
  ASSERT_TRUE(PumpUntil([&] { return sent_.size() == 2; }));
  EXPECT_EQ(sent_, (std::vector<uint32_t>{5, 7}));
  EXPECT_EQ(client_->WriteCount(), 0);
}

TEST_F(PipeClientTest, ServerEndGivesBrokenPipeAndKeepsUnsentMessages) {
  ASSERT_TRUE(client_->Connect());
  RawPeer peer = AcceptPeer();
  // The peer reads nothing, so the socket fills and the rest waits queued.
  auto big = [](int i) { return std::string(1 << 20, static_cast<char>('a' + i)); };
  const int written = 12;
  for (int i = 0; i < written; ++i) ASSERT_TRUE(client_->Write(big(i).data(), 1 << 20));
  dispatcher_.PumpFor(100);
  peer.Close();
  ASSERT_TRUE(PumpUntil([&] { return disconnects_ == 1 && !errors_.empty(); }));
  EXPECT_EQ(errors_, std::vector<uint32_t>{kPipeErrorBrokenPipe});
  EXPECT_FALSE(client_->Connected());
  EXPECT_EQ(client_->Pipe(), TPipeClient::kInvalidPipe);
  // The message being written when the pipe broke is lost; the rest waits.
  EXPECT_EQ(client_->WriteCount(), written - static_cast<int>(sent_.size()) - 1);
  EXPECT_GT(client_->WriteCount(), 0);
  EXPECT_FALSE(client_->Write("dropped", 7));
  const int waiting = client_->WriteCount();

  // After the next Connect the waiting messages go out.
  ASSERT_TRUE(client_->Connect());
  RawPeer again = AcceptPeer();
  // In their order, from the one after the message that was cut off.
  for (int i = written - waiting; i < written; ++i) {
    std::string message;
    ASSERT_TRUE(again.Receive(message)) << i;
    EXPECT_TRUE(message == big(i)) << i;
  }
  ASSERT_TRUE(PumpUntil([&] { return client_->WriteCount() == 0; }));
}

TEST_F(PipeClientTest, BrokenFramingEndsTheConnection) {
  ASSERT_TRUE(client_->Connect());
  RawPeer peer = AcceptPeer();
  ASSERT_TRUE(peer.SendRaw(std::string("\xff\xff\xff\xff", 4)));
  ASSERT_TRUE(PumpUntil([&] { return disconnects_ == 1 && !errors_.empty(); }));
  EXPECT_EQ(errors_, std::vector<uint32_t>{kPipeErrorInvalidData});
}

TEST_F(PipeClientTest, DisconnectStopsTheWorkerAndRaisesTheEvent) {
  ASSERT_TRUE(client_->Connect());
  RawPeer peer = AcceptPeer();
  client_->Disconnect();
  EXPECT_FALSE(client_->Connected());
  EXPECT_EQ(disconnects_, 1);
  EXPECT_TRUE(errors_.empty());
  std::string none;
  EXPECT_FALSE(peer.Receive(none, 200));  // the peer sees the end
  client_->Disconnect();
  EXPECT_EQ(disconnects_, 1);
}

TEST_F(PipeClientTest, EndOfSessionDisconnectsForGood) {
  ASSERT_TRUE(client_->Connect());
  EXPECT_FALSE(client_->SessionEnding());
  EXPECT_TRUE(client_->QueryEndSession());
  EXPECT_FALSE(client_->Connected());
  EXPECT_TRUE(client_->SessionEnding());
  EXPECT_TRUE(client_->QueryEndSession());
  EXPECT_TRUE(client_->SessionEnding());
}

}  // namespace
}  // namespace sp
