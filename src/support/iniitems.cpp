#include "support/iniitems.h"

#include <algorithm>

#include "platform/errors.h"
#include "support/files.h"
#include "support/iniscan.h"
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

void TIniItems::LoadFromText(std::string text) {
  Clear();
  const size_t nul = text.find('\0');
  if (nul != std::string::npos) text.resize(nul);
  text_ = std::move(text);
  const TIniScan scan = ScanIniText(text_);
  lineCount_ = scan.lines;
  onlyCrLf_ = scan.onlyCrLf;
  statistics_.Blanks = scan.blanks;
  statistics_.Comments = scan.comments;
  statistics_.Sections = static_cast<int32_t>(scan.headers.size());
  statistics_.Entries = scan.lines - scan.blanks - scan.comments - statistics_.Sections;

  TBlock& first = blocks_.emplace_back();
  first.end = scan.headers.empty() ? text_.size() : scan.headers.front().lineStart;
  first.lineCount = scan.headers.empty() ? scan.lines : scan.headers.front().lineIndex;
  for (size_t i = 0; i < scan.headers.size(); ++i) {
    const TIniHeader& header = scan.headers[i];
    const bool last = i + 1 == scan.headers.size();
    TBlock& block = blocks_.emplace_back();
    block.begin = header.lineStart;
    block.end = last ? text_.size() : scan.headers[i + 1].lineStart;
    block.lineCount = (last ? scan.lines : scan.headers[i + 1].lineIndex) - header.lineIndex;
    Register(block, std::string_view(text_).substr(header.lineStart + 1, header.lineEnd - header.lineStart - 2));
  }
  if (statistics_.Sections > 0 && statistics_.Entries / statistics_.Sections >= 250) keyIndexMode_ = true;
}

void TIniItems::LoadFromStream(TStream& stream) { LoadFromText(stream.ReadRest()); }

std::string TIniItems::SaveToText() const {
  std::string text;
  text.reserve(text_.size() + 64);
  for (const TBlock& block : blocks_) {
    if (!block.split) {
      const std::string_view range = std::string_view(text_).substr(block.begin, block.end - block.begin);
      if (onlyCrLf_) {
        text += range;
      } else {
        ForEachLine(range, [&](std::string_view line) {
          text += line;
          text += "\r\n";
        });
      }
      continue;
    }
    for (const TIniItem& item : block.lines) {
      text += item.Name;
      if (item.Kind == lkEntry) {
        text += '=';
        text += item.Value;
      }
      text += "\r\n";
    }
  }
  return text;
}

void TIniItems::SaveToStream(TStream& stream) const { stream.WriteText(SaveToText()); }

void TIniItems::Clear() {
  blocks_.clear();
  for (auto& bucket : sections_) bucket.clear();
  lastSection_ = nullptr;
  statistics_ = {};
  lineCount_ = 0;
  onlyCrLf_ = true;
  kept_.clear();
  text_.clear();
}

const TIniItem& TIniItems::Item(int32_t index) const {
  if (index >= 0) {
    int32_t first = 0;
    for (TBlock& block : blocks_) {
      if (index < first + block.lineCount) {
        Split(block);
        return block.lines[static_cast<size_t>(index - first)];
      }
      first += block.lineCount;
    }
  }
  throw EStringListError(
      ReplaceTextAll(Ansi("Der Index der Liste überschreitet das Maximum (%d)"), "%d", std::to_string(index)));
}

// ---- Lines ---------------------------------------------------------------

TIniItem TIniItems::Classified(std::string_view line) const {
  TIniItem item;
  item.Name = line;
  if (line.empty()) item.Kind = lkBlank;
  else if (line.front() == ';') item.Kind = lkComment;
  else if (line.size() >= 2 && line.front() == '[' && line.back() == ']') item.Kind = lkSection;
  return item;
}

void TIniItems::Split(TBlock& block) const {
  if (block.split) return;
  block.lines.reserve(static_cast<size_t>(block.lineCount));
  ForEachLine(std::string_view(text_).substr(block.begin, block.end - block.begin),
              [&](std::string_view line) { block.lines.push_back(Classified(line)); });
  block.split = true;
}

