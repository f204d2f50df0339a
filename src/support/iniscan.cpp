#include "support/iniscan.h"

#include <bit>
#include <cstring>

#include "support/files.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace sp {

namespace {

// Offset of the first CR or LF at or after `from`, or the text's size.
size_t LineEnd(std::string_view text, size_t from) {
  while (from < text.size() && text[from] != '\r' && text[from] != '\n') ++from;
  return from;
}

void AddHeaderIfOne(std::string_view text, size_t start, int32_t lineIndex, TIniScan& scan) {
  const size_t end = LineEnd(text, start);
  if (end - start >= 2 && text[end - 1] == ']') scan.headers.push_back({start, end, lineIndex});
}

}  // namespace

TIniScan ScanIniTextPlain(std::string_view text) {
  TIniScan scan;
  ForEachLine(text, [&](std::string_view line) {
    const size_t start = static_cast<size_t>(line.data() - text.data());
    const size_t end = start + line.size();
    if (line.empty()) ++scan.blanks;
    else if (line.front() == ';') ++scan.comments;
    else if (line.front() == '[') AddHeaderIfOne(text, start, scan.lines, scan);
    const bool crLf = end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n';
    if (!crLf) scan.onlyCrLf = false;
    ++scan.lines;
  });
  return scan;
}

#if defined(__SSE2__)

namespace {

// Bit masks of one 64-byte block: CR, LF, and the bytes that may start a
// comment or a header (";" and "[" share all bits but 0x20 and 0x40, so one
// compare finds both, with "{" and ESC as harmless extras).
struct TMasks {
  uint64_t cr = 0, lf = 0, special = 0;
};

inline __attribute__((always_inline)) TMasks Classify(const char* p) {
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i folded = _mm_set1_epi8(';' & 0x9F);
  const __m128i fold = _mm_set1_epi8(static_cast<char>(0x9F));
  TMasks m;
  for (int i = 0; i < 4; ++i) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
    const auto bits = [&](__m128i eq) {
      return static_cast<uint64_t>(static_cast<uint16_t>(_mm_movemask_epi8(eq))) << (16 * i);
    };
    m.cr |= bits(_mm_cmpeq_epi8(chunk, cr));
    m.lf |= bits(_mm_cmpeq_epi8(chunk, lf));
    m.special |= bits(_mm_cmpeq_epi8(_mm_and_si128(chunk, fold), folded));
  }
  return m;
}

// The 64-byte loop; inlined into a plain and a hardware-popcount variant.
inline __attribute__((always_inline)) TIniScan ScanBlocks(std::string_view text) {
  TIniScan scan;
  const size_t size = text.size();
  uint64_t carryCr = 0;   // the previous block's last byte was CR
  uint64_t carryEnd = 1;  // the previous block's last byte ended a break (the text start counts as one)
  char tail[64];
  for (size_t base = 0; base < size; base += 64) {
    const size_t count = size - base < 64 ? size - base : 64;
    const char* p = text.data() + base;
    if (count < 64) {
      std::memset(tail, 0, sizeof tail);
      std::memcpy(tail, p, count);
      p = tail;
    }
    const uint64_t valid = count == 64 ? ~uint64_t{0} : (uint64_t{1} << count) - 1;
    const TMasks m = Classify(p);
    const uint64_t nextLf = base + 64 < size && text[base + 64] == '\n' ? 1 : 0;
    const uint64_t crBefore = (m.cr << 1) | carryCr;
    const uint64_t lfAfter = (m.lf >> 1) | (nextLf << 63);
    const uint64_t breakStart = m.cr | (m.lf & ~crBefore);
    const uint64_t breakEnd = m.lf | (m.cr & ~lfAfter);
    const uint64_t lineStart = ((breakEnd << 1) | carryEnd) & valid;
    if ((m.lf & ~crBefore) != 0 || (m.cr & ~lfAfter) != 0) scan.onlyCrLf = false;

    const int32_t linesBefore = scan.lines;
    scan.lines += std::popcount(breakStart);
    scan.blanks += std::popcount(lineStart & breakStart);
    for (uint64_t starts = lineStart & m.special; starts != 0; starts &= starts - 1) {
      const int bit = std::countr_zero(starts);
      const size_t at = base + static_cast<size_t>(bit);
      if (text[at] == ';') {
        ++scan.comments;
      } else if (text[at] == '[') {
        const uint64_t below = (uint64_t{1} << bit) - 1;
        AddHeaderIfOne(text, at, linesBefore + std::popcount(breakStart & below), scan);
      }
    }
    carryCr = m.cr >> 63;
    carryEnd = breakEnd >> 63;
  }
  if (size > 0 && text[size - 1] != '\r' && text[size - 1] != '\n') {
    ++scan.lines;  // the last line has no break
    scan.onlyCrLf = false;
  }
  return scan;
}

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
__attribute__((target("popcnt"))) TIniScan ScanBlocksWithPopcnt(std::string_view text) { return ScanBlocks(text); }
#define SP_HAVE_POPCNT_VARIANT 1
#endif

}  // namespace

TIniScan ScanIniText(std::string_view text) {
#ifdef SP_HAVE_POPCNT_VARIANT
  static const bool popcnt = __builtin_cpu_supports("popcnt");
  if (popcnt) return ScanBlocksWithPopcnt(text);
#endif
  return ScanBlocks(text);
}

#else

TIniScan ScanIniText(std::string_view text) { return ScanIniTextPlain(text); }

#endif

}  // namespace sp
