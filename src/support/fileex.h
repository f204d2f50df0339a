// TFileStreamEx: a file stream with a patient open, for files that other
// processes of the suite may hold for a moment (the INI files).
//
// Opening is tried once; on a failure that may pass (the file busy, too
// many open files, an interrupted call) it is retried every 10 ms until more
// than 10 s have passed since the first failure. Failures that waiting cannot
// mend (missing file or folder, no permission, a folder in the way, a
// read-only file system) end the wait at once. The stream owns its handle.
// One thread at a time.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/stream.h"

namespace sp {

enum class TFileOpenMode {
  Create,     // create or truncate, read and write
  Read,       // existing file, read only
  ReadWrite,  // existing file, read and write
};

// Runs `attempt` (returns 0 or an errno) under the patient rule above and
// returns the last result.
int AttemptPatiently(const std::function<int()>& attempt, int patienceMs = 10000);

class TFileStreamEx : public THandleStream {
 public:
  // Raises EFCreateError "Datei %s kann nicht erstellt werden" (Create) or
  // "Datei %s kann nicht geöffnet werden" (the open modes) when the file
  // cannot be had in time.
  TFileStreamEx(std::string_view name, TFileOpenMode mode);

 private:
  static int Open(std::string_view name, TFileOpenMode mode);
};

}  // namespace sp
