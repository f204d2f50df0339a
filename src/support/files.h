// Paths, folders and files as the whole system uses them, plus the small text
// and stream helpers the import and the host link rely on.
//
// Paths are Windows-1252 text; they are converted to the file system's UTF-8
// only at the system call. Folder paths returned here end with the path
// delimiter. Several processes of the suite touch the same files, so the
// writers retry instead of locking (see each function for its rule).
//
// Platform decisions:
// - The delimiter is the platform's: "/" here, "\" on Windows. The helpers keep
//   their historic names (IncludeBackslash appends the delimiter).
// - Drive-letter rules (a path ending in ":", a bare letter "C" -> "C:\",
//   paths under 3 characters counting as drive roots) hold only for Windows
//   paths; see TPathRules.
// - The shell's "common documents" folder is $ORV_COMMON_DOCUMENTS when set,
//   else $XDG_DATA_HOME, else ~/.local/share.
// - The system temp folder is $TMPDIR, else /tmp.
// - The read-only attribute is the file's write permission bits; the hidden
//   attribute has no counterpart here (hidden names are a naming convention),
//   so nothing is done for it.
// - Whole-file writers (SaveStringsRetry, ExtractResourceFile, CopyFileRetry)
//   replace the target atomically: a failed write leaves the old file whole.
//
// All functions run on the caller's thread and take no locks.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dispatcher.h"  // PumpMessagesFor
#include "platform/stream.h"
#include "support/formatting.h"  // TextToFloatOr

namespace sp {

// ---- Paths ---------------------------------------------------------------

// How a platform writes paths: its delimiter and whether drive letters exist.
struct TPathRules {
  char delimiter;
  bool driveLetters;
};
inline constexpr TPathRules kWindowsPathRules{'\\', true};
inline constexpr TPathRules kPosixPathRules{'/', false};
#ifdef _WIN32
inline constexpr TPathRules kNativePathRules = kWindowsPathRules;
#else
inline constexpr TPathRules kNativePathRules = kPosixPathRules;
#endif
inline constexpr char PathDelimiter = kNativePathRules.delimiter;

// Empty stays empty; a path ending in the delimiter stays as it is; with drive
// letters, a path ending in ":" stays and one letter A-Z gets ":\" ("C" ->
// "C:\"); any other path gets the delimiter.
std::string IncludeDelimiter(std::string_view path, TPathRules rules);
std::string IncludeBackslash(std::string_view path);
// Removes one trailing delimiter.
std::string ExcludeDelimiter(std::string_view path, TPathRules rules);
std::string ExcludeBackslash(std::string_view path);

// Folder part of a path, with its trailing delimiter ("" when there is none).
std::string ExtractFilePath(std::string_view path);
// File name part of a path (after the last delimiter).
std::string ExtractFileName(std::string_view path);

// Folder of the running program's file, ending with the delimiter.
std::string ProgramFolder();

// The shell folder number of the documents folder shared by all users.
inline constexpr int kCommonDocumentsFolder = 46;
// Path of a shell special folder, ending with the delimiter. Only the common
// documents folder exists here. When no path can be had (unknown number, or
// neither the variables nor HOME are set) the program writes "Systemfehler:"
// and the reason to stderr and ends at once with exit code 1.
std::string SpecialFolder(int number);
// Common documents + "Orv-ClientRoot/default/", created on every call.
std::string ClientRootFolder();
// System temp + "OrvTempDir/" + sub + "/" (just "OrvTempDir/" for an empty
// sub), created on every call.
std::string TempFolder(std::string_view sub = {});

// ---- Existence tests -----------------------------------------------------

// True for an existing name that is not a folder, even when its content
// cannot be read. False for a missing name or path, an impossible name, and
// folders. For other failures of the status query (a folder on the way that
// may be listed but not searched, say) a listing of the parent decides.
bool FileExistsSafe(std::string_view name);
// True for a folder. A name that cannot be queried counts as existing unless
// it is missing or impossible. A link counts only when its folder can be
// opened, so a link to a vanished folder does not exist.
bool FolderExists(std::string_view name);

// ---- Creating and deleting -----------------------------------------------

// Creates the folder and its missing parents. An empty path raises
// EInOutError(code 3, "Verzeichnis kann nicht erstellt werden"). Returns
// false (no exception) when a folder cannot be created.
bool ForceFolder(std::string_view path);
// The same walk with the plain folder test and no result; an empty path
// raises Exception("Das Verzeichnis kann nicht erstellt werden").
void MakeFolderPath(std::string_view path);
// Deletes when FileExistsSafe; true when deleted or not there.
bool DeleteFileIfExists(std::string_view name);
// Deletes every entry of an existing folder, sub-folders recursively; names
// beginning with "." are skipped (unless the folder itself is removed, which
// takes everything left with it). Links are deleted, never followed. With
// removeFolder the folder (and its sub-folders) go too. True only when every
// deletion succeeded; false for a path that is no folder.
bool DeleteFolderTree(std::string_view path, bool removeFolder);

// ---- Files ---------------------------------------------------------------

// A read/write stream on one file, opened shared. With keepAttributes an
// existing read-only file is made writable for the stream's lifetime and
// made read-only again when it is destroyed. createNew truncates (or
// creates); otherwise the file is opened or created. Raises EFCreateError
// "Datei %s kann nicht erstellt werden" when it cannot be opened.
class TBetterFileStream : public THandleStream {
 public:
  TBetterFileStream(std::string_view name, bool keepAttributes, bool createNew);
  ~TBetterFileStream() override;

