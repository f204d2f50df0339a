// The module's one host connection and the functions through which the
// frame uses it. The connection lives from the first successful ConnectHost
// until ReleaseHostConnection (the frame calls it when its form goes, while
// the dispatcher is still installed); after that SendToHost gives false and
// HostConnection nullptr. A connection not released is left to the end of
// the process.
// Owner thread of the installed dispatcher only.
#pragma once

#include <cstdint>
#include <string>

#include "hostlink/clientconnect.h"

namespace sp {

inline constexpr int32_t kHostCommandCodeModuleShown = 6065;
inline constexpr int32_t kHostCommandCodeOrderReady = 6066;
inline constexpr int32_t kHostCommandCodeModuleDone = 6067;
inline constexpr int32_t kHostCommandCodeModuleAlive = 6068;
inline constexpr int32_t kHostCommandCodeModuleUpdate = 6069;
inline constexpr int32_t kHostCommandCodeModuleClosing = 6070;

// True when the connection exists. Otherwise creates it (which connects,
// starting the relay when needed), sets the two handlers and connects once
// more; when that fails the connection is dropped again.
bool ConnectHost(THostCommandHandler onHostCommand, TReceiveHandler onPlainMessage = nullptr);
// Sets the module key from the module path (ModuleKeyOf); nothing without
// a connection.
void SetModuleKey(const std::string& path);
// Sends the host command Code<>A<>B<>C<>Text<>ModuleKey<>Window as message
// code 5000 on channel 5000 with `tag`. False without a connection.
bool SendToHost(int32_t code, int32_t a, int32_t b, int32_t c, const std::string& text, int32_t window,
                int32_t tag);
// The connection, or nullptr.
TKorvoPipeClientConnect* HostConnection();
// Destroys the connection (draining its queue first).
void ReleaseHostConnection();

}  // namespace sp
