#include "support/iniitems.h"

#include <algorithm>

#include "platform/errors.h"
#include "support/files.h"
#include "support/text1252.h"

namespace sp {

uint32_t NameHash(std::string_view name) {
  uint32_t hash = 0;
  for (const char c : name) hash = ((hash << 2) | (hash >> 30)) ^ UpperTable[static_cast<unsigned char>(c)];
  return hash;
}

bool SameName(std::string_view a, std::string_view b) { return !a.empty() && SameText(a, b); }

size_t InlineCommentPos(std::string_view text) {
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '"') quoted = !quoted;
    else if (text[i] == ';' && !quoted) return i + 1;
  }
  return 0;
}

// ---- Loading and saving --------------------------------------------------

void TIniItems::LoadFromText(std::string_view text) {
  Clear();
  text = text.substr(0, text.find('\0'));
  items_.reserve(text.size() / 16);
  ForEachLine(text, [this](std::string_view line) { Append(line); });
  items_.shrink_to_fit();
  if (statistics_.Sections > 0 && statistics_.Entries / statistics_.Sections >= 250) keyIndexMode_ = true;
}

void TIniItems::LoadFromStream(TStream& stream) { LoadFromText(stream.ReadRest()); }

std::string TIniItems::SaveToText() const {
  size_t size = 0;
  for (const auto& item : items_) size += item.Name.size() + item.Value.size() + 3;
  std::string text;
  text.reserve(size);
  for (const auto& item : items_) {
    text += item.Name;
    if (item.Kind == lkEntry) {
      text += '=';
      text += item.Value;
    }
    text += "\r\n";
  }
  return text;
}

void TIniItems::SaveToStream(TStream& stream) const { stream.WriteText(SaveToText()); }

void TIniItems::Clear() {
  items_.clear();
  for (auto& bucket : sections_) bucket.clear();
  lastSection_ = nullptr;
  statistics_ = {};
}

const TIniItem& TIniItems::Item(int32_t index) const {
  if (index < 0 || index >= Count()) {
    throw EStringListError(
        ReplaceTextAll(Ansi("Der Index der Liste überschreitet das Maximum (%d)"), "%d", std::to_string(index)));
  }
  return items_[static_cast<size_t>(index)];
}

// ---- Line storage --------------------------------------------------------

void TIniItems::Count(TLineKind kind, int delta) {
  switch (kind) {
    case lkBlank: statistics_.Blanks += delta; break;
    case lkComment: statistics_.Comments += delta; break;
    case lkSection: statistics_.Sections += delta; break;
    default: statistics_.Entries += delta; break;
  }
}

void TIniItems::Grow() {
  const size_t capacity = items_.capacity();
  if (items_.size() < capacity) return;
  items_.reserve(capacity + (capacity > 1024 ? capacity / 4 : capacity > 256 ? 512 : 128));
}

void TIniItems::Append(std::string_view line) {
  TIniItem item;
  item.Name.assign(line);
  if (line.empty()) {
    item.Kind = lkBlank;
  } else if (line.front() == ';') {
    item.Kind = lkComment;
  } else if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
    item.Kind = lkSection;
    auto section = std::make_unique<TSectionItem>();
    section->FirstLine = Count() + 1;
    section->Name.assign(line.substr(1, line.size() - 2));
    sections_[NameHash(section->Name) & 0xFF].push_back(std::move(section));
  }
  Grow();
  Count(item.Kind, +1);
  items_.push_back(std::move(item));
}

void TIniItems::Insert(int32_t at, TIniItem item) {
  DropKeyIndexesFrom(at);
  Grow();
  Count(item.Kind, +1);
  items_.insert(items_.begin() + at, std::move(item));
  ShiftSections(at, +1);
}

void TIniItems::Remove(int32_t from, int32_t count) {
  DropKeyIndexesFrom(from);
  for (int32_t i = from; i < from + count; ++i) Count(items_[static_cast<size_t>(i)].Kind, -1);
  items_.erase(items_.begin() + from, items_.begin() + from + count);
  ShiftSections(from, -count);
}

void TIniItems::DropKeyIndexesFrom(int32_t line) {
  for (auto& bucket : sections_) {
    for (auto& section : bucket) {
      if (section->KeyIndex && (section->FirstLine > line || SectionEnd(*section) >= line)) section->KeyIndex.reset();
    }
  }
}

void TIniItems::ShiftSections(int32_t line, int32_t delta) {
  for (auto& bucket : sections_) {
    for (auto& section : bucket) {
      if (section->FirstLine > line) section->FirstLine += delta;
    }
  }
}

void TIniItems::Parse(int32_t line) {
  TIniItem& item = items_[static_cast<size_t>(line)];
  if (item.Kind != lkRaw) return;
  const size_t equals = item.Name.find('=');
  if (equals == std::string::npos) {
    item.Kind = lkText;
    item.Name = std::string(TrimLeft(item.Name));
    return;
  }
  item.Value = std::string(Trim(std::string_view(item.Name).substr(equals + 1)));
  item.Name = std::string(Trim(std::string_view(item.Name).substr(0, equals)));
  item.Kind = lkEntry;
  item.Hash = NameHash(item.Name);
}

// ---- Sections and keys ---------------------------------------------------

