// A list of wide strings, each with a 32-bit tag: the sheet names (tagged
// with the stream offset of their sheet) and the shared strings of a
// workbook. Reading at an invalid index gives the empty string or 0;
// replacing or deleting there raises EStringListError("WideStrings index out
// of bounds"). Not thread-safe.
#pragma once

#include <cstdint>
#include <vector>

#include "workbook/wide_text.h"

namespace sp {

class TWideStrings {
 public:
  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  // Returns the new entry's index.
  int32_t Add(TWideText text, int32_t tag = 0);
  TWideText Strings(int32_t index) const;
  int32_t Tags(int32_t index) const;
  void SetString(int32_t index, TWideText text);
  void SetTag(int32_t index, int32_t tag);
  void Delete(int32_t index);
  void Clear() { items_.clear(); }
  void Reserve(size_t count) { items_.reserve(count); }

 private:
  struct Item {
    TWideText text;
    int32_t tag;
  };
  bool Valid(int32_t index) const { return index >= 0 && index < Count(); }
  Item& Checked(int32_t index);

  std::vector<Item> items_;
};

}  // namespace sp
