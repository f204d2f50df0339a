#include "hostlink/localnames.h"

#include <pwd.h>
#include <unistd.h>

#include <vector>

#include "support/text1252.h"

namespace sp {

namespace {

constexpr size_t kNameBufferSize = 260;

std::string Bounded(const std::string& utf8) {
  std::string ansi = Utf8ToAnsi(utf8);
  if (ansi.size() >= kNameBufferSize) ansi.clear();
  return ansi;
}

}  // namespace

std::string ComputerName() {
  char buffer[kNameBufferSize + 1] = {};
  if (::gethostname(buffer, kNameBufferSize) != 0) return {};
  return Bounded(buffer);
}

std::string UserName() {
  std::vector<char> scratch(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, scratch.data(), scratch.size(), &found) == 0 && found && found->pw_name)
    return Bounded(found->pw_name);
  return {};
}

std::string SenderName() { return ComputerName() + "<>" + UserName(); }

}  // namespace sp