void TIniItems::Parse(TIniItem& item) const {
  if (item.Kind != lkRaw) return;
  const size_t equals = item.Name.find('=');
  if (equals == std::string_view::npos) {
    item.Kind = lkText;
    item.Name = TrimLeft(item.Name);
    return;
  }
  item.Value = Trim(item.Name.substr(equals + 1));
  item.Name = Trim(item.Name.substr(0, equals));
  item.Kind = lkEntry;
  item.Hash = NameHash(item.Name);
}

std::string_view TIniItems::Keep(std::string text) { return kept_.emplace_back(std::move(text)); }

void TIniItems::Count(TLineKind kind, int delta) {
  switch (kind) {
    case lkBlank: statistics_.Blanks += delta; break;
    case lkComment: statistics_.Comments += delta; break;
    case lkSection: statistics_.Sections += delta; break;
    default: statistics_.Entries += delta; break;
  }
  lineCount_ += delta;
}

// Key indexes hold positions within their block, so only the changed
// block's index goes stale.
void TIniItems::Insert(TBlock& block, int32_t at, TIniItem item) {
  Split(block);
  Count(item.Kind, +1);
  block.lines.insert(block.lines.begin() + at, item);
  ++block.lineCount;
  if (block.section) block.section->KeyIndex.reset();
}

void TIniItems::Remove(TBlock& block, int32_t from, int32_t count) {
  Split(block);
  for (int32_t i = from; i < from + count; ++i) Count(block.lines[static_cast<size_t>(i)].Kind, -1);
  block.lines.erase(block.lines.begin() + from, block.lines.begin() + from + count);
  block.lineCount -= count;
  if (block.section) block.section->KeyIndex.reset();
}

void TIniItems::Register(TBlock& block, std::string_view name) {
  auto section = std::make_unique<TSection>();
  section->Block = &block;
  section->Name = name;
  block.section = section.get();
  sections_[NameHash(name) & 0xFF].push_back(std::move(section));
}

void TIniItems::AppendLine(std::string text) {
  const TIniItem item = Classified(Keep(std::move(text)));
  if (item.Kind == lkSection) {
    TBlock& block = blocks_.emplace_back();
    block.split = true;
    block.lines.push_back(item);
    block.lineCount = 1;
    Count(lkSection, +1);
    Register(block, item.Name.substr(1, item.Name.size() - 2));
    return;
  }
  TBlock& last = blocks_.back();
  Insert(last, last.lineCount, item);
}

// ---- Sections and keys ---------------------------------------------------

TIniItems::TSection* TIniItems::FindSection(std::string_view name, bool create) {
  if (lastSection_ && SameName(lastSection_->Name, name)) return lastSection_;
  auto& bucket = sections_[NameHash(name) & 0xFF];
  for (auto it = bucket.rbegin(); it != bucket.rend(); ++it) {
    if (SameName((*it)->Name, name)) return lastSection_ = it->get();
  }
  if (!create) return nullptr;
  if (blocks_.empty()) blocks_.emplace_back();
  if (lineCount_ > 0 && Item(lineCount_ - 1).Kind != lkBlank) AppendLine("");
  std::string header;
  header.reserve(name.size() + 2);
  header.append(1, '[').append(name).append(1, ']');
  AppendLine(std::move(header));
  return lastSection_ = blocks_.back().section;
}

void TIniItems::BuildKeyIndex(TSection& section) {
  section.KeyIndex = std::make_unique<TSection::TKeyIndex>();
  TBlock& block = *section.Block;
  Split(block);
  for (int32_t line = 1; line < block.lineCount; ++line) {
    TIniItem& item = block.lines[static_cast<size_t>(line)];
    Parse(item);
    if (item.Kind == lkEntry) (*section.KeyIndex)[item.Hash & 0xFF].push_back(line);
  }
}