  const std::string& FileName() const { return fileName_; }

 private:
  struct TOpened {
    int fd = -1;
    uint32_t attributes = 0;
    bool restore = false;
  };
  static TOpened OpenKeeping(std::string_view name, bool keepAttributes, bool createNew);
  TBetterFileStream(std::string_view name, TOpened opened);

  uint32_t attributes_ = 0;  // permission bits as found
  bool restoreAttributes_ = false;
  std::string fileName_;
};

// Replaces the file's content so that readers see the old or the new content,
// never a mix (see TReplacingFile); the permission bits stay. The creation of
// the temporary file is retried under AttemptPatiently's rule for up to
// patienceMs. Raises EFCreateError "Datei %s kann nicht erstellt werden" when
// the file cannot be created or put in place, EWriteError when writing fails;
// the old file is then untouched.
void ReplaceFileAtomically(std::string_view name, std::string_view bytes, int patienceMs = 0);

// Text of a list as written to a file: every line followed by CR LF.
std::string LinesToText(const std::vector<std::string>& lines);
// Calls `line(std::string_view)` for each line of a text: a line ends at CR,
// LF or CR LF (LF CR is two breaks); a last line without a break counts, a
// break at the very end adds no empty line.
template <typename LineFunction>
void ForEachLine(std::string_view text, LineFunction&& line) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = start;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    line(text.substr(start, end - start));
    if (end < text.size() && text[end] == '\r') ++end;
    if (end < text.size() && text[end] == '\n') ++end;
    start = end;
  }
}
// The lines of a text as ForEachLine cuts them.
std::vector<std::string> TextToLines(std::string_view text);

// Writes the lines (CR LF) to the file, replacing it atomically and keeping
// its permission bits; creates its folder when missing. Up to 100 attempts,
// 100 ms apart; the 100th failure is raised (EFCreateError).
void SaveStringsRetry(const std::vector<std::string>& lines, std::string_view name);
// Loads the file's lines into `lines` when FileExistsSafe; a missing file
// leaves `lines` unchanged. Up to 100 attempts, 100 ms apart; the 100th
// failure is raised (EFOpenError "Datei %s kann nicht geöffnet werden").
void LoadStringsRetry(std::vector<std::string>& lines, std::string_view name);
// "[counter]" put before the file name part, same folder:
// AlternativeFileName("/a/b.txt", 2) == "/a/[2]b.txt".
std::string AlternativeFileName(std::string_view name, int counter);
// Writes `bytes` to the file (atomically, folder created); after a failure the
// next attempt goes to AlternativeFileName(name, 1), then 2, and so on. Up to
// 100 attempts, 100 ms apart; returns the name written, raises the 100th
// failure. Only sp::Exception failures are retried.
std::string ExtractResourceFile(std::string_view bytes, std::string_view name);
// Copies source to target (target folder created). The source must open
// (else EFOpenError); then up to 10 attempts waiting 100, 200, ... ms after
// each failure. True when a copy succeeded, false after 10 failures.
bool CopyFileRetry(std::string_view source, std::string_view target);

// ---- Names and programs --------------------------------------------------

// Drops bytes 1-31, with removeSpaces every blank, and every one of
// \ ? | > < : / * "; then trims blanks at both ends.
std::string CleanFileName(std::string_view text, bool removeSpaces);

// Starts `program` with the argument vector (no shell). Returns the process
// number, 0 when the start failed. With wait, returns after the process has
// ended, pumping the dispatcher in 100 ms steps meanwhile.
int RunProgram(const std::string& program, const std::vector<std::string>& parameters, bool wait);

// ---- Text and stream helpers ---------------------------------------------

// Cuts `text` at each exact occurrence of `separator`. Empty text or negative
// maxCount: no parts; empty separator: the whole text. With maxCount > 0 the
// last part runs to the end, separators included. Empty parts between
// separators stay; a separator at the very end adds no part. With
// fixedCount > 0 the result is cut or padded with "" to fixedCount parts.
std::vector<std::string> SplitText(std::string_view separator, std::string_view text, int maxCount = 0,
                                   int fixedCount = 0);
// Replaces every case-insensitive (Windows-1252) occurrence of `from`, left to
// right, never rescanning inserted text. An empty `from` changes nothing.
std::string ReplaceTextAll(std::string_view text, std::string_view from, std::string_view to);
// ".." + the last n + 1 characters when the text is longer than n.
std::string ShortenLeft(std::string_view text, int n);
// Copies the source (whole, or from its position with fromCurrent) to the
// start of the target without truncating it, then rewinds the target (and,
// without fromCurrent, the source).
void CopyStreamData(TStream& source, TStream& target, bool fromCurrent);
// The text as a number under the process's formats; 0 when it is none.
inline double TextToFloatDef(std::string_view text) { return TextToFloatOr(text, 0.0); }
bool IsOneText(std::string_view text);
// A new random GUID: 36 upper-case characters, 8-4-4-4-12, no braces.
std::string NewGuidText();
int32_t ElfHash(std::string_view text);
// ElfHash of a new GUID: a non-negative number below 2^28.
int32_t NewUniqueNumber();

}  // namespace sp
