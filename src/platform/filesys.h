// Files and folders as the operating system sees them. Every path here is a
// native (UTF-8) path; the support library converts from Windows-1252 text.
// Functions report failure through errno values instead of exceptions, so the
// callers above can apply their own retry and fallback rules.
// All functions are safe to call from any thread; none takes a lock.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sp {

// What stat() tells about a path (links followed). When `error` is not 0 the
// call failed with that errno and the other fields are meaningless.
struct TPathStatus {
  int error = 0;
  bool isFolder = false;
  bool isLink = false;      // the name itself is a symbolic link (lstat)
  uint32_t mode = 0;        // permission bits, 07777 part of st_mode
};
TPathStatus QueryPath(const std::string& path);

// True when `folder` lists an entry named `name` (exact bytes). `isFolder`
// tells whether that entry is a folder (a link counts as what it names when
// it can be followed, else as a file). Works where stat() on the entry is
// refused but the folder itself can be read.
bool FolderListsEntry(const std::string& folder, const std::string& name, bool& isFolder);

// True when the path can be opened for reading as a folder.
bool CanOpenFolder(const std::string& path);

// 0 or the errno of mkdir (mode 0777 before the umask).
int MakeFolder(const std::string& path);
// 0 or the errno of unlink / rmdir.
int RemoveFile(const std::string& path);
int RemoveFolder(const std::string& path);
// Removes the path and, when it is a folder, everything below it. Links are
// removed themselves, never followed. 0 or the first errno met.
int RemoveTree(const std::string& path);
// 0 or the errno of chmod.
int ChangeMode(const std::string& path, uint32_t mode);

struct TFolderEntry {
  std::string name;
  bool isFolder = false;  // a real folder; links to folders count as files
};
// Entries of a folder except "." and "..". 0 or the errno that ended the
// listing (what was read before the failure is in `entries`).
int ListFolder(const std::string& path, std::vector<TFolderEntry>& entries);

enum class TFileOpen {
  Read,       // an existing file, read only
  ReadWrite,  // an existing file
  Always,     // read and write, created when missing
  Truncate,   // read and write, created when missing, emptied
};
// Opens a file without locking it (others may read and write it too); a new
// file gets 0666 before the umask. The descriptor, or -1 with `error` set.
int OpenFile(const std::string& path, TFileOpen mode, int& error);

// The whole content of a file. 0 or the errno.
int ReadWholeFile(const std::string& path, std::string& bytes);

// Writes a file so that readers see either the old content or the new one,
// never a half-written mix: the bytes go into a temporary file in the same
// folder, which is flushed to the disk and then renamed over the target. An
// existing target's permission bits (and, where allowed, owner) carry over; a
// new file gets 0666 before the umask. A target that is a symbolic link has
// the file it names replaced; the link stays. Abandoning the writer (no
// Commit, or a failure) removes the temporary file and leaves the target
// untouched.
// One writer per target at a time; not thread-safe.
class TReplacingFile {
 public:
  TReplacingFile() = default;
  ~TReplacingFile();
  TReplacingFile(const TReplacingFile&) = delete;
  TReplacingFile& operator=(const TReplacingFile&) = delete;

  // Creates the temporary file. 0 or the errno.
  int Open(const std::string& target);
  // 0 or the errno; a short write (full disk) counts as ENOSPC.
  int Write(const void* data, size_t size);
  // Flushes, sets the mode and renames over the target. 0 or the errno.
  int Commit();

 private:
  void Abandon();

  std::string target_;
  std::string temp_;
  int fd_ = -1;
};

// Convenience: TReplacingFile with one block. 0 or the errno.
int ReplaceFileContent(const std::string& target, std::string_view bytes);

// Value of an environment variable, empty when unset.
std::string EnvironmentText(const char* name);

// The system's temp folder: $TMPDIR when set, else "/tmp"; no trailing "/".
std::string SystemTempFolder();

}  // namespace sp
