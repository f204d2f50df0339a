// The text, stream and number helpers declared in files.h.
#include <algorithm>
#include <random>

#include "support/files.h"
#include "support/text1252.h"

namespace sp {

std::vector<std::string> SplitText(std::string_view separator, std::string_view text, int maxCount, int fixedCount) {
  std::vector<std::string> parts;
  if (!text.empty() && maxCount >= 0) {
    if (separator.empty()) {
      parts.emplace_back(text);
    } else {
      size_t start = 0;
      while (start < text.size()) {
        const size_t hit = text.find(separator, start);
        const bool last = maxCount > 0 && static_cast<int>(parts.size()) + 1 == maxCount;
        if (hit == std::string_view::npos || last) {
          parts.emplace_back(text.substr(start));
          break;
        }
        parts.emplace_back(text.substr(start, hit - start));
        start = hit + separator.size();
      }
    }
  }
  if (fixedCount > 0) parts.resize(static_cast<size_t>(fixedCount));
  return parts;
}

std::string ReplaceTextAll(std::string_view text, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(text);
  std::string result;
  size_t start = 0;
  for (size_t hit; (hit = FindText(text, from, start)) != std::string_view::npos; start = hit + from.size()) {
    result.append(text.substr(start, hit - start));
    result.append(to);
  }
  result.append(text.substr(start));
  return result;
}

std::string ShortenLeft(std::string_view text, int n) {
  if (n < 0 || text.size() <= static_cast<size_t>(n)) return std::string(text);
  return ".." + std::string(text.substr(text.size() - std::min(text.size(), static_cast<size_t>(n) + 1)));
}

void CopyStreamData(TStream& source, TStream& target, bool fromCurrent) {
  const int64_t amount = fromCurrent ? source.Size() - source.Position() : source.Size();
  if (amount <= 0) return;
  if (!fromCurrent) source.SetPosition(0);
  target.SetPosition(0);
  target.CopyFrom(source, amount);
  target.SetPosition(0);
  if (!fromCurrent) source.SetPosition(0);
}

bool IsOneText(std::string_view text) { return text == "1"; }

std::string NewGuidText() {
  static thread_local std::mt19937_64 generator{std::random_device{}()};
  unsigned char bytes[16];
  for (int i = 0; i < 16; i += 8) {
    const uint64_t r = generator();
    for (int k = 0; k < 8; ++k) bytes[i + k] = static_cast<unsigned char>(r >> (8 * k));
  }
  bytes[6] = static_cast<unsigned char>((bytes[6] & 0x0F) | 0x40);  // version 4 (random)
  bytes[8] = static_cast<unsigned char>((bytes[8] & 0x3F) | 0x80);  // RFC 4122 variant
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string text;
  for (int i = 0; i < 16; ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) text += '-';
    text += kHex[bytes[i] >> 4];
    text += kHex[bytes[i] & 0x0F];
  }
  return text;
}

int32_t ElfHash(std::string_view text) {
  uint32_t h = 0;
  for (const char c : text) {
    h = (h << 4) + static_cast<unsigned char>(c);
    const uint32_t g = h & 0xF0000000u;
    if (g != 0) h ^= g >> 24;
    h &= ~g;
  }
  return static_cast<int32_t>(h);
}

int32_t NewUniqueNumber() { return ElfHash(NewGuidText()); }

}  // namespace sp
