// Dates and times: the calendar, date patterns, date-time text and parsing.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <string>

#include "support/formatting.h"
#include "support/text1252.h"

namespace sp {

namespace {

constexpr int64_t kMsPerDay = 86400000;

// Whole days and milliseconds of the day, rounded to the millisecond. The
// time of a negative date-time is its fraction's magnitude.
void SplitDateTime(TDateTime value, int64_t& days, int64_t& ms) {
  days = static_cast<int64_t>(std::trunc(value));
  ms = static_cast<int64_t>(std::llround(std::fabs(value - static_cast<double>(days)) * kMsPerDay));
  if (ms >= kMsPerDay) {
    ms -= kMsPerDay;
    days += value < 0 ? -1 : 1;
  }
}

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month) {
  static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

// Days since 0000-03-01 based civil conversion (Howard Hinnant's algorithm).
int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;  // days since 1970-01-01
}

void CivilFromDays(int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

// 1899-12-30 counted from 1970-01-01.
const int64_t kEpochFrom1970 = DaysFromCivil(1899, 12, 30);

void Pad(std::string& out, int value, int width) {
  std::string digits = std::to_string(value);
  if (static_cast<int>(digits.size()) < width) out.append(static_cast<size_t>(width) - digits.size(), '0');
  out += digits;
}

char Upper(char c) { return static_cast<char>(UpperTable[static_cast<unsigned char>(c)]); }

bool StartsWithText(std::string_view text, size_t at, std::string_view word) {
  return at + word.size() <= text.size() && SameText(text.substr(at, word.size()), word);
}

void AppendDateTime(std::string& out, std::string_view pattern, TDateTime value, int depth);

// Renders one pattern; `depth` stops patterns that name each other forever.
void AppendDateTime(std::string& out, std::string_view pattern, TDateTime value, int depth) {
  if (depth > 2) return;
  const TFormatSettings& fs = FormatSettings();
  int year, month, day, hour, minute, second, ms;
  DecodeDate(value, year, month, day);
  DecodeTime(value, hour, minute, second, ms);
  int64_t days, msOfDay;
  SplitDateTime(value, days, msOfDay);
  const int weekday = static_cast<int>(((days + kEpochFrom1970 + 4) % 7 + 7) % 7);  // 1970-01-01: Thursday

  bool twelveHour = false;
  {
    char quote = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
      const char c = pattern[i];
      if (quote) {
        if (c == quote) quote = 0;
      } else if (c == '\'' || c == '"') {
        quote = c;
      } else if (StartsWithText(pattern, i, "am/pm") || StartsWithText(pattern, i, "a/p") ||
                 StartsWithText(pattern, i, "ampm")) {
        twelveHour = true;
      }
    }
  }
  const int shownHour = twelveHour ? (hour % 12 == 0 ? 12 : hour % 12) : hour;

  char lastToken = 0;
  for (size_t i = 0; i < pattern.size();) {
    const char c = pattern[i];
    const char u = Upper(c);
    size_t count = 1;
    while (i + count < pattern.size() && Upper(pattern[i + count]) == u) ++count;
    if (c == '\'' || c == '"') {
      const size_t close = pattern.find(c, i + 1);
      const size_t end = close == std::string_view::npos ? pattern.size() : close;
      out.append(pattern.substr(i + 1, end - i - 1));
      i = close == std::string_view::npos ? pattern.size() : close + 1;
      continue;
    }
    if (u == 'A') {
      if (StartsWithText(pattern, i, "am/pm")) {
        out += pattern.substr(hour < 12 ? i : i + 3, 2);  // in the pattern's letter case
        i += 5;
      } else if (StartsWithText(pattern, i, "a/p")) {
        out += hour < 12 ? pattern[i] : pattern[i + 2];
        i += 3;
      } else if (StartsWithText(pattern, i, "ampm")) {
        out += hour < 12 ? fs.TimeAMString : fs.TimePMString;
        i += 4;
      } else {
        out += c;
        ++i;
      }
      continue;
    }
    // A number written with one digit, or padded to `width` when the letter is repeated.
    auto field = [&](int number, size_t width) {
      Pad(out, number, count >= width ? static_cast<int>(width) : 1);
      count = std::min(count, width);
    };
    switch (u) {
      case 'C':
        AppendDateTime(out, fs.ShortDateFormat, value, depth + 1);
        if (msOfDay != 0) {
          out += ' ';
          AppendDateTime(out, fs.LongTimeFormat, value, depth + 1);
        }
        count = 1;
        break;
      case 'D':
        if (count == 1) Pad(out, day, 1);
        else if (count == 2) Pad(out, day, 2);
        else if (count == 3) out += fs.ShortDayNames[weekday];
        else if (count == 4) out += fs.LongDayNames[weekday];
        else if (count == 5) AppendDateTime(out, fs.ShortDateFormat, value, depth + 1);
        else AppendDateTime(out, fs.LongDateFormat, value, depth + 1);
        count = std::min<size_t>(count, 6);
        break;
      case 'M':
        if (lastToken == 'H' && count <= 2) {
          Pad(out, minute, static_cast<int>(count));
        } else if (count <= 2) {
          Pad(out, month, static_cast<int>(count));
        } else if (count == 3) {
          out += fs.ShortMonthNames[month - 1];
        } else {
          out += fs.LongMonthNames[month - 1];
          count = 4;
        }
        break;
      case 'Y':
        if (count <= 2) Pad(out, year % 100, 2);
        else Pad(out, year, 4);
        count = std::min<size_t>(count, 4);
        break;
      case 'H':
        field(shownHour, 2);
        break;
      case 'N':
        field(minute, 2);
        break;
      case 'S':
        field(second, 2);
        break;
      case 'Z':
        field(ms, 3);
        break;
      case 'T':
        AppendDateTime(out, count >= 2 ? fs.LongTimeFormat : fs.ShortTimeFormat, value, depth + 1);
        count = std::min<size_t>(count, 2);
        break;
      case '/':
        out += fs.DateSeparator;
        count = 1;
        break;
      case ':':
        out += fs.TimeSeparator;
        count = 1;
        break;
      default:
        out.append(pattern.substr(i, count));
        i += count;
        continue;
    }
    if (u != ':' && u != '/') lastToken = u;
    i += count;
  }
}

// Reads an unsigned number of at most `maxDigits` digits at `pos`.
bool ReadNumber(std::string_view text, size_t& pos, int maxDigits, int& value) {
  const size_t start = pos;
  value = 0;
  while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && static_cast<int>(pos - start) < maxDigits)
    value = value * 10 + (text[pos++] - '0');
  return pos > start;
}

