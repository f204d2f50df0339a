#include "platform/memtable/fieldcodec.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "support/formatting.h"
#include "support/text1252.h"

namespace sp {
namespace {

constexpr char kPackBase = 32;

struct TIntegerRange {
  int64_t low, high;
};

TIntegerRange RangeOf(TFieldType type) {
  switch (type) {
    case TFieldType::ftSmallint: return {-32768, 32767};
    case TFieldType::ftWord: return {0, 65535};
    case TFieldType::ftLargeint:
      return {std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max()};
    default: return {std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()};
  }
}

std::optional<int64_t> ParseInteger(std::string_view text, TIntegerRange range) {
  text = Trim(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int64_t value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end || value < range.low || value > range.high) return std::nullopt;
  return value;
}

// Fixed floats are the regional text with "." for the separator in force, so
// that both variants share one float conversion.
std::string FixedFloatText(double value) {
  std::string text = FloatToText(value);
  const char separator = FormatSettings().DecimalSeparator;
  if (separator != '.')
    for (char& c : text)
      if (c == separator) c = '.';
  return text;
}

std::optional<double> ParseFixedFloat(std::string_view text) {
  const char separator = FormatSettings().DecimalSeparator;
  std::string regional(text);
  if (separator != '.') {
    if (regional.find(separator) != std::string::npos) return std::nullopt;
    for (char& c : regional)
      if (c == '.') c = separator;
  }
  double value = 0;
  if (!TextToFloat(regional, value)) return std::nullopt;
  return value;
}

// Reads up to `count` numbers separated by `separator`; at least `minimum`.
bool ReadNumbers(std::string_view text, char separator, int minimum, int count, int* numbers) {
  int n = 0;
  size_t i = 0;
  while (n < count) {
    const size_t start = i;
    int value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
      if (value > 99999) return false;
      value = value * 10 + (text[i] - '0');
      ++i;
    }
    if (i == start) return false;
    numbers[n++] = value;
    if (i == text.size()) break;
    if (text[i] != separator || n == count) return false;
    ++i;
  }
  return n >= minimum && i == text.size();
}

std::optional<double> ParseClock(std::string_view text, char separator) {
  int parts[3] = {0, 0, 0};
  TDateTime time = 0;
  if (!ReadNumbers(Trim(text), separator, 2, 3, parts) || !EncodeTime(parts[0], parts[1], parts[2], 0, time))
    return std::nullopt;
  return time;
}

std::optional<double> ParseFixedDate(std::string_view text) {
  int parts[3] = {0, 0, 0};
  TDateTime date = 0;
  if (!ReadNumbers(Trim(text), '/', 3, 3, parts) || !EncodeDate(parts[2], parts[1], parts[0], date))
    return std::nullopt;
  return date;
}

// Joins a date and a time of day the way TDateTime counts before 1899.
double JoinDateTime(double date, double time) { return date < 0 ? date - time : date + time; }

std::optional<double> ParseFixedDateTime(std::string_view text) {
  text = Trim(text);
  const size_t blank = text.find(' ');
  if (blank == std::string_view::npos) {
    if (text.find('/') == std::string_view::npos) return ParseClock(text, ':');
    return ParseFixedDate(text);
  }
  const auto date = ParseFixedDate(text.substr(0, blank));
  const auto time = ParseClock(text.substr(blank + 1), ':');
  if (!date || !time) return std::nullopt;
  return JoinDateTime(*date, *time);
}

std::optional<double> ParseRegionalDateTime(std::string_view text) {
  TDateTime value = 0;
  if (TextToDateTime(text, value)) return value;
  return ParseClock(text, FormatSettings().TimeSeparator);
}

std::string FixedDateText(double value) {
  int year = 0, month = 0, day = 0;
  DecodeDate(value, year, month, day);
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d", day, month, year);
  return buffer;
}

std::string FixedTimeText(double value) {
  int hour = 0, minute = 0, second = 0, millisecond = 0;
  DecodeTime(value, hour, minute, second, millisecond);
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", hour, minute, second);
  return buffer;
}

bool HasTimeOfDay(double value) { return std::trunc(value) != value; }
bool HasDay(double value) { return std::trunc(value) != 0; }

std::string DateTimeText(TValueClass cls, double value, TValueFormats formats) {
  const bool fixed = formats == TValueFormats::Fixed;
  if (cls == TValueClass::Date)
    return fixed ? FixedDateText(value) : FormatDateTime(FormatSettings().ShortDateFormat, value);
  if (cls == TValueClass::Time)
    return fixed ? FixedTimeText(value) : FormatDateTime(FormatSettings().LongTimeFormat, value);
  if (!fixed) return DateTimeToText(value);
  if (!HasDay(value)) return FixedTimeText(value);
  if (!HasTimeOfDay(value)) return FixedDateText(value);
  return FixedDateText(value) + " " + FixedTimeText(value);
}

}  // namespace

