#include "support/fileex.h"

#include <cerrno>

#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/filesys.h"
#include "support/files.h"
#include "support/text1252.h"

namespace sp {

namespace {

bool WaitingCannotHelp(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
    case EISDIR:
    case EACCES:
    case EPERM:
    case EROFS:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL:
      return true;
    default:
      return false;
  }
}

}  // namespace

int AttemptPatiently(const std::function<int()>& attempt, int patienceMs) {
  int error = attempt();
  if (error == 0 || WaitingCannotHelp(error)) return error;
  const uint64_t firstFailure = TickCount();
  while (TickCount() - firstFailure <= static_cast<uint64_t>(patienceMs)) {
    SleepMs(10);
    error = attempt();
    if (error == 0 || WaitingCannotHelp(error)) break;
  }
  return error;
}

int TFileStreamEx::Open(std::string_view name, TFileOpenMode mode) {
  const TFileOpen how = mode == TFileOpenMode::Create ? TFileOpen::Truncate
                        : mode == TFileOpenMode::Read ? TFileOpen::Read
                                                      : TFileOpen::ReadWrite;
  const std::string path = AnsiToUtf8(name);
  int fd = -1;
  AttemptPatiently([&] {
    int error = 0;
    fd = OpenFile(path, how, error);
    return error;
  });
  if (fd >= 0) return fd;
  const char* text = mode == TFileOpenMode::Create ? "Datei %s kann nicht erstellt werden"
                                                   : "Datei %s kann nicht geöffnet werden";
  throw EFCreateError(ReplaceTextAll(Ansi(text), "%s", name));
}

TFileStreamEx::TFileStreamEx(std::string_view name, TFileOpenMode mode) : THandleStream(Open(name, mode)) {}

}  // namespace sp
