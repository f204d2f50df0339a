#include "support/fastini.h"

#include "platform/errors.h"
#include "support/fileex.h"
#include "support/files.h"
#include "support/text1252.h"

namespace sp {

namespace {

constexpr size_t kMaxCommentLength = 255;

}  // namespace

TFastIniFile::TFastIniFile(std::string fileName) : TCustomIniFile(std::move(fileName)) {}

TFastIniFile::~TFastIniFile() {
  try {
    Flush();
  } catch (const std::exception&) {
    // Destructors must not throw; UpdateFile reports write failures.
  }
  Clear();
}

void TFastIniFile::Load() {
  if (!FileName().empty() && FileExistsSafe(FileName())) {
    TFileStreamEx stream(FileName(), TFileOpenMode::Read);
    items_.LoadFromStream(stream);
  } else {
    items_.Clear();
  }
  loaded_ = true;
  modified_ = false;
}

void TFastIniFile::LoadFromText(std::string_view text) {
  items_.LoadFromText(std::string(text));
  loaded_ = true;
  modified_ = false;
}

void TFastIniFile::Clear() {
  items_.Clear();
  loaded_ = false;
  modified_ = false;
}

void TFastIniFile::Flush() {
  if (!modified_) return;
  const std::string folder = ExtractFilePath(FileName());
  if (!folder.empty() && !ForceFolder(folder)) throw EInOutError(Ansi("Verzeichnis kann nicht erstellt werden"), 3);
  ReplaceFileAtomically(FileName(), items_.SaveToText(), 10000);
  modified_ = false;
}

std::string TFastIniFile::ReadString(std::string_view section, std::string_view key, std::string_view fallback) {
  EnsureLoaded();
  const TIniItems::TKeyRef found = items_.FindKey(section, key, false);
  if (!found) return std::string(fallback);
  const std::string_view value = items_.Value(found);
  const size_t comment = StripComments ? InlineCommentPos(value) : 0;
  if (comment > 0) return std::string(Trim(value.substr(0, comment - 1)));
  return std::string(value);
}

void TFastIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  EnsureLoaded();
  if (key.empty()) {
    if (!value.empty()) return;
    if (section.empty()) Flush();
    else EraseSection(section);
    return;
  }
  const int32_t before = items_.Count();
  const TIniItems::TKeyRef found = items_.FindKey(section, key, true);
  // A new key must reach the file even when its value is empty.
  if (items_.Count() != before) modified_ = true;
  const std::string_view stored = items_.Value(found);
  std::string_view old = stored;
  std::string comment;
  const size_t position = StripComments ? InlineCommentPos(stored) : 0;
  if (position > 0) {
    comment = std::string(stored.substr(position - 1, kMaxCommentLength));
    old = Trim(old.substr(0, position - 1));
  }
  if (value == old) return;
  std::string next(value);
  if (!comment.empty()) {
    if (next.size() + 1 < position) next.resize(position - 1, ' ');
    else next += ' ';
    next += comment;
  }
  items_.SetValue(found, std::move(next));
  modified_ = true;
}

void TFastIniFile::ReadSection(std::string_view section, std::vector<std::string>& keys) {
  EnsureLoaded();
  keys = items_.KeyNames(section);
}

void TFastIniFile::ReadSections(std::vector<std::string>& sections) {
  EnsureLoaded();
  sections = items_.SectionNames();
}

void TFastIniFile::ReadSectionValues(std::string_view section, std::vector<std::string>& lines) {
  EnsureLoaded();
  std::vector<std::string> result;
  for (const auto& name : items_.KeyNames(section)) result.push_back(name + "=" + ReadString(section, name, ""));
  lines = std::move(result);
}

void TFastIniFile::EraseSection(std::string_view section) {
  EnsureLoaded();
  if (TIniItems::TSection* found = items_.FindSection(section, false)) items_.EraseSection(found);
  modified_ = true;
}

void TFastIniFile::DeleteKey(std::string_view section, std::string_view key) {
  EnsureLoaded();
  const TIniItems::TKeyRef found = items_.FindKey(section, key, false, true);
  if (!found) return;
  items_.DeleteKey(found);
  modified_ = true;
}

}  // namespace sp
