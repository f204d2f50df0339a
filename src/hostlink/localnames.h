// The names that identify this end of the host link: the computer's and the
// user's, as Windows-1252 text (at most 259 bytes each, like the host's
// buffers), empty when they cannot be read. Any thread.
#pragma once

#include <string>

namespace sp {

std::string ComputerName();
std::string UserName();
// ComputerName() + "<>" + UserName(): the sender field of host commands.
std::string SenderName();

}  // namespace sp
