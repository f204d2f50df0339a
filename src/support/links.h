// Document links that survive a move of the document store: a link names its
// file relative to one of two root folders, written as the placeholders
// "[SERVER]" and "[INTERN]", and each workstation keeps the real folders of
// both roots in the roots file (see docs/formats/roots-file.md).
//
// The link form of a path is "file://" + the path with every blank written as
// "*", so that a link ends at the first blank of the surrounding text.
//
// Every operation that needs the roots reads the roots file anew (and writes
// it back normalised); errors reading or writing it are ignored, the roots
// then stay empty or as read. All functions run on the caller's thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sp {

inline constexpr std::string_view kServerPlaceholder = "[SERVER]";
inline constexpr std::string_view kInternPlaceholder = "[INTERN]";
inline constexpr int kServerRoot = 0;
inline constexpr int kInternRoot = 1;

// The two root folders, each ending with the path delimiter or empty.
class TInternalRootClass {
 public:
  std::string ServerRoot;
  std::string InternRoot;

  // REQUIRES: number is kServerRoot or kInternRoot.
  const std::string& Root(int number) const { return number == kServerRoot ? ServerRoot : InternRoot; }
};

// Moves an old file (left by an earlier version) to its new place. With
// `overwrite` the old file replaces the new one; otherwise an existing new
// file wins. The old file is deleted only once the new place holds a file,
// so a failed copy loses nothing.
void AdoptOldFile(std::string_view oldPath, std::string_view newPath, bool overwrite);

// ClientRootFolder + "Ordavi.Network.Alias.Docs/_InternalRootsSetupFile.TXT",
// after adopting an old roots file from the program folder.
std::string RootsFile();
// Reads the roots file (two lines: server root, intern root; missing lines
// count as empty), puts the delimiter after each non-empty root and writes
// the two lines back.
void LoadInternalRoots(TInternalRootClass& roots);

// Flags of ToPlaceholderPath.
inline constexpr int kAppendCrLf = 1;
inline constexpr int kLinkForm = 2;

// The path with root `rootNumber`'s folder (any letter case) replaced by its
// placeholder, unless the path already holds a placeholder (exact case); with
// kLinkForm as a link, with kAppendCrLf followed by CR LF.
std::string ToPlaceholderPath(const TInternalRootClass& roots, std::string_view path, int flags, int rootNumber);
std::string ToPlaceholderPath(std::string_view path, int flags, int rootNumber);

// The existing file the link stands for, or empty. A URL gives itself, or
// empty with mustExist. Placeholders (any letter case) are tried with the
// server root and then the intern root; then a doubled delimiter is tried as
// each root in turn. Shows the busy cursor while it runs.
std::string ResolveLink(const TInternalRootClass& roots, std::string_view link, bool mustExist);
std::string ResolveLink(std::string_view link, bool mustExist);
bool LinkResolves(std::string_view link);

// Appends to `links`, in text order, every "file://" link of `text` (in its
// cleaned form: prefix dropped, "*" as blanks, placeholders kept) that
// resolves to an existing file and, for a non-empty filter, whose extension
// is one of the filter's entries (letter case ignored; entries separated by
// ";", "," or blanks, "*.xls" and ".xls" alike). A file without extension
// never passes a filter.
void ExtractFileLinks(std::string_view text, std::vector<std::string>& links, std::string_view extensionFilter);
void ExtractFileLinks(const TInternalRootClass& roots, std::string_view text, std::vector<std::string>& links,
                      std::string_view extensionFilter);

// True for a text starting with a URL prefix (letter case ignored), or a mail
// address: a text with "@" and no path delimiter ("/" or "\") in it.
bool IsUrl(std::string_view text);

// The extension of a path with its dot ("" when none): the part after the
// last dot of the file name.
std::string ExtractFileExt(std::string_view path);

}  // namespace sp
