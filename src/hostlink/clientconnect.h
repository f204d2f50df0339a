// The connection classes of the host link, on top of TPipeClient.
//
// TBaseClientConnect raises OnReceive for every valid received message.
// TPipeClientConnect owns the pipe client, connects to the relay (starting
// the relay program when its pipe is missing), sends host messages and
// reconnects after a broken pipe. TKorvoPipeClientConnect adds the module's
// address and turns received host commands into the handlers below.
//
// Everything runs on the owner thread of the installed dispatcher; the waits
// (up to 10 s for a starting relay, 1 s before a reconnection, the final
// drain) keep pumping it, so other handlers may run in the middle of them.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "hostlink/hostmessage.h"
#include "hostlink/pipeclient.h"

namespace sp {

// header, back data (encoded messages) or raw stream (other kinds),
// parameter 19 and 20 texts (the decode error marker and text), 0.
using TReceiveHandler = std::function<void(const TMessageHeader& header, const TClientBackData* backData,
                                           TStream* raw, const std::string& text19, const std::string& text20,
                                           int reserved)>;
// Code, A, B, C, Text (still escaped), Window, Tag.
using THostCommandHandler =
    std::function<void(int32_t code, int32_t a, int32_t b, int32_t c, const std::string& text, int32_t window,
                       int32_t tag)>;
// As THostCommandHandler with A as the text of its field.
using THostCommandTextHandler =
    std::function<void(int32_t code, const std::string& a, int32_t b, int32_t c, const std::string& text,
                       int32_t window, int32_t tag)>;
// Code, Text, Key (the address field).
using THostNoticeHandler = std::function<void(int32_t code, const std::string& text, const std::string& key)>;

// Shows a plain message with an OK button. The windows layer installs its
// message box; until then the text goes to stderr (as UTF-8).
using TPlainMessageBox = std::function<void(const std::string& text)>;
void InstallPlainMessageBox(TPlainMessageBox show);

class TBaseClientConnect {
 public:
  explicit TBaseClientConnect(TReceiveHandler onReceive) : OnReceive(std::move(onReceive)) {}
  virtual ~TBaseClientConnect() = default;
  TBaseClientConnect(const TBaseClientConnect&) = delete;
  TBaseClientConnect& operator=(const TBaseClientConnect&) = delete;

  TReceiveHandler OnReceive;
};

class TPipeClientConnect : public TBaseClientConnect {
 public:
  static constexpr int kMaxReconnections = 20;
  static constexpr int kRelayStartWaitMs = 10000;
  static constexpr int kReconnectDelayMs = 1000;

  // Creates the pipe client (default pipe and server) and runs ConnectServer.
  explicit TPipeClientConnect(TReceiveHandler onReceive);
  // DrainQueue, then the pipe client goes (which disconnects it).
  ~TPipeClientConnect() override;

  // Connects; when the pipe is missing, starts the relay program once and
  // tries for up to 10 s while pumping. False when still not connected.
  bool ConnectServer();
  // Connects on demand and queues one host message: header {130599, code,
  // channel, tag, 0, 1} and an encoded message with parameter 3 = text and
  // parameter 16 = the sender. False when no connection could be had.
  bool SendPipeMessage(int32_t code, const std::string& text, int32_t channel, int32_t tag);

  TPipeClient& PipeClient() { return *pipe_; }
  int RetryCount() const { return retryCount_; }
  // Process number of the relay this connection started last, 0 if none.
  int RelayProcess() const { return relayProcess_; }

  // The relay program: relayhost in the program's folder unless a path was
  // set here (tests point it at their build's relay; empty restores the
  // default). Process-wide; set it before connections are made.
  static void SetRelayProgram(std::string path);
  static std::string RelayProgram();

  // The pipe client's events (public so tests can feed them directly).
  void HandlePipeMessage(TPipeClient& sender, uint32_t pipe, TStream& stream);
  void HandlePipeError(TPipeClient& sender, uint32_t pipe, TPipeContext context, uint32_t errorCode);

 protected:
  // This end's sender field: computer name, "<>", user name.
  const std::string& Sender() const { return sender_; }

 private:
  // Waits while messages are queued and the link is up (at most
  // kDrainLimitMs), then 10 ms per message that was waiting (at most 1 s),
  // so the relay can pass the last ones on.
  void DrainQueue();
  // Collects relays this connection started that have ended.
  void ReapRelays();

  static constexpr int kDrainLimitMs = 5000;
  static constexpr int kDrainSettleLimitMs = 1000;

  std::unique_ptr<TPipeClient> pipe_;
  bool destroying_ = false;
  int retryCount_ = 0;
  int relayProcess_ = 0;
  std::vector<int> startedRelays_;
  std::string sender_;
};

class TKorvoPipeClientConnect : public TPipeClientConnect {
 public:
  // Connects (see TPipeClientConnect), then installs its own dispatcher as
  // OnReceive; `onPassOn` gets every received message after it.
  explicit TKorvoPipeClientConnect(TReceiveHandler onPassOn);

  std::string ModuleKey;
  TReceiveHandler OnPassOn;
  THostCommandHandler OnHostCommand;
  THostCommandTextHandler OnHostCommandText;
  THostNoticeHandler OnHostNotice;
  TReceiveHandler OnPlainMessage;

 private:
  void Dispatch(const TMessageHeader& header, const TClientBackData* backData, TStream* raw,
                const std::string& text19, const std::string& text20, int reserved);
};

}  // namespace sp
