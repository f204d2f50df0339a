#include "support/files.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/filesys.h"
#include "platform/process.h"
#include "support/fileex.h"
#include "support/text1252.h"

namespace sp {

namespace {

std::string Native(std::string_view path) { return AnsiToUtf8(path); }

bool IsDelimiter(char c) {
#ifdef _WIN32
  return c == '\\' || c == '/' || c == ':';
#else
  return c == '/';
#endif
}

std::string CannotCreate(std::string_view name) {
  return ReplaceTextAll(Ansi("Datei %s kann nicht erstellt werden"), "%s", name);
}

std::string CannotOpen(std::string_view name) {
  return ReplaceTextAll(Ansi("Datei %s kann nicht geöffnet werden"), "%s", name);
}

// The shared walk of ForceFolder and MakeFolderPath: `exists` decides when a
// folder needs no creation.
bool ForceFolderWith(std::string_view path, const std::function<bool(const std::string&)>& exists) {
  const std::string folder = ExcludeBackslash(path);
#ifdef _WIN32
  if (folder.size() < 3) return true;  // "C:" or a bare drive letter
#else
  if (folder.empty()) return true;  // the root
#endif
  if (exists(folder)) return true;
  const std::string parent = ExcludeBackslash(ExtractFilePath(folder));
  if (parent == folder) return true;
  // A relative path's first folder has no parent to force.
  const bool parentReady = parent.empty() || ForceFolderWith(parent, exists);
  return parentReady && MakeFolder(Native(folder)) == 0;
}

// Retries `attempt` up to `attempts` times, `waitMs` apart; the last failure
// propagates. Only sp::Exception failures are retried.
template <typename Attempt>
void Retry(int attempts, int waitMs, Attempt attempt) {
  for (int i = 1;; ++i) {
    try {
      attempt(i);
      return;
    } catch (const Exception&) {
      if (i >= attempts) throw;
    }
    SleepMs(waitMs);
  }
}

void EnsureFileFolder(std::string_view name) {
  const std::string folder = ExtractFilePath(name);
  if (!folder.empty() && !FolderExists(folder)) ForceFolder(folder);
}

}  // namespace

// ---- Paths ---------------------------------------------------------------

std::string IncludeDelimiter(std::string_view path, TPathRules rules) {
  std::string result(path);
  if (result.empty() || result.back() == rules.delimiter) return result;
  if (rules.driveLetters) {
    if (result.back() == ':') return result;
    const unsigned char c = static_cast<unsigned char>(result[0]);
    if (result.size() == 1 && ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) return result + ":" + rules.delimiter;
  }
  return result + rules.delimiter;
}

std::string IncludeBackslash(std::string_view path) { return IncludeDelimiter(path, kNativePathRules); }

std::string ExcludeDelimiter(std::string_view path, TPathRules rules) {
  if (!path.empty() && path.back() == rules.delimiter) path.remove_suffix(1);
  return std::string(path);
}

std::string ExcludeBackslash(std::string_view path) { return ExcludeDelimiter(path, kNativePathRules); }

std::string ExtractFilePath(std::string_view path) {
  size_t cut = path.size();
  while (cut > 0 && !IsDelimiter(path[cut - 1])) --cut;
  return std::string(path.substr(0, cut));
}

std::string ExtractFileName(std::string_view path) { return std::string(path.substr(ExtractFilePath(path).size())); }

std::string ProgramFolder() { return ExtractFilePath(Utf8ToAnsi(ExecutablePath())); }

std::string SpecialFolder(int number) {
  std::string folder;
  if (number == kCommonDocumentsFolder) {
    folder = EnvironmentText("ORV_COMMON_DOCUMENTS");
    if (folder.empty()) folder = EnvironmentText("XDG_DATA_HOME");
    if (folder.empty() && !EnvironmentText("HOME").empty()) folder = EnvironmentText("HOME") + "/.local/share";
  }
  if (folder.empty()) {
    // Nothing sensible can run without its shared folders.
    std::fprintf(stderr, "Systemfehler:\r\nno path for special folder %d (set ORV_COMMON_DOCUMENTS or HOME)\n",
                 number);
    std::exit(1);
  }
  return IncludeBackslash(Utf8ToAnsi(folder));
}

std::string ClientRootFolder() {
  const std::string folder = SpecialFolder(kCommonDocumentsFolder) + "Orv-ClientRoot" + PathDelimiter + "default" +
                             PathDelimiter;
  ForceFolder(folder);
  return folder;
}

std::string TempFolder(std::string_view sub) {
  std::string folder = IncludeBackslash(Utf8ToAnsi(SystemTempFolder())) + "OrvTempDir" + PathDelimiter;
  if (!sub.empty()) folder += std::string(sub) + PathDelimiter;
  ForceFolder(folder);
  return folder;
}

// ---- Existence tests -----------------------------------------------------

bool FileExistsSafe(std::string_view name) {
  if (name.empty()) return false;
  const std::string path = Native(name);
  const TPathStatus status = QueryPath(path);
  if (status.error == 0) return !status.isFolder;
  switch (status.error) {
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
      return false;
    default:
      break;
  }
  const std::string parent = ExtractFilePath(name);
  bool isFolder = false;
  return FolderListsEntry(Native(ExcludeBackslash(parent)), Native(ExtractFileName(name)), isFolder) && !isFolder;
}

bool FolderExists(std::string_view name) {
  if (name.empty()) return false;
  const std::string path = Native(name);
  const TPathStatus status = QueryPath(path);
  if (status.error != 0) {
    return status.error != ENOENT && status.error != ENOTDIR && status.error != ENAMETOOLONG &&
           status.error != EINVAL;
  }
  if (!status.isFolder) return false;
  return !status.isLink || CanOpenFolder(path);
}

// ---- Creating and deleting -----------------------------------------------

bool ForceFolder(std::string_view path) {
  if (path.empty()) throw EInOutError(Ansi("Verzeichnis kann nicht erstellt werden"), 3);
  return ForceFolderWith(path, [](const std::string& folder) { return FolderExists(folder); });
}

void MakeFolderPath(std::string_view path) {
  if (path.empty()) throw Exception("Das Verzeichnis kann nicht erstellt werden");
  ForceFolderWith(path, [](const std::string& folder) {
    const TPathStatus status = QueryPath(Native(folder));
    return status.error == 0 && status.isFolder;
  });
}

bool DeleteFileIfExists(std::string_view name) {
  if (!FileExistsSafe(name)) return true;
  return RemoveFile(Native(name)) == 0;
}

bool DeleteFolderTree(std::string_view path, bool removeFolder) {
  const std::string folder = ExcludeBackslash(path);
  const TPathStatus status = QueryPath(Native(folder));
  if (status.error != 0 || !status.isFolder || status.isLink) return false;
  std::vector<TFolderEntry> entries;
  const bool listed = ListFolder(Native(folder), entries) == 0;
  bool ok = true;
  for (const auto& entry : entries) {
    if (entry.name[0] == '.') continue;
    const std::string child = folder + PathDelimiter + Utf8ToAnsi(entry.name);
    if (entry.isFolder) {
      ok = DeleteFolderTree(child, removeFolder) && ok;
    } else {
      // A read-only file needs no unlocking: deletion is the folder's right.
      ok = RemoveFile(Native(child)) == 0 && ok;
    }
  }
#ifdef _WIN32
  if (folder.size() == 2 && folder[1] == ':') removeFolder = false;  // never a bare drive
#endif
  if (removeFolder && ok && listed) ok = RemoveTree(Native(folder)) == 0;
  return ok && listed;
}

// ---- Files ---------------------------------------------------------------

TBetterFileStream::TOpened TBetterFileStream::OpenKeeping(std::string_view name, bool keepAttributes,
                                                          bool createNew) {
  TOpened opened;
  const std::string path = Native(name);
  if (keepAttributes) {
    const TPathStatus status = QueryPath(path);
    if (status.error == 0 && !status.isFolder) {
      opened.attributes = status.mode;
      opened.restore = (status.mode & 0222) == 0 && ChangeMode(path, status.mode | 0200) == 0;
    }
  }
  int error = 0;
  opened.fd = OpenFile(path, createNew ? TFileOpen::Truncate : TFileOpen::Always, error);
  if (opened.fd < 0) {
    if (opened.restore) ChangeMode(path, opened.attributes);
    throw EFCreateError(CannotCreate(name));
  }
  return opened;
}

TBetterFileStream::TBetterFileStream(std::string_view name, bool keepAttributes, bool createNew)
    : TBetterFileStream(name, OpenKeeping(name, keepAttributes, createNew)) {}

TBetterFileStream::TBetterFileStream(std::string_view name, TOpened opened)
    : THandleStream(opened.fd), attributes_(opened.attributes), restoreAttributes_(opened.restore), fileName_(name) {}

TBetterFileStream::~TBetterFileStream() {
  CloseHandle();
  if (restoreAttributes_) ChangeMode(Native(fileName_), attributes_);
}

void ReplaceFileAtomically(std::string_view name, std::string_view bytes, int patienceMs) {
  if (name.empty()) throw EFCreateError(CannotCreate(name));
  const std::string path = Native(name);
  TReplacingFile file;
  if (AttemptPatiently([&] { return file.Open(path); }, patienceMs) != 0) throw EFCreateError(CannotCreate(name));
  if (file.Write(bytes.data(), bytes.size()) != 0) throw EWriteError("Stream write error");
  if (file.Commit() != 0) throw EFCreateError(CannotCreate(name));
}

std::string LinesToText(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

std::vector<std::string> TextToLines(std::string_view text) {
  std::vector<std::string> lines;
  ForEachLine(text, [&](std::string_view line) { lines.emplace_back(line); });
  return lines;
}

void SaveStringsRetry(const std::vector<std::string>& lines, std::string_view name) {
  const std::string text = LinesToText(lines);
  Retry(100, 100, [&](int) {
    EnsureFileFolder(name);
    ReplaceFileAtomically(name, text);
  });
}

void LoadStringsRetry(std::vector<std::string>& lines, std::string_view name) {
  Retry(100, 100, [&](int) {
    if (!FileExistsSafe(name)) return;
    std::string bytes;
    if (ReadWholeFile(Native(name), bytes) != 0) throw EFOpenError(CannotOpen(name));
    lines = TextToLines(bytes);
  });
}

std::string AlternativeFileName(std::string_view name, int counter) {
  return ExtractFilePath(name) + "[" + std::to_string(counter) + "]" + ExtractFileName(name);
}

std::string ExtractResourceFile(std::string_view bytes, std::string_view name) {
  std::string target(name);
  Retry(100, 100, [&](int attempt) {
    if (attempt > 1) target = AlternativeFileName(name, attempt - 1);
    EnsureFileFolder(target);
    ReplaceFileAtomically(target, bytes);
  });
  return target;
}

bool CopyFileRetry(std::string_view source, std::string_view target) {
  EnsureFileFolder(target);
  int openError = 0;
  const int fd = OpenFile(Native(source), TFileOpen::Read, openError);
  if (fd < 0) throw EFOpenError(CannotOpen(source));
  THandleStream input(fd);
  for (int attempt = 1; attempt <= 10; ++attempt) {
    TReplacingFile output;
    int error = output.Open(Native(target));
    input.SetPosition(0);
    char block[61440];
    while (error == 0) {
      const int64_t n = input.Read(block, sizeof block);
      if (n <= 0) break;
      error = output.Write(block, static_cast<size_t>(n));
    }
    if (error == 0 && output.Commit() == 0) return true;
    SleepMs(100 * attempt);
  }
  return false;
}

// ---- Names and programs --------------------------------------------------

std::string CleanFileName(std::string_view text, bool removeSpaces) {
  static constexpr std::string_view kForbidden = "\\?|><:/*\"";
  std::string result;
  for (const char c : text) {
    const unsigned char b = static_cast<unsigned char>(c);
    if (b >= 1 && b <= 31) continue;
    if (removeSpaces && c == ' ') continue;
    if (kForbidden.find(c) != std::string_view::npos) continue;
    result += c;
  }
  return std::string(Trim(result));
}

int RunProgram(const std::string& program, const std::vector<std::string>& parameters, bool wait) {
  std::vector<std::string> arguments;
  arguments.reserve(parameters.size());
  for (const auto& p : parameters) arguments.push_back(AnsiToUtf8(p));
  const int pid = StartProcess(AnsiToUtf8(program), arguments);
  if (pid != 0 && wait) {
    while (ProcessRunning(pid)) PumpMessagesFor(100);
  }
  return pid;
}

}  // namespace sp
