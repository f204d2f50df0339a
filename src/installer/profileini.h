// TProfileIni: INI access with the observable rules of the operating
// system's private profile functions, for the host's module INI files.
// Unlike TFastIniFile it keeps nothing between calls: every read reads the
// file, every write reads, changes and writes it back at once.
//
// - Section and key names compare case-insensitively (Windows-1252); the
//   first section and the first key of a name count. A header is a line whose
//   first non-blank byte is "["; its name runs to the "]", trimmed.
//   Lines starting with ";" are comments.
// - A read returns the value trimmed, without one pair of enclosing double or
//   single quotes, cut to 2,047 bytes; a missing file, section or key gives
//   the default (its trailing blanks removed).
// - A write changes one line (rewritten as key "=" value), adds the key below
//   the section's last key line (above trailing comments and blank lines),
//   or adds the section at the end (after one blank line unless the file is
//   empty or ends with one). Every other byte of the file stays as it was,
//   line breaks included; new lines end with CR LF. Missing files are
//   created; the file is replaced atomically.
//   A refused write raises EIniFileException "nach %s kann nicht geschrieben
//   werden" with the file's path, and leaves the file as it was.
// One thread at a time.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/errors.h"

namespace sp {

class EIniFileException : public Exception {
  using Exception::Exception;
};

class TProfileIni {
 public:
  static constexpr size_t kMaxReadLength = 2047;

  explicit TProfileIni(std::string fileName) : fileName_(std::move(fileName)) {}
  const std::string& FileName() const { return fileName_; }

  std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;
  // The read text as an integer by the INI rule ("0x" hexadecimal, else
  // decimal); the fallback when it is empty or no number.
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const;
  void WriteString(std::string_view section, std::string_view key, std::string_view value);

 private:
  std::string fileName_;
};

}  // namespace sp
