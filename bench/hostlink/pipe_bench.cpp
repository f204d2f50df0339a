// Times the host link through the real relay: round trips of a small host
// command (module -> relay -> echo client -> relay -> module), and the
// throughput of 1 KiB messages from one client through the relay to another.
// Goals: p99 round trip below 0.5 ms; at least 50,000 messages per second.
// For comparison it first times the same round trip with bare sockets of the
// platform layer (an echo thread instead of a second pipe client), which is
// what the machine's scheduling allows at all.
// Runs in a private runtime folder with its own relay, which it stops.
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <poll.h>

#include <algorithm>
#include <thread>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "hostlink/clientconnect.h"
#include "platform/clock.h"
#include "platform/dispatcher.h"
#include "platform/localpipe.h"
#include "platform/process.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRoundTrips = 10000;
constexpr int kWarmUp = 200;
constexpr int kThroughputMessages = 200000;
constexpr int kMessageSize = 1024;
constexpr int kBatch = 256;

bool WaitForRelay() {
  for (int i = 0; i < 500; ++i) {
    const int fd = sp::ConnectLocalPipe("KorvoPipeServer001");
    if (fd >= 0) {
      ::close(fd);
      return true;
    }
    sp::SleepMs(10);
  }
  return false;
}

void PrintPercentiles(const char* what, std::vector<double> micros) {
  std::sort(micros.begin(), micros.end());
  std::printf("%s, %zu round trips: median %.1f us, p99 %.1f us, max %.1f us\n", what, micros.size(),
              micros[micros.size() / 2], micros[micros.size() * 99 / 100], micros.back());
}

bool ReceiveOne(int fd, sp::TMessageReader& reader) {
  std::string message;
  uint32_t error = 0;
  while (true) {
    const auto status = reader.Next(fd, message, error);
    if (status == sp::TMessageReader::TStatus::Message) return true;
    if (status == sp::TMessageReader::TStatus::Failed) return false;
    pollfd p{fd, POLLIN, 0};
    ::poll(&p, 1, -1);
  }
}

bool SendOne(int fd, const std::shared_ptr<const std::string>& message) {
  sp::TMessageWriter writer;
  writer.Push(message);
  size_t written = 0;
  uint32_t error = 0;
  while (true) {
    const auto status = writer.Flush(fd, written, error);
    if (status != sp::TMessageWriter::TStatus::WouldBlock) return status == sp::TMessageWriter::TStatus::Done;
    pollfd p{fd, POLLOUT, 0};
    ::poll(&p, 1, -1);
  }
}

void BareRoundTrips() {
  const int a = sp::ConnectLocalPipe("KorvoPipeServer001");
  const int b = sp::ConnectLocalPipe("KorvoPipeServer001");
  if (a < 0 || b < 0) return;
  const auto message = std::make_shared<const std::string>(300, 'm');
  std::thread echo([&] {
    sp::TMessageReader reader;
    for (int i = 0; i < kWarmUp + kRoundTrips && ReceiveOne(b, reader) && SendOne(b, message); ++i) {
    }
  });
  sp::TMessageReader reader;
  std::vector<double> micros;
  for (int i = 0; i < kWarmUp + kRoundTrips; ++i) {
    const auto start = Clock::now();
    if (!SendOne(a, message) || !ReceiveOne(a, reader)) break;
    if (i >= kWarmUp) micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
  echo.join();
  ::close(a);
  ::close(b);
  if (!micros.empty()) PrintPercentiles("bare sockets (baseline)", std::move(micros));
}

// Echoes every pipe message it receives.
struct EchoClient {
  sp::TPipeClient pipe;
  EchoClient() {
    pipe.OnPipeMessage = [this](sp::TPipeClient&, uint32_t, sp::TStream& stream) {
      const std::string bytes = stream.ReadRest();
      pipe.Write(bytes.data(), static_cast<uint32_t>(bytes.size()));
    };
  }
};

void RoundTrips(sp::TPlainDispatcher& dispatcher) {
  EchoClient echo;
  if (!echo.pipe.Connect()) return;
  int answered = 0;
  sp::TPipeClientConnect module([&](const sp::TMessageHeader&, const sp::TClientBackData*, sp::TStream*,
                                    const std::string&, const std::string&, int) { ++answered; });
  std::vector<double> micros;
  micros.reserve(kRoundTrips);
  const std::string command = "6068<>0<>0<>0<><>D:\\DATA\\<>1234";
  for (int i = 0; i < kWarmUp + kRoundTrips; ++i) {
    const int before = answered;
    const auto start = Clock::now();
    module.SendPipeMessage(5000, command, 5000, 0);
    if (!dispatcher.PumpUntil([&] { return answered > before; }, 5000)) {
      std::printf("round trip %d got no answer\n", i);
      return;
    }
    if (i >= kWarmUp) micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
  PrintPercentiles("host commands through the pipe clients", std::move(micros));
}

void Throughput(sp::TPlainDispatcher& dispatcher) {
  sp::TPipeClient sender, receiver;
  int received = 0;
  receiver.OnPipeMessage = [&](sp::TPipeClient&, uint32_t, sp::TStream& stream) {
    if (stream.Size() == kMessageSize) ++received;
  };
  if (!receiver.Connect() || !sender.Connect()) return;
  dispatcher.PumpFor(50);
  const std::string message(kMessageSize, 'm');
  const auto start = Clock::now();
  int sent = 0;
  while (sent < kThroughputMessages) {
    for (int i = 0; i < kBatch && sent < kThroughputMessages; ++i, ++sent) sender.Write(message.data(), kMessageSize);
    // Keep the queue short, as a real sender would.
    dispatcher.PumpUntil([&] { return sender.WriteCount() < kBatch; }, 5000);
  }
  dispatcher.PumpUntil([&] { return received >= sent; }, 60000);
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  std::printf("throughput, %d messages of %d bytes: %d arrived in %.3f s: %.0f messages/s, %.1f MiB/s\n",
              sent, kMessageSize, received, seconds, received / seconds,
              received * double(kMessageSize) / seconds / (1 << 20));
}

}  // namespace

int main() {
  char folder[] = "/tmp/sp-pipe-bench-XXXXXX";
  if (!::mkdtemp(folder)) return 1;
  ::setenv("XDG_RUNTIME_DIR", folder, 1);
  const int relay = sp::StartProcess(SP_RELAYHOST_PATH, {});
  if (relay <= 0 || !WaitForRelay()) {
    std::printf("relay did not start\n");
    return 1;
  }
  sp::TPlainDispatcher dispatcher;
  sp::InstallDispatcher(&dispatcher);
  sp::TPipeClientConnect::SetRelayProgram("/nonexistent");
  BareRoundTrips();
  RoundTrips(dispatcher);
  Throughput(dispatcher);
  sp::InstallDispatcher(nullptr);
  ::kill(relay, SIGTERM);
  sp::WaitProcess(relay);
  std::filesystem::remove_all(folder);
  return 0;
}