void SkipBlanks(std::string_view text, size_t& pos) {
  while (pos < text.size() && IsBlank(static_cast<unsigned char>(text[pos]))) ++pos;
}

// Reads a time "h:n[:s[.z]]" with the time separator in force.
bool ReadTime(std::string_view text, size_t& pos, TDateTime& time) {
  const char separator = FormatSettings().TimeSeparator;
  int hour, minute = 0, second = 0, ms = 0;
  if (!ReadNumber(text, pos, 2, hour)) return false;
  if (pos >= text.size() || text[pos] != separator) return false;
  ++pos;
  if (!ReadNumber(text, pos, 2, minute)) return false;
  if (pos < text.size() && text[pos] == separator) {
    ++pos;
    if (!ReadNumber(text, pos, 2, second)) return false;
    if (pos < text.size() && text[pos] == '.') {
      ++pos;
      if (!ReadNumber(text, pos, 3, ms)) return false;
    }
  }
  return EncodeTime(hour, minute, second, ms, time);
}

// Reads a date in the order of the short date format (day, month, year by
// default); a missing year is the current one, a two-digit year lies within
// 50 years of 2000.
bool ReadDate(std::string_view text, size_t& pos, TDateTime& date) {
  const TFormatSettings& fs = FormatSettings();
  std::string order;
  for (char c : fs.ShortDateFormat) {
    const char u = Upper(c);
    if ((u == 'D' || u == 'M' || u == 'Y') && order.find(u) == std::string::npos) order += u;
  }
  if (order.size() != 3) order = "DMY";
  int parts[3] = {0, 0, 0};
  int digits[3] = {0, 0, 0};
  int found = 0;
  for (; found < 3; ++found) {
    if (found > 0) {
      if (pos >= text.size() || text[pos] != fs.DateSeparator) break;
      ++pos;
    }
    const size_t start = pos;
    if (!ReadNumber(text, pos, order[found] == 'Y' ? 4 : 2, parts[found])) return false;
    digits[found] = static_cast<int>(pos - start);
  }
  if (found < 2) return false;
  int year = 0, month = 0, day = 0;
  bool yearGiven = false;
  for (int k = 0; k < found; ++k) {
    if (order[k] == 'D') day = parts[k];
    if (order[k] == 'M') month = parts[k];
    if (order[k] == 'Y') {
      year = parts[k];
      yearGiven = true;
      if (digits[k] <= 2) year += year < 50 ? 2000 : 1900;
    }
  }
  if (!yearGiven) {
    if (found == 3) return false;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    year = local.tm_year + 1900;
  }
  return EncodeDate(year, month, day, date);
}

}  // namespace

