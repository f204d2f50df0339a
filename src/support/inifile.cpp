#include "support/inifile.h"

#include <limits>

namespace sp {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool IniTextToInteger(std::string_view text, int32_t& value) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    const std::string_view digits = text.substr(2);
    if (digits.size() > 8) return false;
    uint32_t number = 0;
    for (const char c : digits) {
      const int d = HexDigit(c);
      if (d < 0) return false;
      number = number * 16 + static_cast<uint32_t>(d);
    }
    value = static_cast<int32_t>(number);
    return true;
  }
  size_t i = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) ++i;
  if (i == text.size()) return false;
  int64_t number = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    number = number * 10 + (text[i] - '0');
    if (number > int64_t{std::numeric_limits<int32_t>::max()} + 1) return false;
  }
  if (negative) number = -number;
  if (number > std::numeric_limits<int32_t>::max()) return false;
  value = static_cast<int32_t>(number);
  return true;
}

int32_t TCustomIniFile::ReadInteger(std::string_view section, std::string_view key, int32_t fallback) {
  int32_t value = fallback;
  return IniTextToInteger(ReadString(section, key, ""), value) ? value : fallback;
}

void TCustomIniFile::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
  WriteString(section, key, std::to_string(value));
}

bool TCustomIniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

double TCustomIniFile::ReadFloat(std::string_view section, std::string_view key, double fallback) {
  return TextToFloatOr(ReadString(section, key, ""), fallback);
}

void TCustomIniFile::WriteFloat(std::string_view section, std::string_view key, double value) {
  WriteString(section, key, FloatToText(value));
}

TDateTime TCustomIniFile::ReadDateTime(std::string_view section, std::string_view key, TDateTime fallback) {
  TDateTime value = fallback;
  return TextToDateTime(ReadString(section, key, ""), value) ? value : fallback;
}

void TCustomIniFile::WriteDateTime(std::string_view section, std::string_view key, TDateTime value) {
  WriteString(section, key, DateTimeToText(value));
}

}  // namespace sp
