// Numbers as text and back: the general form, parsing, number patterns.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "support/formatting.h"
#include "support/text1252.h"

namespace sp {

TFormatSettings& FormatSettings() {
  static TFormatSettings settings;
  return settings;
}

namespace {

// The 15 significant digits of |value| (trailing zeros removed) and the
// decimal exponent of the first digit.
struct Digits {
  std::string digits;
  int exponent = 0;
};

Digits SignificantDigits(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(value));
  Digits d;
  for (const char* p = buffer; *p && *p != 'e'; ++p)
    if (*p >= '0' && *p <= '9') d.digits += *p;
  d.exponent = std::atoi(std::strchr(buffer, 'e') + 1);
  while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
  return d;
}

// The quick way for the numbers files are full of. Between 1E-4 and 1E15 the
// text is the 15-significant-digit decimal in fixed notation. When the
// shortest decimal that reads back as the same double has at most 15
// significant digits, it is that decimal: two different 15-digit decimals lie
// further apart than the reals that round to one double. False otherwise.
bool ShortFixedText(double value, char separator, std::string& text) {
  const double magnitude = std::fabs(value);
  if (!(magnitude >= 1e-4 && magnitude < 1e15)) return false;
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  if (result.ec != std::errc()) return false;
  int significant = 0;
  bool leading = true;
  for (const char* p = buffer; p < result.ptr; ++p) {
    if (*p < '0' || *p > '9' || (leading && *p == '0')) continue;
    leading = false;
    ++significant;
  }
  if (significant > 15) return false;
  text.assign(buffer, result.ptr);
  const size_t point = text.find('.');
  if (point != std::string::npos) text[point] = separator;
  return true;
}

}  // namespace

std::string FloatToText(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  if (value == 0) return "0";
  const char separator = FormatSettings().DecimalSeparator;
  std::string quick;
  if (ShortFixedText(value, separator, quick)) return quick;
  const Digits d = SignificantDigits(value);
  std::string out = value < 0 ? "-" : "";
  if (d.exponent >= 15 || d.exponent < -4) {
    out += d.digits[0];
    if (d.digits.size() > 1) out += separator + d.digits.substr(1);
    out += 'E' + std::to_string(d.exponent);
    return out;
  }
  if (d.exponent < 0) {
    out += '0';
    out += separator;
    out += std::string(static_cast<size_t>(-d.exponent - 1), '0') + d.digits;
    return out;
  }
  const size_t integerDigits = static_cast<size_t>(d.exponent) + 1;
  if (d.digits.size() <= integerDigits) return out + d.digits + std::string(integerDigits - d.digits.size(), '0');
  return out + d.digits.substr(0, integerDigits) + separator + d.digits.substr(integerDigits);
}

bool TextToFloat(std::string_view text, double& value) {
  text = Trim(text);
  const char separator = FormatSettings().DecimalSeparator;
  // Rewrite into the one syntax from_chars reads, refusing anything else.
  std::string plain;
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') plain += '-';
    ++i;
  }
  size_t mantissaDigits = 0;
  bool seenSeparator = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      plain += c;
      ++mantissaDigits;
    } else if (c == separator && !seenSeparator) {
      plain += '.';
      seenSeparator = true;
    } else {
      break;
    }
  }
  if (mantissaDigits == 0) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    plain += 'e';
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) plain += text[i++];
    size_t exponentDigits = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++exponentDigits) plain += text[i];
    if (exponentDigits == 0) return false;
  }
  if (i != text.size()) return false;
  double parsed = 0;
  const auto result = std::from_chars(plain.data(), plain.data() + plain.size(), parsed);
  if (result.ec != std::errc() || result.ptr != plain.data() + plain.size()) return false;
  value = parsed;
  return true;
}

double TextToFloatOr(std::string_view text, double fallback) {
  double value = fallback;
  return TextToFloat(text, value) ? value : fallback;
}

namespace {

// One section of a number pattern, split into its parts around the digits.
struct NumberSection {
  std::string_view text;
  int integerPlaceholders = 0;  // "0" and "#" before the decimal point
  int integerZeros = 0;         // placeholders from the first "0" to the point
  int fractionPlaceholders = 0;
  int lastFractionZero = 0;     // 1-based position of the last "0" after the point
  bool grouping = false;
  bool scientific = false;
  bool exponentPlus = false;  // "E+" shows the plus sign
  int exponentDigits = 0;
};

// Splits at ";" outside quotes.
std::vector<std::string_view> SplitSections(std::string_view pattern) {
  std::vector<std::string_view> sections;
  char quote = 0;
  size_t start = 0;
  for (size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '\'' || c == '"') {
      quote = c;
    } else if (c == ';') {
      sections.push_back(pattern.substr(start, i - start));
      start = i + 1;
    }
  }
  sections.push_back(pattern.substr(start));
  return sections;
}

NumberSection ParseSection(std::string_view text) {
  NumberSection s;
  s.text = text;
  char quote = 0;
  bool afterPoint = false;
  bool inExponent = false;
  bool seenIntegerZero = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quote) {
      if (c == quote) quote = 0;
      continue;
    }
    if (c == '\'' || c == '"') {
      quote = c;
    } else if (inExponent) {
      if (c == '0') ++s.exponentDigits;
      else inExponent = false;
    } else if ((c == 'E' || c == 'e') && i + 1 < text.size() && (text[i + 1] == '+' || text[i + 1] == '-')) {
      s.scientific = true;
      s.exponentPlus = text[i + 1] == '+';
      inExponent = true;
      ++i;
    } else if (c == '0' || c == '#') {
      if (afterPoint) {
        ++s.fractionPlaceholders;
        if (c == '0') s.lastFractionZero = s.fractionPlaceholders;
      } else {
        ++s.integerPlaceholders;
        if (c == '0') seenIntegerZero = true;
        if (seenIntegerZero) ++s.integerZeros;
      }
    } else if (c == '.' && !afterPoint) {
      afterPoint = true;
    } else if (c == ',') {
      s.grouping = true;
    }
  }
  return s;
}

