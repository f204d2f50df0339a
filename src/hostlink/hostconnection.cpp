#include "hostlink/hostconnection.h"

#include <memory>

namespace sp {

namespace {

// Not destroyed at program exit: the connection needs the dispatcher, which
// may be gone by then. The frame releases it when its form goes.
std::unique_ptr<TKorvoPipeClientConnect>& Connection() {
  static auto* connection = new std::unique_ptr<TKorvoPipeClientConnect>();
  return *connection;
}

}  // namespace

bool ConnectHost(THostCommandHandler onHostCommand, TReceiveHandler onPlainMessage) {
  auto& connection = Connection();
  if (connection) return true;
  connection = std::make_unique<TKorvoPipeClientConnect>(nullptr);
  connection->OnHostCommand = std::move(onHostCommand);
  connection->OnPlainMessage = std::move(onPlainMessage);
  if (!connection->PipeClient().Connect()) connection.reset();
  return connection != nullptr;
}

void SetModuleKey(const std::string& path) {
  if (auto& connection = Connection()) connection->ModuleKey = ModuleKeyOf(path);
}

bool SendToHost(int32_t code, int32_t a, int32_t b, int32_t c, const std::string& text, int32_t window,
                int32_t tag) {
  auto& connection = Connection();
  if (!connection) return false;
  return connection->SendPipeMessage(kHostCommandCode, JoinCommandFields(code, a, b, c, text, connection->ModuleKey, window),
                                     kHostCommandChannel, tag);
}

TKorvoPipeClientConnect* HostConnection() { return Connection().get(); }

void ReleaseHostConnection() {
  // Moved out first, so that nothing reached during the drain finds a
  // connection that is going.
  std::unique_ptr<TKorvoPipeClientConnect> going = std::move(Connection());
}

}  // namespace sp
