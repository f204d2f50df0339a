// The line store behind TFastIniFile: an INI text as an ordered list of lines,
// sections found through a 256-bucket hash with a one-entry cache, key lines
// parsed only when first looked at, per-section key indexes for big files.
//
// Loading keeps the text in one buffer and only finds the section headers;
// the lines of a section become items when an operation first looks into it,
// and items refer to the buffer instead of copying it. So reading one key of
// a big file touches one section.
//
// Lines that no operation had to parse are written back byte for byte; a
// parsed key line is written as name "=" value, a parsed line without "="
// loses its leading blanks. Lines end at CR, LF or CR LF on input and with
// CR LF on output. Names compare case-insensitively through UpperTable; an
// empty name equals nothing.
//
// Not thread-safe; one owner at a time.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/stream.h"

namespace sp {

enum TLineKind : uint8_t { lkEntry = 0, lkText = 1, lkRaw = 2, lkSection = 3, lkComment = 4, lkBlank = 5 };

// One line. The views point into the store's text or its own strings and
// stay valid until the store is cleared or reloaded.
struct TIniItem {
  TLineKind Kind = lkRaw;
  uint32_t Hash = 0;        // NameHash(Name) for lkEntry, else 0
  std::string_view Name;    // lkEntry: the key; others: the whole line as written
  std::string_view Value;   // lkEntry: the value; others: empty
};

// Line counts by kind; Entries counts lkEntry, lkText and lkRaw lines.
struct TStatistics {
  int32_t Blanks = 0;
  int32_t Comments = 0;
  int32_t Entries = 0;
  int32_t Sections = 0;
};

// Rotate left by 2, xor the upper-cased byte.
uint32_t NameHash(std::string_view name);
// Same length and equal through UpperTable; empty names equal nothing.
bool SameName(std::string_view a, std::string_view b);
// 1-based position of the first ";" outside double quotes, or 0.
size_t InlineCommentPos(std::string_view text);

class TIniItems {
  struct TBlock;

 public:
  struct TSection;
  // A key line found by FindKey; valid until the next change of the store.
  struct TKeyRef {
    TBlock* block = nullptr;
    int32_t line = -1;
    explicit operator bool() const { return block != nullptr; }
  };

  TIniItems() = default;
  TIniItems(const TIniItems&) = delete;
  TIniItems& operator=(const TIniItems&) = delete;

  // Replaces the content; a NUL byte ends the text.
  void LoadFromText(std::string text);
  void LoadFromStream(TStream& stream);  // from the current position to the end
  // Every line followed by CR LF.
  std::string SaveToText() const;
  void SaveToStream(TStream& stream) const;
  void Clear();

  int32_t Count() const { return lineCount_; }
  // An index outside 0..Count()-1 raises EStringListError
  // "Der Index der Liste überschreitet das Maximum (index)".
  const TIniItem& Item(int32_t index) const;
  const TStatistics& Statistics() const { return statistics_; }
  // On when the loaded text had 250 or more entries per section on average.
  bool KeyIndexMode() const { return keyIndexMode_; }

  // The section (the last of duplicates), or nullptr; with create a missing
  // one is appended, after one blank line unless the store is empty or ends
  // with a blank line.
  TSection* FindSection(std::string_view name, bool create);
  // The key in the section; with create a missing key (and section) is
  // inserted below the section's last key. In key index mode the last of
  // duplicate keys is found, else (and with `linear`) the first.
  TKeyRef FindKey(std::string_view section, std::string_view key, bool create, bool linear = false);
  std::string_view Value(TKeyRef key) const;
  void SetValue(TKeyRef key, std::string value);
  void DeleteKey(TKeyRef key);
  // Removes a section with the block of lines below it that belongs to it.
  void EraseSection(TSection* section);

  // Names of all section headers in file order (parses every line).
  std::vector<std::string> SectionNames();
  // lkEntry names of the section in file order (parses the section).
  std::vector<std::string> KeyNames(std::string_view section);

  struct TSection {
    using TKeyIndex = std::array<std::vector<int32_t>, 256>;
    std::unique_ptr<TKeyIndex> KeyIndex;  // lkEntry lines by low hash byte, in line order
    TBlock* Block = nullptr;              // header and lines of the section
    std::string_view Name;                // between the brackets, as written
  };

 private:
  // A header line with the lines below it up to the next header (the first
  // block holds the lines before the first header and has no section).
  // Until split, the lines are the text range [begin, end).
  struct TBlock {
    size_t begin = 0, end = 0;
    int32_t lineCount = 0;
    bool split = false;
    std::vector<TIniItem> lines;
    TSection* section = nullptr;
  };

  void Split(TBlock& block) const;
  TIniItem Classified(std::string_view line) const;
  void Parse(TIniItem& item) const;
  std::string_view Keep(std::string text);
  void Count(TLineKind kind, int delta);
  void Insert(TBlock& block, int32_t at, TIniItem item);
  void Remove(TBlock& block, int32_t from, int32_t count);
  void AppendLine(std::string text);
  void Register(TBlock& block, std::string_view name);
  void BuildKeyIndex(TSection& section);

  std::string text_;                // the loaded text; items refer into it
  std::deque<std::string> kept_;    // texts written since loading; items refer into them
  mutable std::list<TBlock> blocks_;
  // Bucket chains; the head of a chain is the back of its vector.
  std::array<std::vector<std::unique_ptr<TSection>>, 256> sections_;
  TSection* lastSection_ = nullptr;
  TStatistics statistics_;
  int32_t lineCount_ = 0;
  bool onlyCrLf_ = true;
  bool keyIndexMode_ = false;
};

}  // namespace sp
