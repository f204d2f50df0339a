// TStringListEx: a list of text lines read as "name<separator>value" pairs,
// the shape of the program memory file and similar small lists.
//
// Names compare without regard to letter case under Windows-1252 unless
// CaseSensitive is set. The separator is "=" until SetNameValueSeparator is
// called; the SeparatorSet flag records that it was. Copying a list copies its
// lines, separator, CaseSensitive and flags.
// Not thread-safe; one owner.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sp {

class TStringListEx {
 public:
  static constexpr uint8_t kSeparatorSet = 0x01;

  std::vector<std::string> Lines;
  bool CaseSensitive = false;

  char NameValueSeparator() const { return separator_; }
  void SetNameValueSeparator(char separator);
  uint8_t Flags() const { return flags_; }

  // The text before the first separator; empty when the line has none.
  std::string NameOf(std::string_view line) const;
  // Index of the first line whose name equals `name`; -1 when none.
  int IndexOfName(std::string_view name) const;
  // The text after name and separator of that line; empty when none.
  std::string ValueOf(std::string_view name) const;
  // A non-empty value replaces the line of `name` or is appended as
  // name + separator + value; an empty value deletes the line.
  void SetValueOf(std::string_view name, std::string_view value);
  // The text after the line's separator; empty for a line without one or an
  // index out of range.
  std::string ValueFromIndex(int index) const;

 private:
  char separator_ = '=';
  uint8_t flags_ = 0;
};

}  // namespace sp
