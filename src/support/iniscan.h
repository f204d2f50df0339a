// One pass over an INI text that finds what loading needs before any line
// is split: the number of lines of each kind and where the section headers
// are. Lines end at CR, LF or CR LF (as ForEachLine cuts them). A header is
// a line of at least two characters starting with "[" and ending with "]".
//
// ScanIniText runs 64 bytes at a time where the processor offers SSE2;
// ScanIniTextPlain is the line-by-line reference with the same results.
// REQUIRES: the text holds no NUL byte (the loader cuts it there).
// Pure functions; safe from any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace sp {

struct TIniHeader {
  size_t lineStart = 0;    // offset of the "["
  size_t lineEnd = 0;      // offset just after the "]"
  int32_t lineIndex = 0;   // 0-based line number
  bool operator==(const TIniHeader&) const = default;
};

struct TIniScan {
  int32_t lines = 0;
  int32_t blanks = 0;
  int32_t comments = 0;   // lines starting with ";"
  // Every break is CR LF and the text ends with one (or is empty), so the
  // text is already in the form the store writes.
  bool onlyCrLf = true;
  std::vector<TIniHeader> headers;
  bool operator==(const TIniScan&) const = default;
};

TIniScan ScanIniText(std::string_view text);
TIniScan ScanIniTextPlain(std::string_view text);

}  // namespace sp