int32_t TIniItems::SectionEnd(const TSectionItem& section) const {
  int32_t line = section.FirstLine;
  while (line < Count() && items_[static_cast<size_t>(line)].Kind != lkSection) ++line;
  return line;
}

TSectionItem* TIniItems::FindSection(std::string_view name, bool create) {
  if (lastSection_ && SameName(lastSection_->Name, name)) return lastSection_;
  auto& bucket = sections_[NameHash(name) & 0xFF];
  for (auto it = bucket.rbegin(); it != bucket.rend(); ++it) {
    if (SameName((*it)->Name, name)) return lastSection_ = it->get();
  }
  if (!create) return nullptr;
  if (!items_.empty() && items_.back().Kind != lkBlank) Append("");
  Append("[" + std::string(name) + "]");
  return lastSection_ = bucket.back().get();
}

void TIniItems::BuildKeyIndex(TSectionItem& section) {
  section.KeyIndex = std::make_unique<TSectionItem::TKeyIndex>();
  for (int32_t line = section.FirstLine; line < Count() && items_[static_cast<size_t>(line)].Kind != lkSection;
       ++line) {
    Parse(line);
    const TIniItem& item = items_[static_cast<size_t>(line)];
    if (item.Kind == lkEntry) (*section.KeyIndex)[item.Hash & 0xFF].push_back(line);
  }
}

int32_t TIniItems::FindKey(std::string_view sectionName, std::string_view key, bool create, bool linear) {
  TSectionItem* section = FindSection(sectionName, create);
  if (!section) return -1;
  const uint32_t hash = NameHash(key);
  auto matches = [&](int32_t line) {
    const TIniItem& item = items_[static_cast<size_t>(line)];
    return item.Kind == lkEntry && item.Hash == hash && SameName(item.Name, key);
  };
  int32_t insertAt = section->FirstLine;
  if (keyIndexMode_ && !linear) {
    if (!section->KeyIndex) BuildKeyIndex(*section);
    const auto& bucket = (*section->KeyIndex)[hash & 0xFF];
    for (auto it = bucket.rbegin(); it != bucket.rend(); ++it) {
      if (matches(*it)) return *it;
    }
    if (!create) return -1;
    for (int32_t line = section->FirstLine; line < Count() && items_[static_cast<size_t>(line)].Kind != lkSection;
         ++line) {
      const TLineKind kind = items_[static_cast<size_t>(line)].Kind;
      if (kind == lkEntry || kind == lkText) insertAt = line + 1;
    }
  } else {
    for (int32_t line = section->FirstLine; line < Count() && items_[static_cast<size_t>(line)].Kind != lkSection;
         ++line) {
      Parse(line);
      if (matches(line)) return line;
      const TLineKind kind = items_[static_cast<size_t>(line)].Kind;
      if (kind == lkEntry || kind == lkText) insertAt = line + 1;
    }
    if (!create) return -1;
  }
  TIniItem item;
  item.Kind = lkEntry;
  item.Name = std::string(Trim(key));
  item.Hash = NameHash(item.Name);
  Insert(insertAt, std::move(item));
  return insertAt;
}

void TIniItems::SetValueAt(int32_t line, std::string value) {
  Item(line);  // bounds check
  items_[static_cast<size_t>(line)].Value = std::move(value);
}

void TIniItems::DeleteLine(int32_t line) {
  Item(line);  // bounds check
  Remove(line, 1);
}

void TIniItems::EraseSection(TSectionItem* section) {
  const int32_t header = section->FirstLine - 1;
  int32_t last = header;
  int n = 0;
  for (int32_t line = section->FirstLine; line < Count() && items_[static_cast<size_t>(line)].Kind != lkSection;
       ++line) {
    switch (items_[static_cast<size_t>(line)].Kind) {
      case lkComment:
        n = -1;
        break;
      case lkBlank:
        if (++n > 0) last = line;
        break;
      default:
        last = line;
        n = 0;
        break;
    }
  }
  auto& bucket = sections_[NameHash(section->Name) & 0xFF];
  if (lastSection_ == section) lastSection_ = nullptr;
  const auto it = std::find_if(bucket.begin(), bucket.end(), [&](const auto& s) { return s.get() == section; });
  bucket.erase(it);  // frees the section
  Remove(header, last - header + 1);
}

std::vector<std::string> TIniItems::SectionNames() {
  std::vector<std::string> names;
  for (int32_t line = 0; line < Count(); ++line) {
    Parse(line);
    const TIniItem& item = items_[static_cast<size_t>(line)];
    if (item.Kind == lkSection) names.push_back(item.Name.substr(1, item.Name.size() - 2));
  }
  return names;
}

std::vector<std::string> TIniItems::KeyNames(std::string_view sectionName) {
  std::vector<std::string> names;
  const TSectionItem* section = FindSection(sectionName, false);
  if (!section) return names;
  for (int32_t line = section->FirstLine; line < Count() && items_[static_cast<size_t>(line)].Kind != lkSection;
       ++line) {
    Parse(line);
    const TIniItem& item = items_[static_cast<size_t>(line)];
    if (item.Kind == lkEntry) names.push_back(item.Name);
  }
  return names;
}

}  // namespace sp
