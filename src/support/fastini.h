// TFastIniFile: the system's own INI file class, for the INI files the
// module reads and writes itself.
//
// The file is read in one piece on the first operation (not on creation) and
// kept in a TIniItems line store; only lines an operation has to look at are
// parsed, every other line is written back byte for byte. An inline comment
// (";" outside double quotes) is cut off by ReadString and kept at its column
// by WriteString while StripComments is on. Changes are written back in one
// piece by UpdateFile or on destruction, only when something changed; the
// write replaces the file atomically, so a failed write leaves the old file.
// The object never re-reads the file: create a new one for fresh content.
//
// Errors: EFCreateError when the file cannot be opened or created in time
// (see TFileStreamEx), EInOutError when its folder cannot be created,
// EWriteError when writing fails. The destructor writes too but swallows its
// errors; call UpdateFile first when a failed write must be known.
// One thread at a time.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "support/inifile.h"
#include "support/iniitems.h"

namespace sp {

class TFastIniFile : public TCustomIniFile {
 public:
  explicit TFastIniFile(std::string fileName);
  ~TFastIniFile() override;

  // Missing section or key: the fallback.
  std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) override;
  // Creates section and key as needed. With an empty key: an empty value
  // and an empty section flushes, an empty value and a section erases it,
  // a value does nothing.
  void WriteString(std::string_view section, std::string_view key, std::string_view value) override;
  void ReadSection(std::string_view section, std::vector<std::string>& keys) override;
  void ReadSections(std::vector<std::string>& sections) override;
  // name "=" ReadString(section, name) for each key, in file order.
  void ReadSectionValues(std::string_view section, std::vector<std::string>& lines) override;
  // A missing section changes nothing but still marks the file modified.
  void EraseSection(std::string_view section) override;
  void DeleteKey(std::string_view section, std::string_view key) override;
  void UpdateFile() override { Flush(); }

  // Reads the file (or, when it is missing or the name is empty, nothing).
  void Load();
  // Takes `text` as the file's content instead of reading the file.
  void LoadFromText(std::string_view text);
  std::string SaveToText() const { return items_.SaveToText(); }
  // Writes the file when modified: folder created, file replaced atomically.
  void Flush();
  void Clear();

  bool StripComments = true;
  bool Loaded() const { return loaded_; }
  bool Modified() const { return modified_; }
  const TIniItems& Items() const { return items_; }

 private:
  void EnsureLoaded() {
    if (!loaded_) Load();
  }

  TIniItems items_;
  bool loaded_ = false;
  bool modified_ = false;
};

}  // namespace sp
