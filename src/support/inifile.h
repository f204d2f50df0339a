// TCustomIniFile: the interface every INI file object of the system offers,
// so callers use any of them alike. A subclass provides the string access,
// the listings, the removals and UpdateFile; the typed reads and writes are
// built on ReadString / WriteString here.
//
// Names and texts are Windows-1252. Lists are std::vector<std::string>; a
// filling operation replaces the list's content. One thread at a time.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "support/formatting.h"

namespace sp {

class TCustomIniFile {
 public:
  explicit TCustomIniFile(std::string fileName) : fileName_(std::move(fileName)) {}
  virtual ~TCustomIniFile() = default;
  TCustomIniFile(const TCustomIniFile&) = delete;
  TCustomIniFile& operator=(const TCustomIniFile&) = delete;

  const std::string& FileName() const { return fileName_; }

  virtual std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) = 0;
  virtual void WriteString(std::string_view section, std::string_view key, std::string_view value) = 0;
  virtual void ReadSection(std::string_view section, std::vector<std::string>& keys) = 0;
  virtual void ReadSections(std::vector<std::string>& sections) = 0;
  virtual void ReadSectionValues(std::string_view section, std::vector<std::string>& lines) = 0;
  virtual void EraseSection(std::string_view section) = 0;
  virtual void DeleteKey(std::string_view section, std::string_view key) = 0;
  virtual void UpdateFile() = 0;

  // A value of more than two characters starting with "0x" or "0X" is read
  // as hexadecimal (up to 32 bits), else as a signed decimal int32; the
  // fallback when the text is empty or no such number.
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t fallback);
  void WriteInteger(std::string_view section, std::string_view key, int32_t value);
  // ReadInteger with fallback 1 or 0; true when not 0.
  bool ReadBool(std::string_view section, std::string_view key, bool fallback);
  void WriteBool(std::string_view section, std::string_view key, bool value);  // "1" / "0"
  // Through the process's number and date formats; the fallback when the
  // key is missing or its text does not convert.
  double ReadFloat(std::string_view section, std::string_view key, double fallback);
  void WriteFloat(std::string_view section, std::string_view key, double value);
  TDateTime ReadDateTime(std::string_view section, std::string_view key, TDateTime fallback);
  void WriteDateTime(std::string_view section, std::string_view key, TDateTime value);

 private:
  std::string fileName_;
};

// The integer rule of ReadInteger on a text: true and `value` set when the
// text is such a number.
bool IniTextToInteger(std::string_view text, int32_t& value);

}  // namespace sp
