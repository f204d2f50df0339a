#include "support/links.h"

#include <algorithm>
#include <array>

#include "platform/errors.h"
#include "support/busyhook.h"
#include "support/files.h"
#include "support/text1252.h"

namespace sp {

namespace {

constexpr std::string_view kLinkPrefix = "file://";

std::string_view Placeholder(int rootNumber) {
  return rootNumber == kServerRoot ? kServerPlaceholder : kInternPlaceholder;
}

bool HoldsPlaceholderExactly(std::string_view path) {
  return path.find(kServerPlaceholder) != std::string_view::npos ||
         path.find(kInternPlaceholder) != std::string_view::npos;
}

bool HoldsPlaceholderAnyCase(std::string_view path) {
  return FindText(path, kServerPlaceholder) != std::string_view::npos ||
         FindText(path, kInternPlaceholder) != std::string_view::npos;
}

std::string ReplaceChar(std::string text, char from, char to) {
  for (char& c : text) {
    if (c == from) c = to;
  }
  return text;
}

// A candidate of the resolution passes: only a path with every placeholder
// replaced can name a file; an empty root replaces nothing.
bool TryCandidate(std::string_view text, std::string_view pattern, const std::string& root, std::string& found) {
  if (root.empty() || FindText(text, pattern) == std::string_view::npos) return false;
  const std::string candidate = ReplaceTextAll(text, pattern, root);
  if (HoldsPlaceholderAnyCase(candidate) || !FileExistsSafe(candidate)) return false;
  found = candidate;
  return true;
}

bool PassesFilter(std::string_view path, std::string_view filter) {
  if (filter.empty()) return true;
  const std::string extension = ExtractFileExt(path);
  if (extension.empty()) return false;
  size_t start = 0;
  while (start < filter.size()) {
    size_t end = filter.find_first_of(";, \t", start);
    if (end == std::string_view::npos) end = filter.size();
    std::string_view entry = Trim(filter.substr(start, end - start));
    if (!entry.empty() && entry.front() == '*') entry.remove_prefix(1);
    if (SameText(entry, extension)) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace

void AdoptOldFile(std::string_view oldPath, std::string_view newPath, bool overwrite) {
  if (!FileExistsSafe(oldPath)) return;
  bool newHoldsFile = !overwrite && FileExistsSafe(newPath);
  if (!newHoldsFile) {
    try {
      newHoldsFile = CopyFileRetry(oldPath, newPath);
    } catch (const Exception&) {
      newHoldsFile = false;  // the old file stays for the next attempt
    }
  }
  if (newHoldsFile) DeleteFileIfExists(oldPath);
}

std::string RootsFile() {
  static constexpr std::string_view kName = "_InternalRootsSetupFile.TXT";
  const std::string target = ClientRootFolder() + "Ordavi.Network.Alias.Docs" + PathDelimiter + std::string(kName);
  AdoptOldFile(ProgramFolder() + std::string(kName), target, false);
  return target;
}

void LoadInternalRoots(TInternalRootClass& roots) {
  roots.ServerRoot.clear();
  roots.InternRoot.clear();
  const std::string file = RootsFile();
  std::vector<std::string> lines;
  try {
    LoadStringsRetry(lines, file);
  } catch (const Exception&) {
    lines.clear();
  }
  lines.resize(std::max<size_t>(lines.size(), 2));
  roots.ServerRoot = IncludeBackslash(lines[0]);
  roots.InternRoot = IncludeBackslash(lines[1]);
  try {
    SaveStringsRetry({roots.ServerRoot, roots.InternRoot}, file);
  } catch (const Exception&) {
    // The roots stay as read; the file is written on a later call.
  }
}

std::string ToPlaceholderPath(const TInternalRootClass& roots, std::string_view path, int flags, int rootNumber) {
  std::string result(path);
  const std::string& root = roots.Root(rootNumber);
  if (!HoldsPlaceholderExactly(path) && !root.empty()) {
    result = ReplaceTextAll(path, root, Placeholder(rootNumber));
  }
  if (flags & kLinkForm) result = std::string(kLinkPrefix) + ReplaceChar(std::move(result), ' ', '*');
  if (flags & kAppendCrLf) result += "\r\n";
  return result;
}

std::string ToPlaceholderPath(std::string_view path, int flags, int rootNumber) {
  TInternalRootClass roots;
  LoadInternalRoots(roots);
  return ToPlaceholderPath(roots, path, flags, rootNumber);
}

std::string ResolveLink(const TInternalRootClass& roots, std::string_view link, bool mustExist) {
  TBusyScope busy;
  const std::string text = ReplaceChar(ReplaceTextAll(link, kLinkPrefix, ""), '*', ' ');
  if (IsUrl(text)) return mustExist ? std::string() : text;

  std::string found;
  if (!HoldsPlaceholderAnyCase(text) && FileExistsSafe(text)) return text;
  for (const int n : {kServerRoot, kInternRoot}) {
    if (TryCandidate(text, Placeholder(n), roots.Root(n), found)) return found;
  }
  const std::string doubled(2, PathDelimiter);
  for (const int n : {kServerRoot, kInternRoot}) {
    if (TryCandidate(text, doubled, roots.Root(n), found)) return found;
  }
  return {};
}

std::string ResolveLink(std::string_view link, bool mustExist) {
  TInternalRootClass roots;
  LoadInternalRoots(roots);
  return ResolveLink(roots, link, mustExist);
}

bool LinkResolves(std::string_view link) { return !ResolveLink(link, true).empty(); }

void ExtractFileLinks(const TInternalRootClass& roots, std::string_view text, std::vector<std::string>& links,
                      std::string_view extensionFilter) {
  std::string flat = ReplaceChar(ReplaceChar(std::string(text), '\r', ' '), '\n', ' ');
  size_t at = 0;
  while (at + kLinkPrefix.size() <= flat.size()) {
    if (!SameText(std::string_view(flat).substr(at, kLinkPrefix.size()), kLinkPrefix)) {
      ++at;
      continue;
    }
    const size_t start = at + kLinkPrefix.size();
    size_t end = start;
    while (end < flat.size() && flat[end] != ' ') ++end;
    at = end;
    const std::string starred(Trim(std::string_view(flat).substr(start, end - start)));
    const std::string cleaned(Trim(ReplaceChar(starred, '*', ' ')));
    if (cleaned.empty()) continue;
    if (!ResolveLink(roots, cleaned, true).empty() && PassesFilter(cleaned, extensionFilter)) {
      links.push_back(cleaned);
    }
  }
}

void ExtractFileLinks(std::string_view text, std::vector<std::string>& links, std::string_view extensionFilter) {
  TInternalRootClass roots;
  LoadInternalRoots(roots);
  ExtractFileLinks(roots, text, links, extensionFilter);
}

bool IsUrl(std::string_view text) {
  static constexpr std::array<std::string_view, 12> kPrefixes = {
      "http:", "https:", "ftp:", "telnet:", "gopher:", "prospero:", "nntp:", "wais:", "mailto:", "news:", "www.", "ftp."};
  for (const std::string_view prefix : kPrefixes) {
    if (text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix)) return true;
  }
  return text.find('@') != std::string_view::npos && text.find_first_of("/\\") == std::string_view::npos;
}

std::string ExtractFileExt(std::string_view path) {
  const std::string name = ExtractFileName(path);
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

}  // namespace sp