bool EncodeDate(int year, int month, int day, TDateTime& result) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return false;
  result = static_cast<double>(DaysFromCivil(year, month, day) - kEpochFrom1970);
  return true;
}

bool EncodeTime(int hour, int minute, int second, int millisecond, TDateTime& result) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
      millisecond > 999)
    return false;
  result = (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + millisecond) / kMsPerDay;
  return true;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day) {
  if (!InCalendar(value)) {
    year = month = day = 0;
    return;
  }
  int64_t days, ms;
  SplitDateTime(value, days, ms);
  CivilFromDays(days + kEpochFrom1970, year, month, day);
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond) {
  if (!InCalendar(value)) {
    hour = minute = second = millisecond = 0;
    return;
  }
  int64_t days, ms;
  SplitDateTime(value, days, ms);
  hour = static_cast<int>(ms / 3600000);
  minute = static_cast<int>(ms / 60000 % 60);
  second = static_cast<int>(ms / 1000 % 60);
  millisecond = static_cast<int>(ms % 1000);
}

bool InCalendar(TDateTime value) { return value > kMinDateTime && value < kMaxDateTime; }

std::string FormatDateTime(std::string_view pattern, TDateTime value) {
  if (!InCalendar(value)) return FloatToText(value);
  std::string out;
  AppendDateTime(out, pattern.empty() ? std::string_view("c") : pattern, value, 0);
  return out;
}

std::string DateTimeToText(TDateTime value) {
  if (!InCalendar(value)) return FloatToText(value);
  const TFormatSettings& fs = FormatSettings();
  int64_t days, ms;
  SplitDateTime(value, days, ms);
  if (days == 0) return FormatDateTime(fs.LongTimeFormat, value);
  std::string out = FormatDateTime(fs.ShortDateFormat, value);
  if (ms != 0) out += ' ' + FormatDateTime(fs.LongTimeFormat, value);
  return out;
}

bool TextToDateTime(std::string_view text, TDateTime& value) {
  text = Trim(text);
  size_t pos = 0;
  TDateTime date = 0, time = 0;
  size_t datePos = 0;
  if (ReadDate(text, datePos, date) && (datePos == text.size() || IsBlank(static_cast<unsigned char>(text[datePos])))) {
    pos = datePos;
    SkipBlanks(text, pos);
    if (pos < text.size() && !ReadTime(text, pos, time)) return false;
  } else {
    date = 0;
    if (!ReadTime(text, pos, time)) return false;
  }
  if (pos != text.size()) return false;
  value = date < 0 ? date - time : date + time;
  return true;
}

}  // namespace sp
