#include "hostlink/clientconnect.h"

#include <algorithm>
#include <cstdio>

#include "hostlink/localnames.h"
#include "hostlink/fastmemorystream.h"
#include "platform/clock.h"
#include "platform/dispatcher.h"
#include "platform/process.h"
#include "support/files.h"
#include "support/text1252.h"

namespace sp {

namespace {

constexpr int kConnectPollMs = 100;
constexpr const char* kRelayFileName = "relayhost";

TPlainMessageBox& PlainMessageBox() {
  static TPlainMessageBox show;
  return show;
}

std::string& RelayProgramOverride() {
  static std::string path;
  return path;
}

void ShowPlainMessage(const std::string& text) {
  if (PlainMessageBox()) PlainMessageBox()(text);
  else std::fprintf(stderr, "%s\n", AnsiToUtf8(text).c_str());
}

}  // namespace

void InstallPlainMessageBox(TPlainMessageBox show) { PlainMessageBox() = std::move(show); }

// ---- TPipeClientConnect --------------------------------------------------

TPipeClientConnect::TPipeClientConnect(TReceiveHandler onReceive)
    : TBaseClientConnect(std::move(onReceive)), pipe_(std::make_unique<TPipeClient>()), sender_(SenderName()) {
  pipe_->OnPipeMessage = [this](TPipeClient& sender, uint32_t pipe, TStream& stream) {
    HandlePipeMessage(sender, pipe, stream);
  };
  pipe_->OnPipeError = [this](TPipeClient& sender, uint32_t pipe, TPipeContext context, uint32_t code) {
    HandlePipeError(sender, pipe, context, code);
  };
  pipe_->OnPipeDisconnect = [](TPipeClient&, uint32_t) {};
  pipe_->OnPipeSent = [](TPipeClient&, uint32_t, uint32_t) {};
  ConnectServer();
}

TPipeClientConnect::~TPipeClientConnect() {
  destroying_ = true;
  DrainQueue();
  // Events still arriving while the client disconnects must not reach a
  // connection that is half gone.
  pipe_->OnPipeMessage = nullptr;
  pipe_->OnPipeError = nullptr;
  pipe_.reset();
  ReapRelays();
}

void TPipeClientConnect::SetRelayProgram(std::string path) { RelayProgramOverride() = std::move(path); }

std::string TPipeClientConnect::RelayProgram() {
  return RelayProgramOverride().empty() ? ProgramFolder() + kRelayFileName : RelayProgramOverride();
}

void TPipeClientConnect::ReapRelays() {
  std::erase_if(startedRelays_, [](int pid) { return !ProcessRunning(pid); });
}

bool TPipeClientConnect::ConnectServer() {
  if (pipe_->Connect()) return true;
  ReapRelays();
  const std::string relay = RelayProgram();
  if (FileExistsSafe(relay) && !pipe_->SessionEnding()) {
    if (const int pid = StartProcess(AnsiToUtf8(relay), {}); pid > 0) {
      relayProcess_ = pid;
      startedRelays_.push_back(pid);
    }
    const uint64_t started = TickCount();
    while (!pipe_->Connect()) {
      PumpMessagesFor(kConnectPollMs);
      if (TickCount() - started > static_cast<uint64_t>(kRelayStartWaitMs)) break;
    }
  }
  return pipe_->Connect();
}

bool TPipeClientConnect::SendPipeMessage(int32_t code, const std::string& text, int32_t channel, int32_t tag) {
  if (!ConnectServer()) return false;
  TFastMemoryStream stream;
  WriteMessageHeader(stream, TMessageHeader{kMessageMagic, code, channel, tag, 0, kKindEncoded});
  TInternalMessage message = NewMessage();
  message.Code = code;
  message.Params[kCommandTextParam] = TVariant(text);
  message.Params[kSenderParam] = TVariant(sender_);
  EncodeMessage(message, stream);
  pipe_->Write(stream.Memory(), static_cast<uint32_t>(stream.Size()));
  return true;
}

void TPipeClientConnect::HandlePipeMessage(TPipeClient&, uint32_t, TStream& stream) {
  if (destroying_) return;
  std::optional<TReceivedMessage> received = ReadPipeMessage(stream);
  if (!received || !OnReceive) return;
  if (received->BackData) {
    OnReceive(received->Header, &*received->BackData, nullptr, received->Text19, received->Text20, 0);
  } else {
    stream.SetPosition(received->RawOffset);
    OnReceive(received->Header, nullptr, &stream, std::string(), std::string(), 0);
  }
}

void TPipeClientConnect::HandlePipeError(TPipeClient&, uint32_t, TPipeContext, uint32_t errorCode) {
  if (destroying_ || pipe_->SessionEnding()) return;
  if (retryCount_ < kMaxReconnections && errorCode == kPipeErrorBrokenPipe) {
    PumpMessagesFor(kReconnectDelayMs);
    ConnectServer();
    ++retryCount_;
  } else if (retryCount_ == kMaxReconnections) {
    retryCount_ = kMaxReconnections + 1;
    ShowPlainMessage(
        Ansi("Die internerne Kommunikation wurde unterbrochen.\r\nDas Programm \"relayhost.exe\" wird anscheinend "
             "durch Ihr System an der Ausführung gehindert."));
  }
}

void TPipeClientConnect::DrainQueue() {
  const int waiting = pipe_->WriteCount();
  const uint64_t started = TickCount();
  while (pipe_->WriteCount() > 0 && pipe_->Connected() &&
         TickCount() - started < static_cast<uint64_t>(kDrainLimitMs))
    PumpMessagesFor(1);
  if (waiting > 0) SleepMs(std::min(10 * waiting, kDrainSettleLimitMs));
}

// ---- TKorvoPipeClientConnect ---------------------------------------------

TKorvoPipeClientConnect::TKorvoPipeClientConnect(TReceiveHandler onPassOn) : TPipeClientConnect(nullptr) {
  OnReceive = [this](const TMessageHeader& header, const TClientBackData* backData, TStream* raw,
                     const std::string& text19, const std::string& text20, int reserved) {
    Dispatch(header, backData, raw, text19, text20, reserved);
  };
  OnPassOn = std::move(onPassOn);
}

void TKorvoPipeClientConnect::Dispatch(const TMessageHeader& header, const TClientBackData* backData, TStream* raw,
                                       const std::string& text19, const std::string& text20, int reserved) {
  if (header.Channel < kHostCommandChannel) {
    if (OnPlainMessage) OnPlainMessage(header, backData, raw, text19, text20, reserved);
  } else if (backData) {
    auto param = [&](size_t i) {
      return i < backData->Params.size() ? backData->Params[i].ToTextOrEmpty() : std::string();
    };
    const std::vector<std::string> fields = SplitCommandFields(param(kCommandTextParam));
    const std::string sender = param(kSenderParam);
    if (!sender.empty() && sender != Sender()) return;
    if (fields.size() > 5 && OnHostNotice) OnHostNotice(FieldToInt(fields[0]), fields[4], fields[5]);
    if (fields.size() < 6 || fields[5] != ModuleKey) return;
    const int32_t window = fields.size() > 6 ? FieldToInt(fields[6]) : 0;
    const int32_t code = FieldToInt(fields[0]);
    const int32_t b = FieldToInt(fields[2]);
    const int32_t c = FieldToInt(fields[3]);
    if (OnHostCommand) OnHostCommand(code, FieldToInt(fields[1]), b, c, fields[4], window, header.Tag);
    if (OnHostCommandText) OnHostCommandText(code, fields[1], b, c, fields[4], window, header.Tag);
  }
  if (OnPassOn) OnPassOn(header, backData, raw, text19, text20, reserved);
}

}  // namespace sp
