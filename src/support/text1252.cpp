#include "support/text1252.h"

#include <algorithm>

namespace sp {

namespace {

// Code points of 0x80..0x9F; the undefined bytes keep their C1 control.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr std::array<unsigned char, 256> MakeUpper() {
  std::array<unsigned char, 256> t{};
  for (int b = 0; b < 256; ++b) t[b] = static_cast<unsigned char>(b);
  for (int b = 'a'; b <= 'z'; ++b) t[b] = static_cast<unsigned char>(b - 0x20);
  for (int b = 0xE0; b <= 0xFE; ++b)
    if (b != 0xF7) t[b] = static_cast<unsigned char>(b - 0x20);
  t[0x9A] = 0x8A;
  t[0x9C] = 0x8C;
  t[0x9E] = 0x8E;
  t[0xFF] = 0x9F;
  return t;
}

constexpr std::array<unsigned char, 256> MakeLower(const std::array<unsigned char, 256>& upper) {
  std::array<unsigned char, 256> t{};
  for (int b = 0; b < 256; ++b) t[b] = static_cast<unsigned char>(b);
  for (int b = 0; b < 256; ++b)
    if (upper[b] != b) t[upper[b]] = static_cast<unsigned char>(b);
  return t;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

char ToAnsiOrQuestion(char32_t cp) {
  const int b = CodePointToAnsi(cp);
  return b < 0 ? '?' : static_cast<char>(b);
}

}  // namespace

const std::array<unsigned char, 256> UpperTable = MakeUpper();
const std::array<unsigned char, 256> LowerTable = MakeLower(MakeUpper());

char32_t AnsiToCodePoint(unsigned char byte) {
  if (byte >= 0x80 && byte < 0xA0) return kHigh[byte - 0x80];
  return byte;
}

int CodePointToAnsi(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  for (int i = 0; i < 32; ++i)
    if (kHigh[i] == cp) return 0x80 + i;
  return -1;
}

std::string AnsiToUtf8(std::string_view ansi) {
  std::string out;
  out.reserve(ansi.size() + ansi.size() / 4);
  for (unsigned char c : ansi) AppendUtf8(out, AnsiToCodePoint(c));
  return out;
}

std::string Utf8ToAnsi(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
  const auto* end = p + utf8.size();
  while (p < end) {
    const unsigned char lead = *p;
    if (lead < 0x80) {
      out += static_cast<char>(lead);
      ++p;
      continue;
    }
    int length = lead >= 0xF5 ? 0 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    char32_t cp = length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
    int consumed = 1;  // the lead byte and the continuation bytes that follow it
    while (consumed < length && p + consumed < end && (p[consumed] & 0xC0) == 0x80)
      cp = (cp << 6) | (p[consumed++] & 0x3F);
    // Truncated sequences, overlong forms and surrogates are malformed.
    const bool valid = length > 0 && consumed == length &&
                       !(length == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) &&
                       !(length == 4 && (cp < 0x10000 || cp > 0x10FFFF));
    out += valid ? ToAnsiOrQuestion(cp) : '?';
    p += consumed;
  }
  return out;
}

std::u16string AnsiToUtf16(std::string_view ansi) {
  std::u16string out;
  out.reserve(ansi.size());
  for (unsigned char c : ansi) out += static_cast<char16_t>(AnsiToCodePoint(c));
  return out;
}

std::string Utf16ToAnsi(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (size_t i = 0; i < utf16.size(); ++i) {
    const char16_t u = utf16[i];
    // A surrogate pair is one character outside the code page: one "?".
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) ++i;
    out += (u >= 0xD800 && u <= 0xDFFF) ? '?' : ToAnsiOrQuestion(u);
  }
  return out;
}

std::string AnsiUpperCase(std::string_view text) {
  std::string out(text);
  for (auto& c : out) c = static_cast<char>(UpperTable[static_cast<unsigned char>(c)]);
  return out;
}

std::string AnsiLowerCase(std::string_view text) {
  std::string out(text);
  for (auto& c : out) c = static_cast<char>(LowerTable[static_cast<unsigned char>(c)]);
  return out;
}

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (UpperTable[static_cast<unsigned char>(a[i])] != UpperTable[static_cast<unsigned char>(b[i])]) return false;
  return true;
}

int CompareText(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const int d = UpperTable[static_cast<unsigned char>(a[i])] - UpperTable[static_cast<unsigned char>(b[i])];
    if (d != 0) return d;
  }
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

size_t FindText(std::string_view haystack, std::string_view needle, size_t from) {
  if (needle.empty() || needle.size() > haystack.size()) return std::string_view::npos;
  for (size_t i = from; i + needle.size() <= haystack.size(); ++i)
    if (SameText(haystack.substr(i, needle.size()), needle)) return i;
  return std::string_view::npos;
}

std::string_view TrimLeft(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(static_cast<unsigned char>(text[i]))) ++i;
  return text.substr(i);
}

std::string_view TrimRight(std::string_view text) {
  size_t n = text.size();
  while (n > 0 && IsBlank(static_cast<unsigned char>(text[n - 1]))) --n;
  return text.substr(0, n);
}

std::string_view Trim(std::string_view text) { return TrimRight(TrimLeft(text)); }

}  // namespace sp