// Renders |value| with one section; the sign is the caller's business.
std::string RenderSection(const NumberSection& s, double magnitude) {
  const TFormatSettings& fs = FormatSettings();
  int exponent = 0;
  if (s.scientific && magnitude != 0) {
    const int integerDigits = std::max(1, s.integerPlaceholders);
    exponent = static_cast<int>(std::floor(std::log10(magnitude))) - (integerDigits - 1);
    magnitude /= std::pow(10.0, exponent);
    // Rounding may carry into one more integer digit (9,995 -> 10,00).
    if (std::round(magnitude * std::pow(10.0, s.fractionPlaceholders)) >=
        std::pow(10.0, integerDigits + s.fractionPlaceholders)) {
      magnitude /= 10;
      ++exponent;
    }
  }
  std::string fixed(static_cast<size_t>(std::snprintf(nullptr, 0, "%.*f", s.fractionPlaceholders, magnitude)), '\0');
  std::snprintf(fixed.data(), fixed.size() + 1, "%.*f", s.fractionPlaceholders, magnitude);
  const size_t point = fixed.find('.');
  std::string integer = fixed.substr(0, point);
  std::string fraction = point == std::string::npos ? std::string() : fixed.substr(point + 1);
  while (static_cast<int>(fraction.size()) > s.lastFractionZero && !fraction.empty() && fraction.back() == '0')
    fraction.pop_back();
  if (integer == "0") integer.clear();
  if (static_cast<int>(integer.size()) < s.integerZeros)
    integer.insert(0, static_cast<size_t>(s.integerZeros) - integer.size(), '0');

  std::string out;
  int integerSeen = 0;   // placeholders of the integer part met so far
  int fractionSeen = 0;  // placeholders of the fraction met so far
  bool afterPoint = false;
  char quote = 0;
  const int extra = static_cast<int>(integer.size()) - s.integerPlaceholders;
  auto emitIntegerDigit = [&](int index) {
    out += integer[static_cast<size_t>(index)];
    const int right = static_cast<int>(integer.size()) - 1 - index;
    if (s.grouping && right > 0 && right % 3 == 0) out += fs.ThousandSeparator;
  };
  for (size_t i = 0; i < s.text.size(); ++i) {
    const char c = s.text[i];
    if (quote) {
      if (c == quote) quote = 0;
      else out += c;
      continue;
    }
    if (c == '\'' || c == '"') {
      quote = c;
    } else if ((c == 'E' || c == 'e') && i + 1 < s.text.size() && (s.text[i + 1] == '+' || s.text[i + 1] == '-')) {
      out += c;
      if (exponent < 0) out += '-';
      else if (s.exponentPlus) out += '+';
      std::string digits = std::to_string(std::abs(exponent));
      if (static_cast<int>(digits.size()) < s.exponentDigits)
        digits.insert(0, static_cast<size_t>(s.exponentDigits) - digits.size(), '0');
      out += digits;
      ++i;
      while (i + 1 < s.text.size() && s.text[i + 1] == '0') ++i;
    } else if (c == '0' || c == '#') {
      if (afterPoint) {
        if (fractionSeen < static_cast<int>(fraction.size())) out += fraction[static_cast<size_t>(fractionSeen)];
        ++fractionSeen;
      } else {
        // The first placeholder also takes the digits that have no place of their own.
        const int first = integerSeen == 0 ? 0 : integerSeen + extra;
        const int last = integerSeen + extra;
        for (int index = std::max(first, 0); index <= last; ++index) emitIntegerDigit(index);
        ++integerSeen;
      }
    } else if (c == '.' && !afterPoint) {
      afterPoint = true;
      if (integerSeen == 0)
        for (int index = 0; index < static_cast<int>(integer.size()); ++index) emitIntegerDigit(index);
      if (!fraction.empty()) out += fs.DecimalSeparator;
    } else if (c != ',') {
      out += c;
    }
  }
  if (!afterPoint && s.integerPlaceholders == 0)
    for (int index = 0; index < static_cast<int>(integer.size()); ++index) emitIntegerDigit(index);
  return out;
}

bool HasDigitOtherThanZero(std::string_view text) {
  for (char c : text)
    if (c >= '1' && c <= '9') return true;
  return false;
}

}  // namespace

std::string FormatFloat(std::string_view pattern, double value) {
  if (std::isnan(value) || std::isinf(value)) return FloatToText(value);
  const auto sections = SplitSections(pattern);
  std::string_view chosen = sections[0];
  bool signInPattern = false;
  if (value < 0 && sections.size() >= 2 && !sections[1].empty()) {
    chosen = sections[1];
    signInPattern = true;
  } else if (value == 0 && sections.size() >= 3 && !sections[2].empty()) {
    chosen = sections[2];
  }
  if (chosen.empty()) return FloatToText(value);
  const std::string body = RenderSection(ParseSection(chosen), std::fabs(value));
  // A negative value that rounds to nothing shown carries no minus sign.
  if (value < 0 && !signInPattern && HasDigitOtherThanZero(body)) return "-" + body;
  return body;
}

}  // namespace sp
