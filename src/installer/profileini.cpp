#include "installer/profileini.h"

#include <cerrno>
#include <optional>
#include <vector>

#include "platform/filesys.h"
#include "support/files.h"
#include "support/inifile.h"
#include "support/text1252.h"

namespace sp {

namespace {

// A line of the file: its text [start, end) and its break [end, next).
struct TLine {
  size_t start, end, next;
};

std::vector<TLine> Lines(std::string_view text) {
  std::vector<TLine> lines;
  ForEachLine(text, [&](std::string_view line) {
    const size_t start = static_cast<size_t>(line.data() - text.data());
    const size_t end = start + line.size();
    size_t next = end;
    if (next < text.size() && text[next] == '\r') ++next;
    if (next < text.size() && text[next] == '\n') ++next;
    lines.push_back({start, end, next});
  });
  return lines;
}

std::optional<std::string_view> HeaderName(std::string_view line) {
  line = TrimLeft(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  const size_t close = line.find(']');
  return Trim(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
}

// The key of a key line, or nullopt for comments and lines without "=".
std::optional<std::string_view> KeyName(std::string_view line) {
  const std::string_view trimmed = TrimLeft(line);
  const size_t equals = trimmed.find('=');
  if (trimmed.empty() || trimmed.front() == ';' || equals == std::string_view::npos) return std::nullopt;
  return Trim(trimmed.substr(0, equals));
}

// Where a section and a key were found in the file's lines.
struct TPlace {
  std::optional<size_t> header;     // index of the section's header line
  size_t sectionEnd = 0;            // index after the section's last line
  size_t lastKey = 0;               // index of its last key line (the header when none)
  std::optional<size_t> keyLine;    // index of the key's line
};

TPlace Locate(std::string_view text, const std::vector<TLine>& lines, std::string_view section,
              std::string_view key) {
  TPlace place;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = text.substr(lines[i].start, lines[i].end - lines[i].start);
    const auto name = HeaderName(line);
    if (place.header) {
      if (name) break;
      place.sectionEnd = i + 1;
      const auto found = KeyName(line);
      if (found) place.lastKey = i;
      if (!place.keyLine && found && SameText(*found, key) && !found->empty()) place.keyLine = i;
    } else if (name && SameText(*name, section) && !name->empty()) {
      place.header = i;
      place.sectionEnd = i + 1;
      place.lastKey = i;
    }
  }
  return place;
}

// The file's text; a missing file is empty. False when it exists but
// cannot be read.
bool ReadText(const std::string& fileName, std::string& text) {
  text.clear();
  const int error = ReadWholeFile(AnsiToUtf8(fileName), text);
  return error == 0 || error == ENOENT || error == ENOTDIR;
}

}  // namespace

std::string TProfileIni::ReadString(std::string_view section, std::string_view key, std::string_view fallback) const {
  std::string text;
  if (!key.empty() && !section.empty() && ReadText(fileName_, text)) {
    const std::vector<TLine> lines = Lines(text);
    const TPlace place = Locate(text, lines, section, key);
    if (place.keyLine) {
      const TLine& line = lines[*place.keyLine];
      const std::string_view content = std::string_view(text).substr(line.start, line.end - line.start);
      std::string_view value = Trim(content.substr(content.find('=') + 1));
      if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
      return std::string(value.substr(0, kMaxReadLength));
    }
  }
  return std::string(TrimRight(fallback).substr(0, kMaxReadLength));
}

int32_t TProfileIni::ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const {
  int32_t value = fallback;
  return IniTextToInteger(ReadString(section, key, ""), value) ? value : fallback;
}

void TProfileIni::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  const std::string refused = ReplaceTextAll(Ansi("nach %s kann nicht geschrieben werden"), "%s", fileName_);
  std::string text;
  if (section.empty() || key.empty() || !ReadText(fileName_, text)) throw EIniFileException(refused);
  const std::vector<TLine> lines = Lines(text);
  const TPlace place = Locate(text, lines, section, key);
  const std::string keyLine = std::string(Trim(key)) + "=" + std::string(value);
  std::string changed;
  if (place.keyLine) {
    const TLine& line = lines[*place.keyLine];
    const std::string_view content = std::string_view(text).substr(line.start, line.end - line.start);
    const std::string_view oldKey = Trim(content.substr(0, content.find('=')));
    changed = text.substr(0, line.start) + std::string(oldKey) + "=" + std::string(value) + text.substr(line.end);
  } else if (place.header) {
    const TLine& after = lines[place.lastKey];
    const std::string breakBefore = after.next == after.end ? "\r\n" : "";
    changed = text.substr(0, after.next) + breakBefore + keyLine + "\r\n" + text.substr(after.next);
  } else {
    changed = text;
    if (!changed.empty() && changed.back() != '\n' && changed.back() != '\r') changed += "\r\n";
    if (!lines.empty() && lines.back().end > lines.back().start) changed += "\r\n";
    changed.append(1, '[').append(Trim(section)).append("]\r\n").append(keyLine).append("\r\n");
  }
  try {
    ReplaceFileAtomically(fileName_, changed);
  } catch (const Exception&) {
    throw EIniFileException(refused);
  }
}

}  // namespace sp
