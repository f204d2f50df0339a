#include "support/stringlistex.h"

#include "support/text1252.h"

namespace sp {

void TStringListEx::SetNameValueSeparator(char separator) {
  separator_ = separator;
  flags_ |= kSeparatorSet;
}

std::string TStringListEx::NameOf(std::string_view line) const {
  const size_t at = line.find(separator_);
  return at == std::string_view::npos ? std::string() : std::string(line.substr(0, at));
}

int TStringListEx::IndexOfName(std::string_view name) const {
  for (size_t i = 0; i < Lines.size(); ++i) {
    const size_t at = Lines[i].find(separator_);
    if (at == std::string::npos) continue;
    const std::string_view lineName = std::string_view(Lines[i]).substr(0, at);
    if (CaseSensitive ? lineName == name : SameText(lineName, name)) return static_cast<int>(i);
  }
  return -1;
}

std::string TStringListEx::ValueOf(std::string_view name) const { return ValueFromIndex(IndexOfName(name)); }

void TStringListEx::SetValueOf(std::string_view name, std::string_view value) {
  const int index = IndexOfName(name);
  if (value.empty()) {
    if (index >= 0) Lines.erase(Lines.begin() + index);
    return;
  }
  std::string line = std::string(name) + separator_ + std::string(value);
  if (index >= 0) {
    Lines[static_cast<size_t>(index)] = std::move(line);
  } else {
    Lines.push_back(std::move(line));
  }
}

std::string TStringListEx::ValueFromIndex(int index) const {
  if (index < 0 || static_cast<size_t>(index) >= Lines.size()) return {};
  const std::string& line = Lines[static_cast<size_t>(index)];
  const size_t at = line.find(separator_);
  return at == std::string::npos ? std::string() : line.substr(at + 1);
}

}  // namespace sp
