#include "workbook/wide_strings.h"

#include "platform/errors.h"

namespace sp {

int32_t TWideStrings::Add(TWideText text, int32_t tag) {
  items_.push_back({std::move(text), tag});
  return Count() - 1;
}

TWideText TWideStrings::Strings(int32_t index) const { return Valid(index) ? items_[static_cast<size_t>(index)].text : TWideText(); }

int32_t TWideStrings::Tags(int32_t index) const { return Valid(index) ? items_[static_cast<size_t>(index)].tag : 0; }

TWideStrings::Item& TWideStrings::Checked(int32_t index) {
  if (!Valid(index)) throw EStringListError("WideStrings index out of bounds");
  return items_[static_cast<size_t>(index)];
}

void TWideStrings::SetString(int32_t index, TWideText text) { Checked(index).text = std::move(text); }

void TWideStrings::SetTag(int32_t index, int32_t tag) { Checked(index).tag = tag; }

void TWideStrings::Delete(int32_t index) {
  Checked(index);
  items_.erase(items_.begin() + index);
}

}  // namespace sp
