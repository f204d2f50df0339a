// The line store behind TFastIniFile: an INI text as an ordered list of lines,
// sections found through a 256-bucket hash with a one-entry cache, key lines
// parsed only when first looked at, per-section key indexes for big files.
//
// Lines that no operation had to parse are written back byte for byte; a
// parsed key line is written as name "=" value, a parsed line without "="
// loses its leading blanks. Names compare case-insensitively through
// UpperTable; an empty name equals nothing.
//
// Not thread-safe; one owner at a time.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/stream.h"

namespace sp {

enum TLineKind : uint8_t { lkEntry = 0, lkText = 1, lkRaw = 2, lkSection = 3, lkComment = 4, lkBlank = 5 };

struct TIniItem {
  TLineKind Kind = lkRaw;
  uint32_t Hash = 0;   // NameHash(Name) for lkEntry, else 0
  std::string Name;    // lkEntry: the key; others: the whole line as written
  std::string Value;   // lkEntry: the value; others: empty
};

// Line counts by kind; Entries counts lkEntry, lkText and lkRaw lines.
struct TStatistics {
  int32_t Blanks = 0;
  int32_t Comments = 0;
  int32_t Entries = 0;
  int32_t Sections = 0;
};

struct TSectionItem {
  using TKeyIndex = std::array<std::vector<int32_t>, 256>;
  std::unique_ptr<TKeyIndex> KeyIndex;  // lkEntry lines by low hash byte, in line order
  int32_t FirstLine = 0;                // the line after the header
  std::string Name;                     // between the brackets, as written
};

// Rotate left by 2, xor the upper-cased byte.
uint32_t NameHash(std::string_view name);
// Same length and equal through UpperTable; empty names equal nothing.
bool SameName(std::string_view a, std::string_view b);
// 1-based position of the first ";" outside double quotes, or 0.
size_t InlineCommentPos(std::string_view text);

class TIniItems {
 public:
  TIniItems() = default;
  TIniItems(const TIniItems&) = delete;
  TIniItems& operator=(const TIniItems&) = delete;

  // Replaces the content. Lines end at CR, LF or CR LF (LF CR is two
  // breaks); a NUL byte ends the text.
  void LoadFromText(std::string_view text);
  void LoadFromStream(TStream& stream);  // from the current position to the end
  // Every line followed by CR LF.
  std::string SaveToText() const;
  void SaveToStream(TStream& stream) const;
  void Clear();

  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  // REQUIRES nothing: an index outside 0..Count()-1 raises EStringListError
  // "Der Index der Liste überschreitet das Maximum (index)".
  const TIniItem& Item(int32_t index) const;
  const TStatistics& Statistics() const { return statistics_; }
  bool KeyIndexMode() const { return keyIndexMode_; }

  // The section, or nullptr; with create a missing one is appended (after
  // one blank line unless the store is empty or ends with a blank line).
  TSectionItem* FindSection(std::string_view name, bool create);
  // Line index of the key in the section, or -1; with create a missing key
  // (and section) is inserted. Uses the key index in key index mode, unless
  // `linear` is asked.
  int32_t FindKey(std::string_view section, std::string_view key, bool create, bool linear = false);
  // Value of an lkEntry line. REQUIRES: Item(line).Kind == lkEntry.
  const std::string& ValueAt(int32_t line) const { return Item(line).Value; }
  void SetValueAt(int32_t line, std::string value);

  void DeleteLine(int32_t line);
  // Removes a section with the block below it that belongs to it.
  void EraseSection(TSectionItem* section);

  // Names of all section headers in file order (parses every line).
  std::vector<std::string> SectionNames();
  // lkEntry names of the section in file order (parses the section).
  std::vector<std::string> KeyNames(std::string_view section);

 private:
  // One past the section's last line (the next header or the end).
  int32_t SectionEnd(const TSectionItem& section) const;
  void Parse(int32_t line);
  void Append(std::string_view line);
  void Insert(int32_t at, TIniItem item);
  void Remove(int32_t from, int32_t count);
  // Before lines move at `line`: drops every key index that may refer to a
  // line at or after it (or that the moved lines would belong to).
  void DropKeyIndexesFrom(int32_t line);
  // After lines moved at `line`: sections below it follow.
  void ShiftSections(int32_t line, int32_t delta);
  void BuildKeyIndex(TSectionItem& section);
  void Count(TLineKind kind, int delta);
  void Grow();

  std::vector<TIniItem> items_;
  // Bucket chains; the head of a chain is the back of its vector.
  std::array<std::vector<std::unique_ptr<TSectionItem>>, 256> sections_;
  TSectionItem* lastSection_ = nullptr;
  TStatistics statistics_;
  bool keyIndexMode_ = false;
};

}  // namespace sp