TIniItems::TKeyRef TIniItems::FindKey(std::string_view sectionName, std::string_view key, bool create,
                                      bool linear) {
  TSection* section = FindSection(sectionName, create);
  if (!section) return {};
  TBlock& block = *section->Block;
  Split(block);
  const uint32_t hash = NameHash(key);
  auto matches = [&](int32_t line) {
    const TIniItem& item = block.lines[static_cast<size_t>(line)];
    return item.Kind == lkEntry && item.Hash == hash && SameName(item.Name, key);
  };
  if (keyIndexMode_ && !linear) {
    if (!section->KeyIndex) BuildKeyIndex(*section);
    const auto& bucket = (*section->KeyIndex)[hash & 0xFF];
    for (auto it = bucket.rbegin(); it != bucket.rend(); ++it) {
      if (matches(*it)) return {&block, *it};
    }
  } else {
    for (int32_t line = 1; line < block.lineCount; ++line) {
      Parse(block.lines[static_cast<size_t>(line)]);
      if (matches(line)) return {&block, line};
    }
  }
  if (!create) return {};
  // Below the last key or text line, above trailing comments and blanks.
  int32_t at = 1;
  for (int32_t line = 1; line < block.lineCount; ++line) {
    const TLineKind kind = block.lines[static_cast<size_t>(line)].Kind;
    if (kind == lkEntry || kind == lkText) at = line + 1;
  }
  TIniItem item;
  item.Kind = lkEntry;
  item.Name = Keep(std::string(Trim(key)));
  item.Hash = NameHash(item.Name);
  Insert(block, at, item);
  return {&block, at};
}

std::string_view TIniItems::Value(TKeyRef key) const { return key.block->lines[static_cast<size_t>(key.line)].Value; }

void TIniItems::SetValue(TKeyRef key, std::string value) {
  key.block->lines[static_cast<size_t>(key.line)].Value = Keep(std::move(value));
}

void TIniItems::DeleteKey(TKeyRef key) { Remove(*key.block, key.line, 1); }

void TIniItems::EraseSection(TSection* section) {
  TBlock& block = *section->Block;
  Split(block);
  // The section's lines end at its last key or text line, plus the blank
  // lines after it unless a comment follows them with at most one blank.
  int32_t last = 0;
  int n = 0;
  for (int32_t line = 1; line < block.lineCount; ++line) {
    switch (block.lines[static_cast<size_t>(line)].Kind) {
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
  if (lastSection_ == section) lastSection_ = nullptr;
  auto& bucket = sections_[NameHash(section->Name) & 0xFF];
  bucket.erase(std::find_if(bucket.begin(), bucket.end(), [&](const auto& s) { return s.get() == section; }));
  block.section = nullptr;
  Remove(block, 0, last + 1);
  // What stays (comments and blanks) now follows the block above.
  const auto it = std::find_if(blocks_.begin(), blocks_.end(), [&](const TBlock& b) { return &b == &block; });
  TBlock& above = *std::prev(it);
  Split(above);
  above.lines.insert(above.lines.end(), block.lines.begin(), block.lines.end());
  above.lineCount += block.lineCount;
  blocks_.erase(it);
}

std::vector<std::string> TIniItems::SectionNames() {
  std::vector<std::string> names;
  for (TBlock& block : blocks_) {
    Split(block);
    for (TIniItem& item : block.lines) {
      Parse(item);
      if (item.Kind == lkSection) names.emplace_back(item.Name.substr(1, item.Name.size() - 2));
    }
  }
  return names;
}

std::vector<std::string> TIniItems::KeyNames(std::string_view sectionName) {
  std::vector<std::string> names;
  TSection* section = FindSection(sectionName, false);
  if (!section) return names;
  TBlock& block = *section->Block;
  Split(block);
  for (int32_t line = 1; line < block.lineCount; ++line) {
    TIniItem& item = block.lines[static_cast<size_t>(line)];
    Parse(item);
    if (item.Kind == lkEntry) names.emplace_back(item.Name);
  }
  return names;
}

}  // namespace sp