std::string ValueToText(TFieldType type, const TFieldValue& value, TValueFormats formats) {
  const TValueClass cls = ValueClassOf(type);
  switch (cls) {
    case TValueClass::Text:
    case TValueClass::Binary:
      return std::get<std::string>(value);
    case TValueClass::Integer:
      return std::to_string(std::get<int64_t>(value));
    case TValueClass::Float:
      return formats == TValueFormats::Fixed ? FixedFloatText(std::get<double>(value))
                                             : FloatToText(std::get<double>(value));
    case TValueClass::Boolean:
      return std::get<bool>(value) ? "True" : "False";
    case TValueClass::Date:
    case TValueClass::Time:
    case TValueClass::DateTime:
      return DateTimeText(cls, std::get<double>(value), formats);
    case TValueClass::Unsupported:
      break;
  }
  return std::string();
}

std::optional<TFieldValue> TextToValue(TFieldType type, std::string_view text, TValueFormats formats) {
  const bool fixed = formats == TValueFormats::Fixed;
  const TValueClass cls = ValueClassOf(type);
  switch (cls) {
    case TValueClass::Text:
    case TValueClass::Binary:
      return TFieldValue(std::string(text));
    case TValueClass::Integer:
      if (auto n = ParseInteger(text, RangeOf(type))) return TFieldValue(*n);
      break;
    case TValueClass::Float:
      if (fixed) {
        if (auto f = ParseFixedFloat(text)) return TFieldValue(*f);
      } else if (double f = 0; TextToFloat(text, f)) {
        return TFieldValue(f);
      }
      break;
    case TValueClass::Boolean:
      if (SameText(Trim(text), "True")) return TFieldValue(true);
      if (SameText(Trim(text), "False")) return TFieldValue(false);
      break;
    case TValueClass::Time:
      if (auto t = ParseClock(text, fixed ? ':' : FormatSettings().TimeSeparator)) return TFieldValue(*t);
      break;
    case TValueClass::Date:
    case TValueClass::DateTime:
      if (auto d = fixed ? ParseFixedDateTime(text) : ParseRegionalDateTime(text)) return TFieldValue(*d);
      break;
    case TValueClass::Unsupported:
      break;
  }
  return std::nullopt;
}

namespace {

// Packs into `out`, writing each character through `put` (which may double quotes).
template <typename Put>
void PackInto(std::string_view bytes, Put put) {
  const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t n = bytes.size();
  size_t i = 0;
  for (; i + 3 <= n; i += 3) {
    const uint32_t v = b[i] | (b[i + 1] << 8) | (b[i + 2] << 16);
    put(static_cast<char>(kPackBase + (v & 63)));
    put(static_cast<char>(kPackBase + ((v >> 6) & 63)));
    put(static_cast<char>(kPackBase + ((v >> 12) & 63)));
    put(static_cast<char>(kPackBase + (v >> 18)));
  }
  const size_t rest = n - i;
  if (rest == 0) return;
  const uint32_t v = b[i] | (rest == 2 ? (b[i + 1] << 8) : 0);
  put(static_cast<char>(kPackBase + (v & 63)));
  put(static_cast<char>(kPackBase + ((v >> 6) & 63)));
  if (rest == 2) put(static_cast<char>(kPackBase + ((v >> 12) & 63)));
}

uint32_t SixBits(char c) { return static_cast<uint32_t>(static_cast<unsigned char>(c) - kPackBase) & 63; }

}  // namespace

std::string PackSixBit(std::string_view bytes) {
  std::string out;
  out.reserve((4 * bytes.size() + 2) / 3);
  PackInto(bytes, [&out](char c) { out += c; });
  return out;
}

std::string UnpackSixBit(std::string_view chars) {
  std::string out;
  const size_t n = chars.size();
  out.reserve(n * 3 / 4);
  size_t i = 0;
  for (; i + 4 <= n; i += 4) {
    const uint32_t v = SixBits(chars[i]) | (SixBits(chars[i + 1]) << 6) | (SixBits(chars[i + 2]) << 12) |
                       (SixBits(chars[i + 3]) << 18);
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
    out += static_cast<char>(v >> 16);
  }
  const size_t rest = n - i;
  if (rest >= 2) {
    uint32_t v = SixBits(chars[i]) | (SixBits(chars[i + 1]) << 6);
    if (rest == 3) v |= SixBits(chars[i + 2]) << 12;
    out += static_cast<char>(v & 0xFF);
    if (rest == 3) out += static_cast<char>((v >> 8) & 0xFF);
  }
  return out;
}

void AppendCsvCell(std::string& out, TFieldType type, const TFieldValue& value, TValueFormats formats) {
  if (std::holds_alternative<std::monostate>(value)) return;
  switch (ValueClassOf(type)) {
    case TValueClass::Text: {
      std::string escaped;
      AppendEscaped(escaped, std::get<std::string>(value));
      AppendQuoted(out, escaped);
      return;
    }
    case TValueClass::Binary: {
      const std::string& bytes = std::get<std::string>(value);
      out.reserve(out.size() + (4 * bytes.size() + 2) / 3 + 16);
      out += '"';
      PackInto(bytes, [&out](char c) {
        if (c == '"') out += '"';
        out += c;
      });
      out += '"';
      return;
    }
    default:
      AppendQuoted(out, ValueToText(type, value, formats));
  }
}

std::optional<TFieldValue> CsvCellToValue(TFieldType type, std::string_view content, TValueFormats formats) {
  switch (ValueClassOf(type)) {
    case TValueClass::Text: return TFieldValue(Unescape(content));
    case TValueClass::Binary: return TFieldValue(UnpackSixBit(content));
    default: return TextToValue(type, content, formats);
  }
}

}  // namespace sp
